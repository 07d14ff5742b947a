#include "library/VXLMedia.h"
#include "library/MediaDirectoryWalk.h"

#include <gtest/gtest.h>

namespace {

struct NameCase
{
    const char* fileName;
    int division;
    int direction;
    int year, month, day, hour, minute, second;
};

// The name grammar: each shape, the range bounds and the fallbacks for names that do not fit.
TEST(VXLMedia, ParsesRecordingNames)
{
    const NameCase cases[] = {
        {"alwa_20230415_093012_F.MP4", 0, 0, 2023, 4, 15, 9, 30, 12},
        {"motion_20230415_093012_R.mp4", 1, 1, 2023, 4, 15, 9, 30, 12},
        {"event_20230415_093012_X.MP4", 2, 2, 2023, 4, 15, 9, 30, 12},
        {"alwa_19691231_235959_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0}, // year below 1970
        {"alwa_27010101_000000_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0}, // year above 2700
        {"alwa_27001231_000000_F.MP4", 0, 0, 2700, 12, 31, 0, 0, 0},
        {"alwa_19700101_000000_R.MP4", 0, 1, 1970, 1, 1, 0, 0, 0},
        {"alwa_20231315_093012_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0}, // month 13
        {"alwa_20230400_093012_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0}, // day 0
        {"alwa_20230432_093012_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0}, // day 32
        {"alwa_2023a415_093012_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0}, // month reads as 0
        {"alwa_20230415_246060_F.MP4", 0, 0, 2023, 4, 15, 24, 60, 60},
        {"alwa_20230415_250000_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0},         // hour 25
        {"alwa_20230415_006100_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0},         // minute 61
        {"alwa_20230415_000061_F.MP4", 0, 2, 0, 0, 0, 0, 0, 0},         // second 61
        {"alwa_20230415-093012_F.MP4", 0, 0, 2023, 4, 15, 9, 30, 12},   // separator not examined
        {"alwa_2023 415_093012_F.MP4", 0, 0, 2023, 4, 15, 9, 30, 12},   // leading blank skipped
        {"xxxx_20230415_093012_F.MP4", 0, 0, 0, 0, 0, 0, 0, 0},         // unknown prefix, no time
        {"alwa_20230415_093012_F_x.MP4", 0, 2, 2023, 4, 15, 9, 30, 12}, // 24 chars, no letter
        {"Alwa_20230415_093012_F.MP4", 0, 0, 0, 0, 0, 0, 0, 0}, // prefixes are case-sensitive
        {"alwa_20230415_093012_f.MP4", 0, 2, 2023, 4, 15, 9, 30, 12},
        {"alwa_20230415_09301_F.MP4", 0, 0, 0, 0, 0, 0, 0, 0},      // 21 characters
        {"motion_20230415_093012_F", 1, 0, 2023, 4, 15, 9, 30, 12}, // no extension
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.fileName);
        const VXLMedia media(QStringLiteral("/card/") + QString::fromLatin1(c.fileName));
        EXPECT_EQ(media.mediaDivision(), c.division);
        EXPECT_EQ(media.mediaDirection(), c.direction);
        EXPECT_EQ(media.year(), c.year);
        EXPECT_EQ(media.month(), c.month);
        EXPECT_EQ(media.day(), c.day);
        EXPECT_EQ(media.hour(), c.hour);
        EXPECT_EQ(media.minute(), c.minute);
        EXPECT_EQ(media.second(), c.second);
        EXPECT_FALSE(media.didValidated());
    }
}

TEST(VXLMedia, DerivesNamesAndPathParts)
{
    const VXLMedia media(QStringLiteral("/card/DCIM/./ALWA/alwa_20230415_093012_F.MP4"));
    EXPECT_EQ(media.path(), u"/card/DCIM/ALWA/alwa_20230415_093012_F.MP4");
    EXPECT_EQ(media.dir(), u"/card/DCIM/ALWA");
    EXPECT_EQ(media.mediaName(), u"alwa_20230415_093012_F");
    EXPECT_EQ(media.extension(), u"MP4");
    EXPECT_EQ(media.fileName(), u"alwa_20230415_093012_F.MP4");
    EXPECT_EQ(media.mediaGroupName(), u"alwa_20230415_093012");
    EXPECT_EQ(media.yyyymmddhhmiss(), u"20230415093012");
    EXPECT_EQ(VXLMedia(QStringLiteral("/c/xxxx_20230415_093012_F.MP4")).yyyymmddhhmiss(),
              u"00000000000000");
}

TEST(VXLMedia, CompareDateOrdersByTimeThenModeThenCamera)
{
    auto m = [](const char* name) {
        return VXLMedia(QStringLiteral("/c/") + QLatin1StringView(name));
    };
    // Same second: event before motion before always; front before rear.
    EXPECT_LT(m("event_20230415_093012_F.MP4").compareDate(m("motion_20230415_093012_F.MP4")), 0);
    EXPECT_LT(m("motion_20230415_093012_R.MP4").compareDate(m("alwa_20230415_093012_F.MP4")), 0);
    EXPECT_LT(m("alwa_20230415_093012_F.MP4").compareDate(m("alwa_20230415_093012_R.MP4")), 0);
    EXPECT_GT(m("alwa_20230415_093012_R.MP4").compareDate(m("alwa_20230415_093012_F.MP4")), 0);
    EXPECT_EQ(m("alwa_20230415_093012_F.MP4").compareDate(m("alwa_20230415_093012_F.mp4")), 0);
    // Time first, whatever the mode; a recording without time sorts before all others.
    EXPECT_LT(m("alwa_20230415_093011_R.MP4").compareDate(m("event_20230415_093012_F.MP4")), 0);
    EXPECT_LT(m("alwa_20221231_235959_F.MP4").compareDate(m("alwa_20230101_000000_F.MP4")), 0);
    EXPECT_LT(m("xxxx_20230415_093012_F.MP4").compareDate(m("alwa_19700101_000000_F.MP4")), 0);
}

TEST(VXLMedia, PlayerDirectionRuleLooksAtThePathEnd)
{
    EXPECT_EQ(mediaDirectionForPath(QStringLiteral("/c/alwa_20230415_093012_r.mp4")), 1);
    EXPECT_EQ(mediaDirectionForPath(QStringLiteral("/c/alwa_20230415_093012_F.MP4")), 0);
    EXPECT_EQ(mediaDirectionForPath(QStringLiteral("/c/alwa_20230415_093012_F.avi")), 2);
    EXPECT_EQ(mediaDirectionForPath(QStringLiteral("_F.MP")), 2);
    EXPECT_EQ(mediaDirectionForPath(QString()), 2);
}

// The list's acceptance test: only names that give a front or rear recording pass.
TEST(MediaDirectoryWalk, AcceptsOnlyRecordingNames)
{
    const std::pair<const char*, bool> cases[] = {
        {"/c/alwa_20230415_093012_F.MP4", true},
        {"/c/motion_20230415_093012_R.mp4", true},
        {"/c/event_20230415_093012_R.Mp4", true},
        {"/c/event_20230415_093012_X.MP4", false},     // no camera letter
        {"/c/alwa_20230415_093012_F_x.MP4", false},    // 24 characters, no camera letter
        {"/c/alwa_19691231_235959_F.MP4", false},      // time out of range
        {"/c/xxxx_20230415_093012_F.MP4", true},       // unknown prefix: no time test
        {"/c/._alwa_20230415_093012_F.MP4", true},     // 24 characters, unknown prefix
        {"/c/alwa_20230415_09301_F.MP4", false},       // 21 characters
        {"/c/alwa_20230415_093012_F.MP4.part", false}, // base name too long
    };
    for (const auto& [path, accepted] : cases) {
        SCOPED_TRACE(path);
        const VXLMediaPtr media = MediaDirectoryWalk::createMediaByPath(QString::fromLatin1(path));
        EXPECT_EQ(media != nullptr, accepted);
    }
    const VXLMediaPtr hidden =
        MediaDirectoryWalk::createMediaByPath(QStringLiteral("/c/._alwa_20230415_093012_F.MP4"));
    ASSERT_TRUE(hidden);
    EXPECT_TRUE(hidden->isAlwaysMedia());
    EXPECT_TRUE(hidden->isFrontMedia());
    EXPECT_EQ(hidden->year(), 0);
}

} // namespace
