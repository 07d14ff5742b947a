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

// A move while the pair plays: both stand until both seeks have landed, whichever lands
// last, and start together; to the user the pair plays on throughout.
TEST(PartnerAlignment, AMoveStartsBothTogetherOnceBothSeeksHaveLanded)
{
    const int64_t latencies[][2] = {{100, 500}, {500, 100}};
    for (const auto& latency : latencies) {
        SCOPED_TRACE(latency[0]);
        Pair pair(latency[0], latency[1]);
        QSignalSpy shownPlaying(&pair.playInfo, &VXLPlayInfo::isPlayingChanged);
        pair.controller.videoPositionSliderMoved(0.5);
        EXPECT_FALSE(pair.master.isPlaying());
        EXPECT_FALSE(pair.partner.isPlaying());
        EXPECT_LT(std::abs(pair.alignedGap()), kLooseGapMs);
        EXPECT_EQ(pair.partner.seeks.size(), 1) << "no correction needed";
        EXPECT_TRUE(pair.master.isPlaying() && pair.partner.isPlaying());
        EXPECT_EQ(shownPlaying.count(), 0) << "the play button stayed as it was";
    }

    // Paused by the user while the two stand: both stay standing, shown paused.
    {
        Pair pair(400, 400);
        pair.controller.videoPositionSliderMoved(0.5);
        pair.controller.clickPlayButton();
        QTest::qWait(int(1000 * kTimeScale));
        EXPECT_FALSE(pair.master.isPlaying());
        EXPECT_FALSE(pair.partner.isPlaying());
        EXPECT_FALSE(pair.playInfo.isPlaying());
    }
    // A double click on the recording meanwhile plays on from the move, as it does while the
    // pair plays, instead of taking it back to its start as for a paused recording.
    Pair pair(400, 400);
    pair.controller.videoPositionSliderMoved(0.5);
    pair.controller.changeAndPlay(0);
    pair.alignedGap();
    EXPECT_GE(pair.master.time().intValue(), 30000);
}

// A partner that stands away from a playing master is brought to it, each gap in its own
// way.
TEST(PartnerAlignment, APartnerAwayFromAPlayingMasterIsBroughtToIt)
{
    enum Correction { MeetAhead, Hold, Nudge };
    struct Case
    {
        const char* name;
        // Where the partner is sent, from the master's time then; its seek takes 200 ms,
        // while the master plays on.
        int64_t sentToMs;
        Correction first;
    };
    constexpr int64_t kSeekMs = 200;
    const Case cases[] = {
        {"lands 400 ms behind: sent ahead, met there", kSeekMs - 400, MeetAhead},
        {"lands 400 ms ahead: waits for the master", kSeekMs + 400, Hold},
        {"lands 40 ms behind: a brief faster run", kSeekMs - 40, Nudge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair(kSeekMs, kSeekMs);
        pair.partner.setTime(VLCTime::timeWithInt(pair.master.time().intValue() + c.sentToMs));
        pair.controller.syncVideoPositionDelay(0);
        EXPECT_LT(std::abs(pair.alignedGap()), kLooseGapMs);
        ASSERT_FALSE(pair.partner.seeks.isEmpty());
        switch (c.first) {
        case MeetAhead: {
            ASSERT_GE(pair.partner.seeks.size(), 2);
            // Aimed where the master would be once the seek had landed, not where it was.
            const ClockedPlayer::Seek& aimed = pair.partner.seeks[1];
            EXPECT_GT(aimed.targetMs, aimed.otherMs + kSeekMs);
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
