#include "ScriptedPlayer.h"

#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"

#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr double kTimeScale = 0.02;

struct SliderView : VXLPlaybackView
{
    void setVolumeSliderValue(int volume) override { volumeSlider = volume; }
    void setAudioToggleVisible(bool visible) override { toggleVisible = visible; }
    int volumeSlider = -1;
    bool toggleVisible = false;
};

// A pair (or a front alone) playing in two scripted players; 30-second recordings.
struct PlayingPair
{
    explicit PlayingPair(bool withPartner = true)
    {
        list.addMedia(VXLMedia::mediaWithPath("/card/alwa_20230415_093012_F.MP4"));
        if (withPartner)
            list.addMedia(VXLMedia::mediaWithPath("/card/alwa_20230415_093012_R.MP4"));
        controller.setTimeScale(kTimeScale);
        EXPECT_TRUE(controller.playAtIndex(0));
        EXPECT_TRUE(QTest::qWaitFor([this] { return !controller.waitingForPlayStart(); }));
    }
    void standAt(double master, double partner)
    {
        player1.setPosition(float(master * 1000 / ScriptedPlayer::kLengthMs));
        player2.setPosition(float(partner * 1000 / ScriptedPlayer::kLengthMs));
        playInfo.setPosition(player1.position());
    }
    static double seconds(const ScriptedPlayer& player)
    {
        return double(player.time().intValue()) / 1000;
    }

    ScriptedPlayer player1;
    ScriptedPlayer player2;
    VXLMediaList list;
    VXLPlayInfo playInfo;
    SliderView view;
    VXLPlaybackController controller{&player1, &player2, &list, &playInfo, &view};
};

TEST(PlaybackAdjustments, JumpsMoveBothPlayersToTheMastersTarget)
{
    struct Case
    {
        const char* name;
        double master; // where the master stands
        double partner;
        bool forward;
        double after; // both, at once and after the re-alignment
    };
    const Case cases[] = {
        {"8 s left: both to the end", 22, 22, true, 30},
        {"30 s left: ten seconds on", 0, 0, true, 10},
        {"a partner ahead comes along", 0, 3, true, 10},
        {"7 s played: both to the start", 7, 8, false, 0},
        {"25 s played: ten seconds back", 25, 25, false, 15},
        {"a partner behind comes along", 25, 21, false, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayingPair pair;
        pair.standAt(c.master, c.partner);
        c.forward ? pair.controller.jumpForward() : pair.controller.jumpBackward();
        EXPECT_NEAR(PlayingPair::seconds(pair.player1), c.after, 0.01);
        EXPECT_NEAR(PlayingPair::seconds(pair.player2), c.after, 0.01);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !pair.controller.moving(); }, 1000));
        EXPECT_NEAR(PlayingPair::seconds(pair.player2), c.after, 0.01);
    }
}

TEST(PlaybackAdjustments, SpeedIsOneOrTwoOnBothPlayers)
{
    PlayingPair pair;
    // {step up, expected speed}
    for (const auto& [up, speed] : {std::pair{true, 2}, {true, 2}, {false, 1}, {false, 1}}) {
        up ? pair.controller.increaseSpeed() : pair.controller.decreaseSpeed();
        EXPECT_EQ(pair.playInfo.speed(), speed);
        EXPECT_EQ(pair.player1.rate(), speed);
        EXPECT_EQ(pair.player2.rate(), speed);
    }
}

TEST(PlaybackAdjustments, VolumeMovesInTensWithin0To200AndReachesTheHeardPlayer)
{
    PlayingPair pair;
    // {start, step (+1 up, -1 down), expected}
    for (const auto& [start, step, expected] :
         {std::tuple{70, 1, 80}, {195, 1, 200}, {200, 1, 200}, {5, -1, 0}}) {
        SCOPED_TRACE(start);
        pair.controller.volumeSliderMoved(start);
        step > 0 ? pair.controller.volumeUp() : pair.controller.volumeDown();
        EXPECT_EQ(pair.controller.volume(), expected);
        EXPECT_EQ(pair.view.volumeSlider, expected);
        // The front master is heard; the muted rear keeps whatever volume it had.
        EXPECT_EQ(pair.player1.volume(), expected);
        EXPECT_FALSE(pair.player1.isMuted());
        EXPECT_TRUE(pair.player2.isMuted());
    }
}

TEST(PlaybackAdjustments, ARecordingWithoutPartnerIsHeardWithoutACameraChoice)
{
    PlayingPair alone(false);
    EXPECT_EQ(alone.playInfo.audioMediaDirection(), 0);
    EXPECT_FALSE(alone.player1.isMuted());
    EXPECT_FALSE(alone.view.toggleVisible) << "nothing to choose between";

    PlayingPair pair;
    EXPECT_TRUE(pair.view.toggleVisible);
}

} // namespace
