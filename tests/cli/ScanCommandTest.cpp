#include "ToolRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Creates an empty file or a folder by its bytes, as another system may have named it.
void createFile(const QByteArray& path, const QByteArray& content = {})
{
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.toStdString();
    ASSERT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
    ::close(fd);
}

// The names in a folder as bytes (QDir would decode them and lose what is not UTF-8).
QByteArrayList entryNames(const QByteArray& folder)
{
    QByteArrayList names;
    if (DIR* handle = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(handle)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.append(entry->d_name);
        }
        ::closedir(handle);
    }
    return names;
}

TEST(VexloToolScan, NamesAreBytesWithSeparatorsEscaped)
{
    TempDir card;
    const QByteArray root = QFile::encodeName(card.path());
    const QByteArray latin1 = root + "/Fahrt M\xfcnchen";
    for (const QByteArray& folder :
         {latin1, root + "/tab\there", root + "/new\nline", root + "/back\\slash"})
        ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    QFile sample(qEnvironmentVariable("VEXLO_BINARY_DIR") +
                 "/sample-card/DCIM/ALWA/alwa_20230415_093012_F.MP4");
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly)) << "the sample card is made by the build";
    createFile(latin1 + "/alwa_20230415_093012_F.MP4", sample.readAll());
    createFile(root + "/tab\there/alwa_20230415_093013_F.MP4");
    createFile(root + "/new\nline/alwa_20230415_093014_F.MP4");
    createFile(root + "/back\\slash/alwa_20230415_093015_F.MP4");
    createFile(root + "/\xff\t\x80lwa_20230415_093016_R.mp4"); // no known prefix: no time

    const ToolResult result = runToolWithBytes({"scan", root});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QByteArray expected =
        "0\talways\trear\t\t\t\xff\\t\x80lwa_20230415_093016_R.mp4\t-\t" + root +
        "/\xff\\t\x80lwa_20230415_093016_R.mp4\n"
        "1\talways\tfront\t2023-04-15\t09:30:12\talwa_20230415_093012_F.MP4\t-\t" +
        latin1 +
        "/alwa_20230415_093012_F.MP4\n"
        "2\talways\tfront\t2023-04-15\t09:30:13\talwa_20230415_093013_F.MP4\t-\t" +
        root +
        "/tab\\there/alwa_20230415_093013_F.MP4\n"
        "3\talways\tfront\t2023-04-15\t09:30:14\talwa_20230415_093014_F.MP4\t-\t" +
        root +
        "/new\\nline/alwa_20230415_093014_F.MP4\n"
        "4\talways\tfront\t2023-04-15\t09:30:15\talwa_20230415_093015_F.MP4\t-\t" +
        root + "/back\\\\slash/alwa_20230415_093015_F.MP4\n";
    EXPECT_EQ(result.out, expected);

    // The printed path opens the file: the drive data of the recording in the Latin-1 folder.
    const QByteArray printed = result.out.split('\n').at(1).split('\t').at(7);
    const ToolResult extracted = runToolWithBytes({"extract", printed});
    EXPECT_EQ(extracted.exitCode, 0) << extracted.err.toStdString();
    EXPECT_TRUE(extracted.out.startsWith("record,gx,gy,gz,"));
    EXPECT_GT(extracted.out.count('\n'), 10);

    const ToolResult missing = runToolWithBytes({"extract", latin1 + "/gone.MP4"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(latin1 + "/gone.MP4")) << "named as the bytes it is";

    // The settings and clock files land under the very name given, not "Fahrt M?nchen".
    const ToolResult defaults = runToolWithBytes({"config", "defaults", latin1 + "/config.bin"});
    EXPECT_EQ(defaults.exitCode, 0) << defaults.err.toStdString();
    const ToolResult clock = runToolWithBytes({"clock", latin1 + "/timeset.cfg"});
    EXPECT_EQ(clock.exitCode, 0) << clock.err.toStdString();
    struct stat status;
    EXPECT_EQ(::stat((latin1 + "/config.bin").constData(), &status), 0);
    EXPECT_EQ(status.st_size, 500);
    EXPECT_EQ(::stat((latin1 + "/timeset.cfg").constData(), &status), 0);
    EXPECT_EQ(status.st_size, 19);
    const ToolResult shown = runToolWithBytes({"config", "show", latin1 + "/config.bin"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_EQ(entryNames(root).size(), 5) << "no folder of another name";
}

TEST(VexloToolScan, SaysHowManyRecordingsTheLimitLeftOut)
{
    // The card, at the scale of the limit: always recordings fill the list, and the
    // event and motion folders after them add one each.
    TempDir card;
    const QByteArray root = QFile::encodeName(card.path());
    for (const char* folder : {"/ALWA", "/EVENT", "/MOTION"})
        ASSERT_EQ(::mkdir((root + folder).constData(), 0755), 0);
    for (int i = 0; i < 15000; ++i)
        createFile(root + QString::asprintf("/ALWA/alwa_20230415_%02d%02d%02d_F.MP4", i / 3600,
                                            i / 60 % 60, i % 60)
                              .toUtf8());
    for (int i = 0; i < 5; ++i) {
        createFile(root + QString::asprintf("/EVENT/event_20230416_0000%02d_F.MP4", i).toUtf8());
        createFile(root + QString::asprintf("/MOTION/motion_20230416_0000%02d_F.MP4", i).toUtf8());
    }
    const ToolResult result = runTool({"scan", card.path()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.count('\n'), 15002);
    EXPECT_EQ(result.err,
              "scan: recording limit reached: 15002 recordings listed, 8 more left out\n");
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
