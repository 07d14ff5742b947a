#include "ToolRunner.h"

#include "drivedata/RecordingBytes.h"
#include "support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

using testrecording::Record;

// A fix in the southern and western hemispheres, then 10 knots, in the first record; the
// second record switches to miles; the third has no text, so its position index is past
// the two fixes and the position columns stay empty.
QByteArray recordingBytes()
{
    return testrecording::recording({{0, 0, 256, '9',
                                      "$GNGGA,1,3733.98,S,05830.00,W,1,07,0.95,1,M,1,M,,*00\r\n"
                                      "$GNRMC,083000.000,A,,,,,10.0,0,150423,,*00\r\n"},
                                     {64, -384, 0, 'M', {}},
                                     {0, 0, 0, 'M', {}}})
        .bytes;
}

TEST(ExtractCommand, PrintsWhatThePlayerShows)
{
    TempDir dir;
    const QString path = dir.write("alwa_20230415_083000_F.MP4", recordingBytes());
    const ToolResult result = runTool({QStringLiteral("extract"), path});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "record,gx,gy,gz,lat,lon,speed,unit,hdop,satellites\n"
                          "0,0.00,0.00,1.00,-37.566333,-58.500000,0,km/h,0.9,0\n"
                          "1,0.25,-1.50,0.00,-37.566333,-58.500000,11,mi/h,0.9,0\n"
                          "2,0.00,0.00,0.00,,,,,0.9,0\n");

    const QString noFixes =
        dir.write("b.MP4", testrecording::recording({{0, 0, 0, '9', "$PUBX*00\r\n"}}).bytes);
    EXPECT_EQ(runTool({QStringLiteral("extract"), noFixes}).out,
              "record,gx,gy,gz,lat,lon,speed,unit,hdop,satellites\n0,0.00,0.00,0.00,,,,,,\n");
}

TEST(ExtractCommand, GpxAndJson)
{
    TempDir dir;
    const QString path = dir.write("a.MP4", recordingBytes());

    const ToolResult gpx = runTool(
        {QStringLiteral("extract"), path, QStringLiteral("--format"), QStringLiteral("gpx")});
    EXPECT_EQ(gpx.exitCode, 0);
    // Only the fix after the valid RMC counts; the GGA before it had no valid status yet.
    EXPECT_EQ(gpx.out.count("<trkpt "), 1);
    EXPECT_TRUE(gpx.out.contains("<trkpt lat=\"-37.566333\" lon=\"-58.500000\">"
                                 "<time>2023-04-15T08:30:00.000Z</time><speed>5.144</speed>"));

    const ToolResult json =
        runTool({QStringLiteral("extract"), path, QStringLiteral("--format=json")});
    EXPECT_EQ(json.exitCode, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json.out, &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(root.value(u"gsensors").toArray().size(), 3);
    EXPECT_EQ(root.value(u"gpsBlocks").toArray().size(), 3);
    EXPECT_EQ(root.value(u"fixes").toArray().size(), 2);
}

TEST(ExtractCommand, Failures)
{
    TempDir dir;
    testrecording::Options otherBrand;
    otherBrand.brand = "isom";
    const QString plain = dir.write("plain.mp4", testrecording::recording({{}}, otherBrand).bytes);
    const QString recording = dir.write("a.MP4", recordingBytes());
    struct FailureCase
    {
        QStringList args;
        int exitCode;
        const char* message;
    };
    const FailureCase cases[] = {
        {{plain}, 1, "no drive data track"},
        {{dir.filePath("missing.MP4")}, 2, "cannot read"},
        {{dir.path()}, 2, "cannot read"},
        {{}, 2, "expected one recording"},
        {{recording, QStringLiteral("--format"), QStringLiteral("xml")}, 2, "unknown format"},
        {{recording, recording}, 2, "unexpected argument"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.message);
        const ToolResult result = runTool(QStringList{QStringLiteral("extract")} + c.args);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
    }
}

// Records announced in the chunk table and not read are never passed over in silence; a
// track with none readable is no data.
TEST(ExtractCommand, PartialAndEmptyResultsAreReported)
{
    TempDir dir;
    testrecording::Options allUnreadable;
    allUnreadable.leadingOffsets = {0xffffff00u, 0xffffff00u, 0x7fffffffu};
    testrecording::Options halfUnreadable;
    halfUnreadable.leadingOffsets = {0xffffff00u, 0xffffff00u};
    testrecording::Options empty;
    empty.countOverride = true;
    const struct
    {
        const char* name;
        QByteArray bytes;
        int exitCode;
        int rows;
        const char* message;
    } cases[] = {
        {"every entry unreadable", testrecording::recording({}, allUnreadable).bytes, 1, 0,
         "extract: none of the 3 records announced in the chunk table could be read\n"},
        {"half of them", testrecording::recording({{}, {}}, halfUnreadable).bytes, 0, 2,
         "extract: 2 of 4 records announced in the chunk table could not be read\n"},
        {"an empty table", testrecording::recording({{}}, empty).bytes, 1, 0,
         "extract: the drive data track holds no records\n"},
        {"every record read", recordingBytes(), 0, 3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write("a.MP4", c.bytes);
        for (const char* format : {"csv", "gpx", "json"}) {
            const ToolResult result = runTool({"extract", path, "--format", format});
            EXPECT_EQ(result.exitCode, c.exitCode);
            EXPECT_EQ(result.err, c.message);
            EXPECT_EQ(result.out.isEmpty(), c.rows == 0) << format;
        }
        EXPECT_EQ(runTool({"extract", path}).out.count('\n'), c.rows ? c.rows + 1 : 0);
    }
}

// A chunk table claiming 2^32-1 entries in a sparse file of 512 MiB (a few kilobytes on disk):
// every entry past the real ones reads as offset 0, a readable chunk. The output stops at a
// day of records at ten a second, and says so.
QString craftedSparseRecording(const TempDir& dir)
{
    testrecording::Recording crafted = testrecording::recording({{}, {}});
    for (const qsizetype field : {crafted.stcoOffset, crafted.stcoOffset + 12})
        crafted.bytes.replace(field, 4, QByteArray(4, '\xff'));
    const QString path = dir.write("crafted.MP4", crafted.bytes);
    QFile file(path);
    EXPECT_TRUE(file.resize(qint64(512) << 20));
    return path;
}

TEST(ExtractCommand, ACraftedTableIsBoundedByWhatARecordingCanHold)
{
    TempDir dir;
    const QString path = craftedSparseRecording(dir);
    const ToolResult result = runTool({"extract", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.count('\n'), 864000 + 1);
    EXPECT_EQ(result.err, "extract: stopped after 864000 records, the most this recording can "
                          "hold; 4294103295 more are announced in its chunk table\n");
}

TEST(ExtractCommand, RunningOutOfMemoryIsAMessageNotACrash)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#endif
    TempDir dir;
    const QString path = craftedSparseRecording(dir);
    // 100 MB of address space starts the tool but cannot hold the lists of 864000 records.
    const ToolResult result = runTool({"extract", path, "--format", "gpx"}, [](QProcess& process) {
        process.setChildProcessModifier([] {
            const rlimit addressSpace = {100u << 20, 100u << 20};
            ::setrlimit(RLIMIT_AS, &addressSpace);
        });
    });
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("not enough memory")) << result.err.toStdString();
}

} // namespace
