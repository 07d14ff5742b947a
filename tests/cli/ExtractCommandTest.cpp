#include "ToolRunner.h"

#include "drivedata/RecordingBytes.h"
#include "support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

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

} // namespace
