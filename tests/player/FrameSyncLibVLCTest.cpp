// Real libVLC players on sample recordings whose pictures carry their frame number: the time
// a player reports against the frame it shows, and the frames of the two views after moves.
#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"
#include "player/VLCMediaPlayer.h"
#include "player/VLCVideoView.h"
#include "samplecard/FrameCode.h"
#include "samplecard/SampleCard.h"

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kFrameMs = 1000.0 / 30;
// After a move has been aligned, the views may differ by this many frames: the aim is one
// or two, the rest leaves room for a busy machine.
constexpr int kFrameBound = 6;

// A front recording with sound and its rear partner without, 20 s, made once per run.
class FramePair
{
public:
    static const FramePair& shared()
    {
        static FramePair pair;
        return pair;
    }
    QString directory() const { return m_dir.path(); }
    QString path(const char* camera) const
    {
        return m_dir.filePath(QStringLiteral("alwa_20230415_093012_%1.MP4").arg(camera));
    }

private:
    FramePair()
    {
        for (const char* camera : {"F", "R"}) {
            samplecard::VideoOptions options;
            options.width = 640;
            options.height = 360;
            options.seconds = 20;
            options.withSound = camera[0] == 'F';
            QString error;
            EXPECT_TRUE(samplecard::makeTestVideo(options, path(camera), &error))
                << error.toStdString();
        }
    }
    QTemporaryDir m_dir;
};

struct Views
{
    Views()
    {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(view1);
        layout->addWidget(view2);
        window.resize(800, 240);
        window.show();
    }
    QWidget window;
    VLCVideoView* view1 = new VLCVideoView;
    VLCVideoView* view2 = new VLCVideoView;
};

int frameOf(const VLCVideoView* view)
{
    return samplecard::readFrameCode(view->currentFrame());
}

TEST(PlayerTime, ChangesAtTheFrameRateNeverRunsBackAndStandsOnThePausedFrame)
{
    Views views;
    VLCMediaPlayer player(views.view1);
    player.setMedia(VLCMedia::mediaWithPath(FramePair::shared().path("F")));
    player.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.isPlaying(); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameOf(views.view1) >= 0; }, 10000));
    QTest::qWait(500);

    // Two seconds of playing: time changes come regularly and each time is at least the last.
    int changes = 0;
    int backwards = 0;
    int64_t last = -1;
    const QMetaObject::Connection counting =
        QObject::connect(&player, &VXLPlayerInterface::mediaPlayerTimeChanged, [&] {
            const int64_t now = player.time().intValue();
            backwards += now < last ? 1 : 0;
            last = now;
            ++changes;
        });
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(2000);
    const double perSecond = changes * 1000.0 / double(clock.elapsed());
    // 30 a second are asked for; a loaded machine delivers a few less.
    EXPECT_GE(perSecond, 20) << changes << " in " << clock.elapsed() << " ms";
    EXPECT_EQ(backwards, 0);

    // Paused, the time is that of the frame on the screen, and nothing more is reported.
    player.pause();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return player.state() == VLCMediaPlayerState::Paused; }, 5000));
    QTest::qWait(300);
    const int frame = frameOf(views.view1);
    ASSERT_GE(frame, 0);
    EXPECT_NEAR(double(player.time().intValue()), frame * kFrameMs, 2 * kFrameMs);
    const int changesWhenPaused = changes;
    QTest::qWait(1000);
    EXPECT_EQ(changes, changesWhenPaused) << "time changes while paused";
    QObject::disconnect(counting);
}

struct PlayingPair
{
    PlayingPair()
    {
        list.setDirectoryPath(FramePair::shared().directory());
        list.waitForScan();
        EXPECT_TRUE(QTest::qWaitFor([&] { return list.count() == 2; }));
        QSignalSpy opened(&controller, &VXLPlaybackController::openingFinished);
        EXPECT_TRUE(controller.playAtIndex(0));
        EXPECT_TRUE(QTest::qWaitFor([&] { return opened.count() > 0; }, 15000));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return frameOf(views.view1) >= 0 && frameOf(views.view2) >= 0; }, 10000));
    }
    // Runs a move and waits until the partner has been brought to the master (and the
    // pictures have followed); answers the master's frame minus the partner's.
    template <typename Move> int framesApartAfter(Move move)
    {
        const qsizetype before = aligned.count();
        move();
        EXPECT_TRUE(QTest::qWaitFor([&] { return aligned.count() > before; }, 15000));
        QTest::qWait(300);
        const int master = frameOf(views.view1);
        const int partner = frameOf(views.view2);
        EXPECT_GE(master, 0);
        EXPECT_GE(partner, 0);
        return master - partner;
    }

    Views views;
    VLCMediaPlayer player1{views.view1};
    VLCMediaPlayer player2{views.view2};
    VXLMediaList list;
    VXLPlayInfo playInfo;
    VXLPlaybackView view;
    VXLPlaybackController controller{&player1, &player2, &list, &playInfo, &view};
    QSignalSpy aligned{&controller, &VXLPlaybackController::partnerAligned};
};

TEST(PlaybackWithLibVLC, BothViewsShowTheSameFrameAfterMoves)
{
    PlayingPair pair;
    VXLPlaybackController& controller = pair.controller;
    const struct
    {
        const char* name;
        std::function<void()> move;
    } moves[] = {
        {"resume with the partner a second behind",
         [&] {
             pair.player2.pause();
             QTest::qWait(1000);
             controller.clickPlayButton();
             ASSERT_TRUE(QTest::qWaitFor([&] { return !pair.playInfo.isPlaying(); }, 5000));
             controller.clickPlayButton();
         }},
        // Early in the 20 s pair: the jump forward that follows must stay clear of the end,
        // even when a busy machine makes every alignment slow.
        {"slider",
         [&] {
             controller.videoPositionSliderMoved(0.1);
         }},
        {"jump forward",
         [&] {
             controller.jumpForward();
         }},
        {"jump back",
         [&] {
             controller.jumpBackward();
         }},
        {"swap",
         [&] {
             controller.swapPlayer();
         }},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.name);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !controller.moving(); }, 5000));
        EXPECT_LE(std::abs(pair.framesApartAfter(m.move)), kFrameBound);
    }
}

// Played into its end, the pair stands paused on its last pictures; a jump back takes both
// ten seconds back, and the slider goes with them.
TEST(PlaybackWithLibVLC, AJumpBackFromTheEndTakesBothPlayersAndTheSlider)
{
    PlayingPair pair;
    pair.controller.videoPositionSliderMoved(0.93);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            // Both also stand for a moment right after the move, until both seeks landed.
            return pair.player1.state() == VLCMediaPlayerState::Paused &&
                   pair.player2.state() == VLCMediaPlayerState::Paused &&
                   pair.player1.position() > 0.98f;
        },
        15000));
    const double atEnd = double(pair.player1.time().intValue());
    const int apart = pair.framesApartAfter([&] { pair.controller.jumpBackward(); });
    EXPECT_LE(std::abs(apart), kFrameBound);
    EXPECT_NEAR(double(pair.player1.time().intValue()), atEnd - 10000, 2 * kFrameMs);
    EXPECT_NEAR(pair.playInfo.position() * 20000, atEnd - 10000, 100);
}

} // namespace
