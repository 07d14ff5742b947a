#include "ToolRunner.h"
#include "settings/FactoryConfigBytes.h"
#include "support/FullFileSystem.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject show(const QString& path)
{
    const ToolResult result = runTool({"config", "show", path});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << result.out.toStdString();
    return document.object();
}

TEST(VexloToolConfig, DefaultsShowAndSetRoundTrip)
{
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_EQ(runTool({"config", "defaults", path}).exitCode, 0);
    EXPECT_EQ(readAll(path).toHex(' '), kFactoryConfigBin.toHex(' '));

    const QJsonObject factory = show(path);
    EXPECT_EQ(factory.size(), 107 + 1); // every field, and checksum_valid
    EXPECT_EQ(factory["cfg_ver"].toInt(), 22310);
    EXPECT_EQ(factory["szPlateNumber"].toString(), QStringLiteral("Zuva"));
    EXPECT_EQ(factory["wifi_password"].toString(), QStringLiteral("40404040"));
    EXPECT_EQ(factory["dummy00"].toArray().size(), 19);
    EXPECT_EQ(factory["osd_plate_flag"].toInt(), 0);
    EXPECT_TRUE(factory["checksum_valid"].toBool());

    const ToolResult set =
        runTool({"config", "set", path, "szPlateNumber=AB12CD34EF", "gsen_x_threshold=-120",
                 "wifi_ssid=My Car", "motionBlock=0x300", "ADAS_Car=2"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    // Each value lands at its field's offset in the file.
    const QByteArray setBytes = readAll(path);
    ASSERT_EQ(setBytes.size(), 500);
    EXPECT_EQ(setBytes.mid(256, 8), QByteArray("AB12CD34"));
    EXPECT_EQ(setBytes.mid(88, 4).toHex(), "88ffffff");
    EXPECT_EQ(setBytes.mid(356, 16), QByteArray("My Car").leftJustified(16, '\0'));
    EXPECT_EQ(setBytes.mid(124, 4).toHex(), "00030000");
    EXPECT_EQ(setBytes.mid(396, 1).toHex(), "02");
    EXPECT_EQ(setBytes.mid(156, 4).toHex(), "01000000") << "osd_plate_flag";
    const QJsonObject changed = show(path);
    EXPECT_EQ(changed["szPlateNumber"].toString(), QStringLiteral("AB12CD34")); // cut to 8
    EXPECT_EQ(changed["gsen_x_threshold"].toInt(), -120);
    EXPECT_EQ(changed["wifi_ssid"].toString(), QStringLiteral("My Car"));
    EXPECT_EQ(changed["motionBlock"].toInt(), 0x300);
    EXPECT_EQ(changed["ADAS_Car"].toInt(), 2);
    EXPECT_EQ(changed["osd_plate_flag"].toInt(), 1) << "completed as on save";
    EXPECT_TRUE(changed["checksum_valid"].toBool());
    EXPECT_EQ(changed["vid_saturation"], factory["vid_saturation"]);

    // A file whose checksum is off shows as such.
    QByteArray bytes = readAll(path);
    bytes[100] = char(bytes[100] ^ 1);
    const QString damaged = card.write("damaged.bin", bytes);
    EXPECT_FALSE(show(damaged)["checksum_valid"].toBool());
}

TEST(VexloToolConfig, SampleCardSettingsRoundTrip)
{
    const QDir sampleCard(qEnvironmentVariable("VEXLO_BINARY_DIR") + "/sample-card");
    const QByteArray cardConfig = readAll(sampleCard.filePath("config.bin"));
    ASSERT_EQ(cardConfig.size(), 500) << "the sample card is made by the build";
    EXPECT_EQ(cardConfig.toHex(' '), kFactoryConfigBin.toHex(' '));
    EXPECT_EQ(readAll(sampleCard.filePath("timeset.cfg")).size(), 19);

    TempDir work;

    const QString copy = work.write("config.bin", cardConfig);
    ASSERT_EQ(runTool({"config", "set", copy, "speed_disp_unit=0"}).exitCode, 0);
    ASSERT_EQ(runTool({"config", "set", copy, "speed_disp_unit=1", "szPlateNumber="}).exitCode, 0);
    const QJsonObject back = show(copy);
    EXPECT_EQ(back["szPlateNumber"].toString(), QString());
    EXPECT_TRUE(back["checksum_valid"].toBool());
    // Only the car number, its flag (already 0) and the checksum differ from the card's file.
    QByteArray expected = cardConfig;
    expected.replace(256, 8, QByteArray(8, '\0'));
    const QByteArray written = readAll(copy);
    EXPECT_EQ(written.mid(4), expected.mid(4));
    EXPECT_EQ(written.left(2), cardConfig.left(2));
}

TEST(VexloToolConfig, BadInputChangesNothing)
{
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_EQ(runTool({"config", "defaults", path}).exitCode, 0);
    const QByteArray before = readAll(path);

    const struct
    {
        QStringList args;
        const char* named; // what the message must name
    } cases[] = {
        {{"set", path, "ADAS_Car=1", "no_such_field=1"}, "no_such_field"},
        {{"set", path, "ADAS_Car=256"}, "ADAS_Car"},
        {{"set", path, "cfg_ver=-1"}, "cfg_ver"},
        {{"set", path, "debug_mode=4294967296"}, "debug_mode"},
        {{"set", path, "time_gmt=ten"}, "time_gmt"},
        {{"set", path, "time_gmt=0x-5"}, "time_gmt"},
        {{"set", path, "wifi_ssid=caf\u00e9"}, "wifi_ssid"},
        {{"set", path, "dummy00=1,2,3"}, "dummy00"},
        {{"set", path, "=5"}, "=5"},
        {{"set", path}, "set"},
        {{"show", card.write("short.bin", "abc")}, "short.bin"},
        {{"frobnicate"}, "frobnicate"},
    };
    for (const auto& c : cases) {
        const ToolResult result = runTool(QStringList{"config"} + c.args);
        EXPECT_EQ(result.exitCode, 2) << c.named;
        EXPECT_TRUE(result.err.contains(c.named)) << result.err.toStdString();
        EXPECT_EQ(readAll(path), before) << c.named;
    }
}

// vexlo-tool volumes with a stand-in for lsblk first in PATH.
ToolResult volumesWithLsblk(const TempDir& tools, const QByteArray& script)
{
    const QString lsblk = tools.write("bin/lsblk", "#!/bin/sh\n" + script + "\n");
    QFile::setPermissions(lsblk, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", tools.filePath("bin") + ':' + environment.value("PATH"));
    return runTool({"volumes"},
                   [&](QProcess& process) { process.setProcessEnvironment(environment); });
}

TEST(VexloToolVolumes, LsblkFailureIsAFailureNotAnEmptyList)
{
    TempDir tools;
    const struct
    {
        QByteArray script;
        const char* reason; // part of the message
    } cases[] = {
        {"echo 'lsblk: failed to access sysfs directory' >&2; exit 1", "failed to access sysfs"},
        {"echo 'NAME MOUNTPOINT'", "no JSON"},
        {"echo '{\"devices\": []}'", "lsblk"},
        {"exec /nonexistent/lsblk", "exited with status"},
    };
    for (const auto& c : cases) {
        const ToolResult result = volumesWithLsblk(tools, c.script);
        EXPECT_EQ(result.exitCode, 2) << c.script.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith("volumes: cannot list volumes: "))
            << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.reason)) << result.err.toStdString();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
    }

    // No USB volume is no failure: nothing printed, exit 0.
    const ToolResult none = volumesWithLsblk(tools, "echo '{\"blockdevices\": []}'");
    EXPECT_EQ(none.exitCode, 0) << none.err.toStdString();
    EXPECT_TRUE(none.out.isEmpty());
}

TEST(VexloToolVolumes, SeparatorsInNamesAreEscaped)
{
    TempDir tools;
    const QString mount = tools.mkdir("media/my\tcard\\1");
    const QByteArray mountJson = mount.toUtf8().replace('\\', "\\\\").replace('\t', "\\t");
    const ToolResult result = volumesWithLsblk(
        tools, "cat <<'EOF'\n{\"blockdevices\": [{\"name\": \"sdb1\", \"path\": \"/dev/sdb1\", "
               "\"label\": \"CAM\\tA\\nB\", \"mountpoint\": \"" +
                   mountJson +
                   "\", \"rm\": true, \"hotplug\": true, \"tran\": \"usb\", \"model\": "
                   "\"Reader\", \"size\": 1977614336, \"ro\": false, \"type\": \"part\"}]}\nEOF");
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QByteArray escapedMount = mount.toUtf8();
    escapedMount.replace('\\', "\\\\").replace('\t', "\\t");
    EXPECT_EQ(result.out, "[1.9 GB] CAM\\tA\\nB <Reader>\t/dev/sdb1\t" + escapedMount + '\n');
}

TEST(VexloToolClock, WritesTheClockFile)
{
    TempDir card;
    const QString path = card.write("timeset.cfg", "0000/00/00 00:00:00 and more");
    const ToolResult result =
        runTool({"clock", path, "--date", "2017-03-03", "--time", "07:05:09"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("2017/03/03 07:05:09"));

    ASSERT_EQ(runTool({"clock", path, "--time", "23:59:58"}).exitCode, 0);
    const QByteArray now = readAll(path);
    EXPECT_EQ(now.size(), 19);
    EXPECT_TRUE(now.endsWith(" 23:59:58"));

    // Now, in local time: at UTC-09:30 the hours and minutes (and for part of the day the
    // date) differ from UTC, so a clock written in UTC shows.
    QProcessEnvironment farWest = QProcessEnvironment::systemEnvironment();
    farWest.insert("TZ", "<-0930>+09:30");
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    ASSERT_EQ(
        runTool({"clock", path}, [&](QProcess& process) { process.setProcessEnvironment(farWest); })
            .exitCode,
        0);
    const qint64 after = QDateTime::currentSecsSinceEpoch();
    const QByteArray local = readAll(path);
    const QDateTime written(QDate::fromString(QString::fromLatin1(local.left(10)), u"yyyy/MM/dd"),
                            QTime::fromString(QString::fromLatin1(local.mid(10)), u" HH:mm:ss"),
                            Qt::UTC);
    ASSERT_TRUE(written.isValid()) << local.toStdString();
    const qint64 writtenUtc = written.addSecs(9 * 3600 + 30 * 60).toSecsSinceEpoch();
    EXPECT_GE(writtenUtc, before) << local.toStdString();
    EXPECT_LE(writtenUtc, after) << local.toStdString();

    for (const QStringList& bad : {QStringList{"clock"}, QStringList{"clock", path, "--date"},
                                   QStringList{"clock", path, "--date", "2017-02-30"},
                                   QStringList{"clock", path, "--time", "7:5:9"},
                                   QStringList{"clock", card.filePath("missing/timeset.cfg")}})
        EXPECT_EQ(runTool(bad).exitCode, 2) << bad.join(' ').toStdString();
    EXPECT_EQ(readAll(path), local);
}

struct stat statOf(const QString& path)
{
    struct stat status = {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return status;
}

// The tool in a child whose files cannot grow past `limit` bytes: writing a file fails for
// real (EFBIG, SIGXFSZ ignored), as on a card with no room left.
std::function<void(QProcess&)> fileSizeLimit(rlim_t limit)
{
    return [limit](QProcess& process) {
        process.setChildProcessModifier([limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit fileSize = {limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &fileSize);
        });
    };
}

TEST(VexloToolFiles, AFailedWriteKeepsTheOldFile)
{
    TempDir card;
    const QString config = card.filePath("config.bin");
    const QString clock = card.filePath("timeset.cfg");
    ASSERT_EQ(runTool({"config", "defaults", config}).exitCode, 0);
    ASSERT_EQ(runTool({"clock", clock, "--date", "2017-03-03", "--time", "07:05:09"}).exitCode, 0);
    const QByteArray oldConfig = readAll(config);
    const QByteArray oldClock = readAll(clock);

    for (const QStringList& args : {QStringList{"config", "set", config, "ADAS_Car=1"},
                                    QStringList{"config", "defaults", config},
                                    QStringList{"clock", clock, "--date", "2024-01-31"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolResult result = runTool(args, fileSizeLimit(10));
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains("File too large")) << result.err.toStdString();
    }
    EXPECT_EQ(readAll(config), oldConfig);
    EXPECT_EQ(readAll(clock), oldClock);
    EXPECT_EQ(QDir(card.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"config.bin", "timeset.cfg"}));
}

// The sequence of a full card, as a user would meet it.
TEST(VexloToolFiles, AFullCardKeepsItsSettings)
{
    FullFileSystem card;
    if (!card.isMounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    const QString config = card.filePath("config.bin");
    ASSERT_EQ(runTool({"config", "defaults", config}).exitCode, 0);
    const QByteArray before = readAll(config);
    card.fill();

    const ToolResult set = runTool({"config", "set", config, "ADAS_Car=1"});
    EXPECT_EQ(set.exitCode, 2);
    EXPECT_TRUE(set.err.contains("No space left on device")) << set.err.toStdString();
    EXPECT_EQ(readAll(config), before);
    EXPECT_EQ(runTool({"clock", card.filePath("timeset.cfg")}).exitCode, 2);
    EXPECT_EQ(runTool({"config", "defaults", card.filePath("other.bin")}).exitCode, 2);
    EXPECT_EQ(QDir(card.filePath(".")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"config.bin", "filler"}));
}

TEST(VexloToolFiles, OddFilesAreRefusedAtOnceAndLeftAlone)
{
    TempDir card;
    const QString fifo = card.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString device = card.filePath("device");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0644, makedev(1, 3)), 0);
    }
    const QString defaults = card.filePath("defaults.bin");
    ASSERT_EQ(runTool({"config", "defaults", defaults}).exitCode, 0);
    const QString longer = card.write("long.bin", readAll(defaults) + 'x');
    const QString huge = card.write("huge.bin", QByteArray(1 << 20, '\x11'));

    const struct
    {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"config", "show", fifo}, "it is a FIFO (named pipe), not a regular file"},
        {{"config", "set", fifo, "ADAS_Car=1"}, "FIFO"},
        {{"config", "defaults", fifo}, "FIFO"},
        {{"clock", fifo}, "FIFO"},
        {{"config", "show", card.path()}, "it is a folder, not a regular file"},
        {{"config", "set", longer, "ADAS_Car=1"}, "it holds 501 bytes"},
        {{"config", "set", huge, "ADAS_Car=1"}, "it holds 1048576 bytes"},
        {{"config", "defaults", device}, "it is a device, not a regular file"},
        {{"clock", device}, "device"},
    };
    for (const auto& c : cases) {
        if (c.args.contains(device) && !root)
            continue;
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolResult result = runTool(c.args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
    }
    EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));
    if (root) {
        EXPECT_TRUE(S_ISCHR(statOf(device).st_mode));
    }
    EXPECT_EQ(readAll(longer), readAll(defaults) + 'x');
    EXPECT_EQ(readAll(huge), QByteArray(1 << 20, '\x11'));
}

// Every command's output is checked: one that cannot be written all is a failure.
TEST(VexloToolOutput, AnOutputThatCannotBeWrittenIsAFailure)
{
    TempDir card;
    const QString config = card.filePath("config.bin");
    ASSERT_EQ(runTool({"config", "defaults", config}).exitCode, 0);
    const QString sampleCard = qEnvironmentVariable("VEXLO_BINARY_DIR") + "/sample-card";
    const QString recording = QString::fromUtf8(
        runTool({"scan", sampleCard}).out.split('\t').value(7).split('\n').value(0));
    ASSERT_TRUE(recording.endsWith(".MP4")) << "the sample card is made by the build";

    const auto toDevFull = [](QProcess& process) {
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    };
    for (const QStringList& args :
         {QStringList{"scan", sampleCard}, QStringList{"extract", recording},
          QStringList{"extract", recording, "--format", "json"},
          QStringList{"config", "show", config}, QStringList{"--help"},
          QStringList{"clock", "--help"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolResult result = runTool(args, toDevFull);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "vexlo-tool: cannot write the output: No space left on device\n");
    }
    // A command with nothing to print has nothing to lose.
    EXPECT_EQ(runTool({"config", "defaults", config}, toDevFull).exitCode, 0);
}

} // namespace
