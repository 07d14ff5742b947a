#include "ClockedPlayer.h"

#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Media time runs four times faster than real time; so do the controller's delays.
constexpr double kTimeScale = 0.25;
// Real timers are late by a few milliseconds on a busy machine, which is four times more in
// media time: the gap left is checked against three frames, and a first correction may be
// followed by a small second one.
constexpr double kLooseGapMs = 100;

// A front/rear pair playing in two clocked players, 60 s long.
struct Pair
{
    Pair(int64_t masterSeekMs, int64_t partnerSeekMs)
    {
        master.setOther(&partner);
        partner.setOther(&master);
        master.seekLatencyMs = masterSeekMs;
        partner.seekLatencyMs = partnerSeekMs;
        list.addMedia(VXLMedia::mediaWithPath("/card/alwa_20230415_093012_F.MP4"));
        list.addMedia(VXLMedia::mediaWithPath("/card/alwa_20230415_093012_R.MP4"));
        controller.setTimeScale(kTimeScale);
        EXPECT_TRUE(controller.playAtIndex(0));
        EXPECT_TRUE(QTest::qWaitFor([this] {
            return !controller.waitingForPlayStart() && master.isPlaying() && partner.isPlaying();
        }));
    }
    // Waits for the alignment after a move and answers the gap it left, as the players tell.
    double alignedGap()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return aligned.count() > 0; }, 10000));
        return double(master.time().intValue() - partner.time().intValue());
    }

    ClockedPlayer master{kTimeScale};
    ClockedPlayer partner{kTimeScale};
    VXLMediaList list;
    VXLPlayInfo playInfo;
    VXLPlaybackView view;
    VXLPlaybackController controller{&master, &partner, &list, &playInfo, &view};
    QSignalSpy aligned{&controller, &VXLPlaybackController::partnerAligned};
};

// After a slider move both players seek at once and land at their own moments: the partner
// is brought to the master, each gap in its own way.
TEST(PartnerAlignment, APartnerThatLandsAwayFromTheMasterIsBroughtToIt)
{
    enum Correction { MeetAhead, Hold, Nudge };
    struct Case
    {
        const char* name;
        int64_t masterSeekMs;
        int64_t partnerSeekMs;
        Correction first;
    };
    const Case cases[] = {
        {"lands 400 ms behind: sent ahead, met there", 100, 500, MeetAhead},
        {"lands 400 ms ahead: waits for the master", 500, 100, Hold},
        {"lands 40 ms behind: a brief faster run", 240, 280, Nudge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair(c.masterSeekMs, c.partnerSeekMs);
        pair.controller.videoPositionSliderMoved(0.5);
        EXPECT_LT(std::abs(pair.alignedGap()), kLooseGapMs);
        ASSERT_FALSE(pair.partner.seeks.isEmpty());
        switch (c.first) {
        case MeetAhead: {
            ASSERT_GE(pair.partner.seeks.size(), 2);
            // Aimed where the master would be once the seek had landed, not where it was.
            const ClockedPlayer::Seek& aimed = pair.partner.seeks[1];
            EXPECT_GT(aimed.targetMs, aimed.otherMs + c.partnerSeekMs);
            EXPECT_GT(pair.partner.pauses, 0) << "waits there for the master";
            break;
        }
        case Hold:
            EXPECT_EQ(pair.partner.seeks.size(), 1) << "no seek: a seek would land anywhere";
            EXPECT_GT(pair.partner.pauses, 0);
            break;
        case Nudge:
            EXPECT_EQ(pair.partner.seeks.size(), 1);
            ASSERT_GE(pair.partner.rates.size(), 2);
            EXPECT_GT(pair.partner.rates[1], 1.0f) << "faster to catch up";
            break;
        }
        EXPECT_EQ(pair.partner.rate(), 1.0f) << "back to the master's rate";
        EXPECT_TRUE(pair.partner.isPlaying());
    }
}

TEST(PartnerAlignment, AStandingMasterIsMetExactly)
{
    Pair pair(200, 200);
    pair.controller.clickPlayButton();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pair.playInfo.isPlaying(); }));
    ASSERT_FALSE(pair.master.isPlaying());
    pair.partner.setTime(VLCTime::timeWithInt(pair.master.time().intValue() + 2000));
    pair.controller.syncVideoPositionDelay(0.1);
    EXPECT_EQ(pair.alignedGap(), 0);
    ASSERT_FALSE(pair.partner.seeks.isEmpty());
    EXPECT_EQ(pair.partner.seeks.last().targetMs, pair.master.time().intValue());
    EXPECT_FALSE(pair.partner.isPlaying());
}

} // namespace
