#include "ScriptedPlayer.h"

#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr double kTimeScale = 0.02;

struct SliderView : VXLPlaybackView
{
    double mainPositionSliderValue() const override { return slider; }
    void setMainPositionSliderValue(double value) override { slider = value; }
    void setVolumeSliderValue(int volume) override { volumeSlider = volume; }
    double slider = 0;
    int volumeSlider = -1;
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
        view.slider = player1.position();
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

TEST(PlaybackAdjustments, AJumpWhileAnotherIsAppliedIsIgnored)
{
    PlayingPair pair;
    pair.controller.jumpForward();
    pair.controller.jumpForward();
    pair.controller.jumpBackward();
    EXPECT_NEAR(PlayingPair::seconds(pair.player1), 10, 0.01);
    // The slider shows where the jump goes while the partner catches up.
    EXPECT_NEAR(pair.view.slider, 10.0 / 30, 1e-6);
}

TEST(PlaybackAdjustments, SpeedIsOneOrTwoOnBothPlayers)
{
    PlayingPair pair;
    using Step = std::function<void(VXLPlaybackController&)>;
    const Step up = &VXLPlaybackController::increaseSpeed;
    const Step down = &VXLPlaybackController::decreaseSpeed;
    const std::pair<Step, double> steps[] = {{up, 2}, {up, 2}, {down, 1}, {down, 1}, {up, 2}};
    for (const auto& [step, speed] : steps) {
        step(pair.controller);
        EXPECT_EQ(pair.playInfo.speed(), speed);
        EXPECT_EQ(pair.player1.rate(), speed);
        EXPECT_EQ(pair.player2.rate(), speed);
    }
    // A new opening plays at 1x again.
    pair.controller.stopPlay();
    ASSERT_TRUE(pair.controller.playAtIndex(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pair.controller.waitingForPlayStart(); }));
    EXPECT_EQ(pair.playInfo.speed(), 1);
    EXPECT_EQ(pair.player1.rate(), 1);
}

TEST(PlaybackAdjustments, VolumeMovesInTensWithin0To200AndReachesTheHeardPlayer)
{
    struct Case
    {
        int start;
        std::function<void(VXLPlaybackController&)> action;
        int expected;
    };
    const auto up = [](VXLPlaybackController& c) {
        c.volumeUp();
    };
    const auto down = [](VXLPlaybackController& c) {
        c.volumeDown();
    };
    const Case cases[] = {
        {70, up, 80},   {195, up, 200},
        {200, up, 200}, {5, down, 0},
        {0, down, 0},   {70, [](VXLPlaybackController& c) { c.volumeSliderMoved(135); }, 135},
    };
    PlayingPair pair;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        pair.controller.setVolume(c.start);
        c.action(pair.controller);
        EXPECT_EQ(pair.controller.volume(), c.expected);
        EXPECT_EQ(pair.view.volumeSlider, c.expected);
        // The front master is heard; the muted rear keeps whatever volume it had.
        EXPECT_EQ(pair.player1.volume(), c.expected);
        EXPECT_FALSE(pair.player1.isMuted());
        EXPECT_TRUE(pair.player2.isMuted());
    }
}

} // namespace
