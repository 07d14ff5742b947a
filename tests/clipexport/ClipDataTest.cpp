#include "clipexport/ClipEncoding.h"
#include "clipexport/ClipSubtitles.h"
#include "drivedata/VXLBlackBoxData.h"

#include "samplecard/DriveRecord.h"
#include "samplecard/RecordingWriter.h"

#include <gtest/gtest.h>

namespace {

using samplecard::DriveRecord;
using samplecard::nmeaSentence;

// Three seconds of records, ten a second: a valid fix at 10 knots with a position in the
// southern and western hemispheres, then 20 knots, then the receiver loses the fix. The G
// values stay (0.25, -1.5, 0).
QList<DriveRecord> threeSeconds()
{
    QList<DriveRecord> records(30);
    for (DriveRecord& record : records) {
        record.x = 64;
        record.y = -384;
        record.z = 0;
    }
    // A block holds 128 bytes: one sentence a record.
    records[0].nmea =
        nmeaSentence("GNRMC,003012.000,A,3733.9800,S,05830.0000,W,10.0,90.0,150423,,");
    records[1].nmea = nmeaSentence("GNGGA,003012.000,3733.9800,S,05830.0000,W,1,09,0.9,30,M,,M,,");
    records[10].nmea =
        nmeaSentence("GNRMC,003013.000,A,3733.9800,S,05830.0000,W,20.0,90.0,150423,,");
    records[20].nmea = nmeaSentence("GNRMC,003014.000,V,,,,,0.0,0.0,150423,,");
    records[20].x = -1;  // -0.004 g
    records[20].y = 127; // 0.496 g
    return records;
}

TEST(ClipSubtitles, OneCuePerRecordWithTheFixOfItsMoment)
{
    VXLBlackBoxData data;
    ASSERT_TRUE(data.extractFromBytes(samplecard::recordingWithoutVideo(threeSeconds())));
    ClipSegment segment;
    segment.master = VXLMedia::mediaWithPath(QStringLiteral("/card/alwa_20230415_093012_F.MP4"));
    segment.from = 0.45;
    segment.to = 2.05;
    segment.length = 3.0;
    segment.clipStart = 10;

    const QList<ClipCue> cues = driveDataCues(data, segment, false);
    ASSERT_EQ(cues.size(), 17); // records 4 to 20
    const struct
    {
        qsizetype cue;
        double start;
        double end;
        const char* text;
    } expected[] = {
        {0, 10.0, 10.05,
         "2023-04-15 09:30:12.4   18 km/h\n-37.566333, -58.500000   G X=+0.25 Y=-1.50 Z=0.00\n"},
        {11, 11.05, 11.15,
         "2023-04-15 09:30:13.5   37 km/h\n-37.566333, -58.500000   G X=+0.25 Y=-1.50 Z=0.00\n"},
        {16, 11.55, 11.6,
         "2023-04-15 09:30:14.0   -- km/h\nno GPS fix   G X=0.00 Y=+0.50 Z=0.00\n"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.cue);
        EXPECT_NEAR(cues[e.cue].start, e.start, 1e-9);
        EXPECT_NEAR(cues[e.cue].end, e.end, 1e-9);
        EXPECT_EQ(cues[e.cue].text, QLatin1StringView(e.text));
    }
    EXPECT_TRUE(driveDataCues(data, segment, true)[11].text.startsWith(
        QLatin1StringView("2023-04-15 09:30:13.5   23 mi/h\n")));

    // A recording without records gives no cues.
    VXLBlackBoxData empty;
    EXPECT_TRUE(driveDataCues(empty, segment, false).isEmpty());
}

TEST(ClipSubtitles, RecordsOfASpanAndTheFileFormats)
{
    const struct
    {
        qsizetype count;
        double length, from, to;
        qsizetype first, end;
    } spans[] = {
        {300, 30, 25, 30, 250, 300},   {300, 30, 0, 0.05, 0, 1}, {300, 30, 29.95, 30, 299, 300},
        {300, 30, 2.35, 2.45, 23, 25}, {300, 30, 0, 40, 0, 300}, {0, 30, 0, 10, 0, 0},
        {300, 0, 0, 10, 0, 0},
    };
    for (const auto& s : spans) {
        SCOPED_TRACE(testing::Message() << s.count << " " << s.from << " " << s.to);
        EXPECT_EQ(recordsBetween(s.count, s.length, s.from, s.to), std::pair(s.first, s.end));
    }

    const QList<ClipCue> cues{{0.1, 0.25, QStringLiteral("a\nb\n")},
                              {3661.5, 3662, QStringLiteral("c\n")}};
    EXPECT_EQ(srtSubtitles(cues), QByteArray("1\n00:00:00,100 --> 00:00:00,250\na\nb\n\n"
                                             "2\n01:01:01,500 --> 01:01:02,000\nc\n\n"));
    const QByteArray ass = assSubtitles(cues, QSize(1920, 540));
    EXPECT_TRUE(ass.contains("PlayResX: 1920\nPlayResY: 540\n"));
    EXPECT_TRUE(ass.contains("\nDialogue: 0,0:00:00.10,0:00:00.25,Data,,0,0,0,,a\\Nb\n"));
    EXPECT_TRUE(ass.endsWith("\nDialogue: 0,1:01:01.50,1:01:02.00,Data,,0,0,0,,c\n"));
}

TEST(ClipEncoding, PictureOfEachLayout)
{
    const QSize hd(1280, 720);
    const QSize fullHd(1920, 1080);
    const QSize small(640, 360);
    const struct
    {
        ClipLayout layout;
        ClipQuality quality;
        QSize main, inset, picture, mainOut, insetOut;
        QPoint insetPos;
    } cases[] = {
        {ClipLayout::SideBySide,
         ClipQuality::Fast,
         hd,
         small,
         {1920, 540},
         {960, 540},
         {960, 540},
         {960, 0}},
        {ClipLayout::SideBySide, ClipQuality::High, hd, small, {2560, 720}, hd, hd, {1280, 0}},
        {ClipLayout::SideBySide,
         ClipQuality::Fast,
         fullHd,
         hd,
         {1920, 540},
         {960, 540},
         {960, 540},
         {960, 0}},
        {ClipLayout::PictureInPicture, ClipQuality::Fast, hd, small, hd, hd, {426, 240}, {834, 20}},
        {ClipLayout::PictureInPicture,
         ClipQuality::High,
         fullHd,
         small,
         fullHd,
         fullHd,
         {640, 360},
         {1250, 30}},
        {ClipLayout::Single, ClipQuality::Fast, small, {}, small, small, {}, {}},
        {ClipLayout::Single, ClipQuality::Fast, fullHd, {}, hd, hd, {}, {}},
        {ClipLayout::Single, ClipQuality::High, fullHd, {}, fullHd, fullHd, {}, {}},
        // Two cameras asked for, one there: that one alone.
        {ClipLayout::SideBySide, ClipQuality::Fast, hd, {}, hd, hd, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << clipLayoutName(c.layout).toStdString() << " "
                     << clipQualityName(c.quality).toStdString() << " " << c.main.width());
        const ClipGeometry g = clipGeometry(c.layout, c.quality, c.main, c.inset);
        EXPECT_EQ(g.picture, c.picture);
        EXPECT_EQ(g.main, c.mainOut);
        EXPECT_EQ(g.inset, c.insetOut);
        EXPECT_EQ(g.insetPos, c.insetPos);
    }
    // Cameras of other shapes side by side: within the sharing width, even, not distorted.
    const ClipGeometry g =
        clipGeometry(ClipLayout::SideBySide, ClipQuality::Fast, hd, QSize(640, 480));
    EXPECT_LE(g.picture.width(), 1920);
    EXPECT_EQ(g.picture.height() % 2, 0);
    EXPECT_NEAR(double(g.inset.width()) / g.inset.height(), 4.0 / 3.0, 0.01);
    EXPECT_NEAR(double(g.main.width()) / g.main.height(), 16.0 / 9.0, 0.01);
}

TEST(ClipEncoding, ProgressLinesInPieces)
{
    ClipProgressParser progress;
    EXPECT_FALSE(progress.feed("frame=12\nout_time_us=1500000\nprog"));
    EXPECT_DOUBLE_EQ(progress.encodedSeconds(), 1.5);
    EXPECT_TRUE(progress.feed("ress=continue\n"));
    EXPECT_FALSE(progress.ended());
    EXPECT_TRUE(progress.feed("out_time_us=N/A\nout_time_us=-40000\nprogress=end\n"));
    EXPECT_DOUBLE_EQ(progress.encodedSeconds(), 1.5);
    EXPECT_TRUE(progress.ended());
    EXPECT_EQ(clipLayoutFromName(QStringLiteral("pip")), ClipLayout::PictureInPicture);
    EXPECT_EQ(clipLayoutFromName(QStringLiteral("side")), std::nullopt);
    EXPECT_EQ(clipQualityFromName(QStringLiteral("high")), ClipQuality::High);
}

} // namespace
