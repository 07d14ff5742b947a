#include "ToolRunner.h"

#include "support/ClipProbe.h"
#include "support/TempDir.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QString sampleRecording(const char* name)
{
    return qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card/DCIM/ALWA/") +
           QLatin1StringView(name);
}

TEST(ClipCommand, ExportsTheSpanAndNamesTheFiles)
{
    TempDir out;
    const QString target = out.filePath(QStringLiteral("incident.mp4"));
    const ToolResult result =
        runTool({QStringLiteral("clip"), sampleRecording("alwa_20230415_093012_R.MP4"),
                 QStringLiteral("--from"), QStringLiteral("5"), QStringLiteral("--to"),
                 QStringLiteral("6.5"), QStringLiteral("--layout"), QStringLiteral("pip"),
                 QStringLiteral("--no-overlay"), QStringLiteral("-o"), target});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QString::fromLocal8Bit(result.out),
              QStringLiteral("%1\n%2.gpx\n%2.csv\n")
                  .arg(target, out.filePath(QStringLiteral("incident"))));
    EXPECT_TRUE(result.err.contains("clip: encoding 1.5 s\n")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("% encoded")) << result.err.toStdString();
    // Picture in picture is the front camera's picture, whichever camera was named.
    const ProbedClip clip = probeClip(target);
    EXPECT_EQ(clip.picture, QSize(1280, 720));
    EXPECT_NEAR(clip.duration, 1.5, 1.5 / 30);
}

TEST(ClipCommand, BadArgumentsAndSpansSayWhat)
{
    TempDir out;
    const QString recording = sampleRecording("alwa_20230415_093012_F.MP4");
    const QString target = out.filePath(QStringLiteral("c.mp4"));
    const QString renamed = out.write(QStringLiteral("my-drive.mp4"), "not a video");
    const struct
    {
        QStringList args;
        const char* says;
    } cases[] = {
        {{recording, "--from", "1", "-o", target}, "expected --from and --to"},
        {{recording, "--from", "1", "--to", "2"}, "expected -o OUT.mp4"},
        {{recording, "--from", "x", "--to", "2", "-o", target}, "--from takes seconds"},
        {{recording, "--from", "1", "--to", "2", "--layout", "grid", "-o", target},
         "unknown layout"},
        {{recording, "--from", "9", "--to", "3", "-o", target}, "before it starts"},
        {{recording, "--from", "50", "--to", "70", "-o", target}, "past the end of the recordings"},
        {{out.filePath("none.MP4"), "--from", "0", "--to", "1", "-o", target}, "no such file"},
        {{renamed, "--from", "0", "--to", "1", "-o", target}, "is not a recording of the card"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const ToolResult result = runTool(QStringList{QStringLiteral("clip")} + c.args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains(c.says)) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList(QStringLiteral("my-drive.mp4")));
}

// Ctrl+C (or a TERM from a script) once ffmpeg is writing stops it and leaves no file.
TEST(ClipCommand, InterruptedLeavesNothing)
{
    TempDir out;
    QProcess tool;
    tool.start(QStringLiteral(VEXLO_TOOL_PATH),
               {QStringLiteral("clip"), sampleRecording("alwa_20230415_093012_F.MP4"),
                QStringLiteral("--from"), QStringLiteral("0"), QStringLiteral("--to"),
                QStringLiteral("60"), QStringLiteral("--quality"), QStringLiteral("high"),
                QStringLiteral("-o"), out.filePath(QStringLiteral("long.mp4"))});
    ASSERT_TRUE(tool.waitForStarted());
    QByteArray err;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            err += tool.readAllStandardError();
            return err.contains("% encoded") || tool.state() == QProcess::NotRunning;
        },
        120000));
    ASSERT_EQ(tool.state(), QProcess::Running) << err.toStdString();
    ::kill(pid_t(tool.processId()), SIGINT);
    ASSERT_TRUE(tool.waitForFinished(30000));
    err += tool.readAllStandardError();
    EXPECT_EQ(tool.exitCode(), 2);
    EXPECT_TRUE(err.contains("clip: interrupted; no file was written")) << err.toStdString();
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
