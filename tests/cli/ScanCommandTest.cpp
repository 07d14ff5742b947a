#include "ToolRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(VexloToolScan, PrintsOneTabSeparatedLinePerRecording)
{
    TempDir card;
    card.write("DCIM/alwa_20230415_093012_F.MP4");
    card.write("DCIM/alwa_20230415_093012_R.MP4");
    card.write("EVENT/event_20230415_093012_F.MP4");
    card.write("MOTION/motion_20230416_235960_R.MP4");
    card.write("._alwa_20230415_093012_F.MP4"); // accepted, but carries no time
    card.write("DCIM/readme.txt");

    const ToolResult result = runTool({"scan", card.path()});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.isEmpty());
    const QString root = card.path();
    const QString expected =
        "0\talways\tfront\t\t\t._alwa_20230415_093012_F.MP4\t-\t" + root +
        "/._alwa_20230415_093012_F.MP4\n"
        "1\tevent\tfront\t2023-04-15\t09:30:12\tevent_20230415_093012_F.MP4\t-\t" +
        root +
        "/EVENT/event_20230415_093012_F.MP4\n"
        "2\talways\tfront\t2023-04-15\t09:30:12\talwa_20230415_093012_F.MP4\talwa_20230415_093012_"
        "R.MP4\t" +
        root +
        "/DCIM/alwa_20230415_093012_F.MP4\n"
        "3\talways\trear\t2023-04-15\t09:30:12\talwa_20230415_093012_R.MP4\talwa_20230415_093012_F."
        "MP4\t" +
        root +
        "/DCIM/alwa_20230415_093012_R.MP4\n"
        "4\tmotion\trear\t2023-04-16\t23:59:60\tmotion_20230416_235960_R.MP4\t-\t" +
        root + "/MOTION/motion_20230416_235960_R.MP4\n";
    EXPECT_EQ(QString::fromUtf8(result.out), expected);
}

TEST(VexloToolScan, EmptyFolderPrintsNothingAndBadFoldersFail)
{
    TempDir card;
    const ToolResult empty = runTool({"scan", card.path()});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.isEmpty());

    for (const QString& bad : {card.filePath("missing"), card.write("file.txt")}) {
        const ToolResult result = runTool({"scan", bad});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1);
        EXPECT_TRUE(result.err.contains(bad.toUtf8()));
    }
    EXPECT_EQ(runTool({"scan"}).exitCode, 2);
    EXPECT_EQ(runTool({"frobnicate"}).exitCode, 2);
}

TEST(VexloTool, EveryCommandHasHelp)
{
    const ToolResult overview = runTool({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    for (const QByteArray& line : overview.out.split('\n')) {
        if (!line.startsWith("  "))
            continue;
        const QString command = QString::fromLatin1(line.trimmed().split(' ').first());
        const ToolResult help = runTool({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command.toStdString();
        EXPECT_TRUE(help.out.startsWith("Usage: vexlo-tool " + command.toLatin1()))
            << command.toStdString();
    }
}

} // namespace
