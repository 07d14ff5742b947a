#include "ScriptedPlayer.h"

#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"
#include "support/SignalWait.h"

#include <QFileInfo>
#include <QMutex>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Every delay of the controller runs at this fraction of its real length.
constexpr double kTimeScale = 0.02;

const QString F1 = "alwa_20230415_093012_F";
const QString R1 = "alwa_20230415_093012_R";
const QString F2 = "alwa_20230415_093042_F";
const QString R2 = "alwa_20230415_093042_R";

QString baseName(const VLCMediaPtr& media)
{
    return media ? QFileInfo(media->path()).completeBaseName() : QString();
}

struct RecordingView : VXLPlaybackView
{
    void showLoading(const QString&) override { loading = true; }
    void hideLoading() override { loading = false; }
    void selectMediaRow(qsizetype row) override { selectedRow = row; }
    void setVideoViewVisible(int playerNumber, bool visible) override
    {
        videoVisible[playerNumber] = visible;
    }
    void setPlayerCameras(int direction1, int direction2) override
    {
        cameras = {direction1, direction2};
    }
    void setAudioToggleVisible(bool visible) override { toggleVisible = visible; }
    void setAudioToggleOn(bool on) override { toggleOn = on; }
    void openingFailed(const QString& path) override
    {
        failures << QFileInfo(path).completeBaseName();
    }

    bool loading = false;
    qsizetype selectedRow = -1;
    bool videoVisible[3] = {};
    QList<int> cameras;
    bool toggleVisible = false;
    bool toggleOn = false;
    QStringList failures;
};

// Two scripted players, a list, the play state and the controller over them.
struct Rig
{
    explicit Rig(const QStringList& paths)
    {
        for (const QString& path : paths)
            list.addMedia(
                VXLMedia::mediaWithPath(path.contains('/') ? path : "/card/" + path + ".MP4"));
        controller.setTimeScale(kTimeScale);
        controller.setDriveDataExtractor([this](const QString& frontPath) {
            QMutexLocker lock(&extractedMutex);
            extracted << QFileInfo(frontPath).completeBaseName();
        });
    }

    // The opening under way ends with both players (or the master alone) playing.
    bool waitForOpening()
    {
        return QTest::qWaitFor([this] {
            return !controller.waitingForPlayStart() && player1.isPlaying() &&
                   (!player2.media() || player2.isPlaying());
        });
    }

    QStringList extractedFronts()
    {
        QMutexLocker lock(&extractedMutex);
        return extracted;
    }

    // Declared before the controller: its extraction thread may still write them while the
    // controller is being destroyed.
    QMutex extractedMutex;
    QStringList extracted;
    ScriptedPlayer player1;
    ScriptedPlayer player2;
    VXLMediaList list;
    VXLPlayInfo playInfo;
    RecordingView view;
    VXLPlaybackController controller{&player1, &player2, &list, &playInfo, &view};
};

TEST(PlaybackController, PlaysEachRecordingToItsEndAndGoesOnToTheNext)
{
    struct Case
    {
        const char* name;
        QStringList list;
        qsizetype start;
        QStringList masters;
        QStringList partners;
    };
    const QList<Case> cases = {
        {"two pairs, front first", {F1, R1, F2, R2}, 0, {F1, F2}, {R1, R2}},
        {"two pairs, rear as master", {F1, R1, F2, R2}, 1, {R1, R2}, {F1, F2}},
        {"fronts without partners", {F1, F2}, 0, {F1, F2}, {"", ""}},
        {"a rear without its front", {R1}, 0, {R1}, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.list);
        ASSERT_TRUE(rig.controller.playAtIndex(c.start));
        for (int step = 0; step < c.masters.size(); ++step) {
            ASSERT_TRUE(rig.waitForOpening()) << "step " << step;
            EXPECT_EQ(baseName(rig.player1.media()), c.masters[step]);
            EXPECT_EQ(baseName(rig.player2.media()), c.partners[step]);
            EXPECT_EQ(rig.view.videoVisible[2], !c.partners[step].isEmpty());
            const VXLMediaPtr selected = rig.list.mediaAtIndex(size_t(rig.view.selectedRow));
            ASSERT_TRUE(selected);
            EXPECT_EQ(selected->mediaName(), c.masters[step]);
            // Drive data comes from the front of the pair; none without one.
            const QString front =
                c.masters[step].endsWith('F') ? c.masters[step] : c.partners[step];
            EXPECT_EQ(rig.extractedFronts().value(step), front);
            rig.player1.tick();
            EXPECT_FALSE(rig.view.loading);
            rig.player1.reachEnd();
            rig.player2.reachEnd();
        }
        // After the last recording nothing more opens; the master stays paused at its end.
        QTest::qWait(int(10 * 1000 * kTimeScale));
        EXPECT_EQ(baseName(rig.player1.media()), c.masters.last());
        EXPECT_EQ(rig.player1.state(), VLCMediaPlayerState::Paused);
        EXPECT_EQ(rig.extractedFronts().size(), c.masters.size());
    }
}

TEST(PlaybackController, DoubleClickOnTheLoadedPausedRecordingRestartsBothPlayers)
{
    Rig rig({F1, R1});
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    ASSERT_TRUE(rig.waitForOpening());
    rig.player1.setPosition(0.5f);
    rig.player2.setPosition(0.5f);
    rig.player1.pause();
    rig.player2.pause();

    rig.controller.changeAndPlay(0);
    EXPECT_FLOAT_EQ(rig.player1.position(), 0);
    EXPECT_FLOAT_EQ(rig.player2.position(), 0);
    EXPECT_TRUE(rig.player1.isPlaying() && rig.player2.isPlaying());
    EXPECT_EQ(rig.extractedFronts().size(), 1) << "no new opening";
}

TEST(PlaybackController, SliderToTheEndStartsTheNextRecording)
{
    Rig rig({F1, R1, F2, R2});
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    ASSERT_TRUE(rig.waitForOpening());
    rig.controller.videoPositionSliderMoved(1.0);
    EXPECT_EQ(rig.player1.state(), VLCMediaPlayerState::Paused);
    EXPECT_EQ(rig.player2.state(), VLCMediaPlayerState::Paused);
    ASSERT_TRUE(QTest::qWaitFor([&] { return baseName(rig.player1.media()) == F2; }));
    ASSERT_TRUE(rig.waitForOpening());
    EXPECT_EQ(baseName(rig.player2.media()), R2);
}

TEST(PlaybackController, PlayOnAFinishedRecordingWithTheSliderAtItsEndOpensItAgain)
{
    Rig rig({F1});
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    ASSERT_TRUE(rig.waitForOpening());
    rig.controller.videoPositionSliderMoved(1.0);
    rig.playInfo.setPosition(1.0);
    QTest::qWait(int(3 * 1000 * kTimeScale));
    ASSERT_FALSE(rig.playInfo.isPlaying());

    rig.controller.clickPlayButton();
    ASSERT_TRUE(rig.waitForOpening());
    EXPECT_EQ(rig.extractedFronts().size(), 2);
    EXPECT_LT(rig.player1.position(), 0.1f);
    EXPECT_EQ(rig.playInfo.position(), 0);
}

TEST(PlaybackController, SwapExchangesTheRecordingsAndKeepsThePosition)
{
    Rig rig({F1, R1});
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    ASSERT_TRUE(rig.waitForOpening());
    rig.player1.setPosition(0.4f);
    rig.player2.setPosition(0.4f);

    rig.controller.swapPlayer();
    EXPECT_TRUE(rig.controller.swapping());
    EXPECT_EQ(baseName(rig.player1.media()), R1);
    EXPECT_EQ(baseName(rig.player2.media()), F1);
    EXPECT_EQ(rig.view.cameras, QList<int>({VXLMediaDirectionRear, VXLMediaDirectionFront}));
    EXPECT_TRUE(rig.player1.isMuted() && rig.player2.isMuted());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.controller.swapping(); }));
    EXPECT_FLOAT_EQ(rig.player1.position(), 0.4f);
    EXPECT_FLOAT_EQ(rig.player2.position(), 0.4f);
    EXPECT_EQ(rig.controller.mediaIndex(), 0);
    // The front recording, now in the small view, is the one heard.
    EXPECT_TRUE(rig.player1.isMuted());
    EXPECT_FALSE(rig.player2.isMuted());
}

// After a slider move the partner's alignment with the master starts 0.3 s later, once the
// master's own seek has landed: not before, and right after (the partner, a few frames
// behind, is sent ahead to meet the master).
TEST(PlaybackController, SliderMoveRealignsThePartnerAfterThreeTenthsOfASecond)
{
    Rig rig({F1, R1});
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    ASSERT_TRUE(rig.waitForOpening());
    // Slower than the other tests, so that the probes stand well clear of the delay (60 ms).
    constexpr double scale = 0.2;
    rig.controller.setTimeScale(scale);

    // Probe timers on the same event loop: Qt fires timers that are due in the order they
    // fall due, so what each probe sees does not depend on how busy the machine is. This one
    // is started before the move, so it falls due before the re-alignment whatever happens.
    QObject probes;
    float partnerBefore = -1;
    float partnerAfter = -1;
    QTimer::singleShot(int(0.2 * 1000 * scale), &probes,
                       [&] { partnerBefore = rig.player2.position(); });
    rig.controller.videoPositionSliderMoved(0.5);
    EXPECT_FLOAT_EQ(rig.player2.position(), 0.5f);
    // Both start again once their seeks have landed (at once, here). The master plays on from
    // the new position; the partner stands where the move put it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.player1.isPlaying(); }, 1000));
    rig.player1.tick();
    const float master = rig.player1.position();
    ASSERT_GT(master, 0.5f);
    QTimer::singleShot(int(0.4 * 1000 * scale), &probes,
                       [&] { partnerAfter = rig.player2.position(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return partnerAfter >= 0; }));
    EXPECT_FLOAT_EQ(partnerBefore, 0.5f) << "re-aligned before 0.3 s";
    EXPECT_GT(partnerAfter, master) << "not re-aligned right after 0.3 s";
}

TEST(PlaybackController, RefusesASecondOpeningWhileTheFirstWaits)
{
    Rig rig({F1, R1, F2, R2});
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    EXPECT_FALSE(rig.controller.playAtIndex(2));
    ASSERT_TRUE(rig.waitForOpening());
    EXPECT_EQ(baseName(rig.player1.media()), F1);
    EXPECT_TRUE(rig.controller.playAtIndex(2));
}

TEST(PlaybackController, ARecordingThatCannotBeOpenedEndsItsOpening)
{
    struct Case
    {
        const char* name;
        QStringList list;
        QString failed;
        QString playing; // the master still playing, if any
    };
    const QString damaged = "/card/damaged/";
    const QString stuck = "/card/stuck/";
    const QList<Case> cases = {
        {"damaged master", {damaged + F1 + ".MP4", R1, F2}, F1, ""},
        {"master never plays", {stuck + F1 + ".MP4", R1, F2}, F1, ""},
        {"damaged partner", {F1, damaged + R1 + ".MP4", F2}, R1, F1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.list);
        QSignalSpy finished(&rig.controller, &VXLPlaybackController::openingFinished);
        ASSERT_TRUE(rig.controller.playAtIndex(0));
        ASSERT_TRUE(waitForSignals(finished, 1, 2000));
        EXPECT_EQ(rig.view.failures, QStringList{c.failed});
        EXPECT_FALSE(rig.controller.waitingForPlayStart());
        EXPECT_EQ(baseName(rig.player1.media()), c.playing);
        EXPECT_FALSE(rig.view.videoVisible[2]);
        if (c.playing.isEmpty()) {
            EXPECT_FALSE(finished.first().first().toBool());
            EXPECT_FALSE(rig.view.loading);
        }
        // Other recordings can be opened.
        ASSERT_TRUE(rig.controller.playAtIndex(2));
        ASSERT_TRUE(rig.waitForOpening());
        EXPECT_EQ(baseName(rig.player1.media()), F2);
    }
}

TEST(PlaybackController, OnlyOneCameraIsHeard)
{
    struct Case
    {
        const char* name;
        QStringList list;
        qsizetype start;
        int direction;
        bool player1Heard;
        bool player2Heard;
        bool toggleVisible;
    };
    // Scripted fronts have sound, rears none.
    const QList<Case> cases = {
        {"front master", {F1, R1}, 0, 0, true, false, true},
        {"rear master without sound, front partner with", {F1, R1}, 1, 0, false, true, true},
        {"no sound at all", {R1}, 0, 2, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.list);
        rig.controller.setVolume(250);
        ASSERT_TRUE(rig.controller.playAtIndex(c.start));
        ASSERT_TRUE(rig.waitForOpening());
        EXPECT_EQ(rig.playInfo.audioMediaDirection(), c.direction);
        EXPECT_EQ(!rig.player1.isMuted(), c.player1Heard);
        EXPECT_EQ(!rig.player2.isMuted(), c.player2Heard);
        EXPECT_EQ(rig.view.toggleVisible, c.toggleVisible);
        EXPECT_FALSE(rig.view.toggleOn);
        EXPECT_EQ(rig.controller.volume(), 200);
    }
}

} // namespace
