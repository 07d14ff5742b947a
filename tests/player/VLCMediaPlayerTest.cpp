#include "player/VLCMediaPlayer.h"
#include "PlayerTiming.h"
#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"
#include "player/VLCPlayerClock.h"
#include "player/VLCVideoView.h"

#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// Two pairs of real recordings, made once per run: fronts with sound, rears without, one
// key frame a second as the camera writes them. Twenty seconds leave a busy machine time
// for every seek below to land before the end.
class Recordings
{
public:
    static const Recordings& shared()
    {
        static Recordings recordings;
        return recordings;
    }
    QString directory() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name + ".MP4"); }

private:
    Recordings()
    {
        for (const QString moment : {"alwa_20230415_093012", "alwa_20230415_093042"}) {
            make(moment + "_F", {"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=30", "-f",
                                 "lavfi", "-i", "sine", "-c:a", "aac"});
            make(moment + "_R", {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=30"});
        }
    }
    void make(const QString& name, QStringList inputs)
    {
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg",
                     QStringList{"-loglevel", "error", "-y"}
                         << inputs
                         << QStringList{"-t", "20", "-c:v", "libx264", "-preset", "ultrafast", "-g",
                                        "30", "-brand", "avc1", path(name)});
        EXPECT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0)
            << ffmpeg.readAllStandardError().toStdString();
    }
    QTemporaryDir m_dir;
};

// A window with the two video views, as the main window has them.
struct VideoWindow
{
    VideoWindow()
    {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(view1);
        layout->addWidget(view2);
        window.resize(960, 300);
        window.show();
    }
    QWidget window;
    VLCVideoView* view1 = new VLCVideoView;
    VLCVideoView* view2 = new VLCVideoView;
};

TEST(VLCTime, StringValueCountsWholeSeconds)
{
    const struct
    {
        VLCTime time;
        const char* text;
    } cases[] = {
        {VLCTime::noTime(), "--:--"},
        {VLCTime::nullTime(), "00:00"},
        {VLCTime::timeWithInt(-999), "00:00"}, // under a second left reads as none
        {VLCTime::timeWithInt(-1000), "-00:01"},
        {VLCTime::timeWithInt(59999), "00:59"},
        {VLCTime::timeWithInt(-754000), "-12:34"},
        {VLCTime::timeWithInt(3723000), "1:02:03"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.time.stringValue(), QString(c.text)) << c.time.intValue();
}

// A seek sent to a player that is being paused lands whichever of the two libVLC reports
// first: the end of the seek's buffering or the pause. Either way the paused player stands
// at the target, and no time report (there is none while paused) is waited for.
TEST(VLCPlayerClock, ASeekAndAPauseLandInEitherOrder)
{
    for (const bool pausedFirst : {true, false}) {
        SCOPED_TRACE(pausedFirst ? "paused first" : "buffered first");
        VLCPlayerClock clock;
        clock.timeReported(1000, 0, 0);
        clock.seekStarted(5000, 1);
        if (pausedFirst) {
            clock.paused(1, 60000);
            EXPECT_TRUE(clock.bufferingDone(1));
        } else {
            EXPECT_FALSE(clock.bufferingDone(1));
            clock.paused(1, 60000);
        }
        EXPECT_FALSE(clock.isSeeking());
        EXPECT_EQ(clock.timeAt(1000000000, false, 1200, 60000), 5000);
    }
}

TEST(VLCMediaPlayer, PlaysARecordingToItsEndAndSavesAJpegSnapshot)
{
    VideoWindow window;
    VLCMediaPlayer front(window.view1);
    VLCMediaPlayer rear(window.view2);
    const Recordings& recordings = Recordings::shared();
    front.setMedia(VLCMedia::mediaWithPath(recordings.path("alwa_20230415_093012_F"),
                                           VLCMedia::kFrontDirection));
    rear.setMedia(VLCMedia::mediaWithPath(recordings.path("alwa_20230415_093012_R"),
                                          VLCMedia::kRearDirection));
    EXPECT_TRUE(front.media()->isFrontMedia());
    EXPECT_TRUE(rear.media()->isRearMedia());
    front.play();
    rear.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return front.isPlaying() && rear.isPlaying(); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return front.hasVideoOut() && rear.hasVideoOut(); }, 5000));

    EXPECT_EQ(front.videoSize(), QSize(1280, 720));
    EXPECT_EQ(rear.videoSize(), QSize(640, 360));
    // libVLC's "Disable" entry is not a track.
    EXPECT_EQ(front.audioTrackIndexes().size(), 1);
    EXPECT_TRUE(rear.audioTrackIndexes().isEmpty());
    front.setVolume(250);
    EXPECT_EQ(front.volume(), 200);
    front.setVolume(-5);
    EXPECT_EQ(front.volume(), 0);
    if (!VLCVideoView::usesNativeWindow()) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.view1->currentFrame().isNull(); }));
    }

    // The end leaves the player paused on its last picture. The test reads the time while the
    // recording plays on, as the window does at every time change, and waits until the player
    // has reported the pause, as the window learns of it.
    QSignalSpy timeChanges(&front, &VXLPlayerInterface::mediaPlayerTimeChanged);
    bool reportedPaused = false;
    QObject::connect(&front, &VXLPlayerInterface::mediaPlayerStateChanged, [&] {
        reportedPaused = reportedPaused || front.state() == VLCMediaPlayerState::Paused;
    });
    front.setPosition(0.9f);
    const int64_t target = int64_t(0.9 * double(front.media()->length().intValue()));
    ASSERT_GT(target, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return front.time().intValue() > target + 100; }, 10000))
        << "the seek never landed";
    ASSERT_TRUE(QTest::qWaitFor([&] { return reportedPaused; }, 10000));
    EXPECT_EQ(front.state(), VLCMediaPlayerState::Paused);
    EXPECT_GE(front.position(), 0.95f);
    EXPECT_GE(timeChanges.size(), 3) << "time changes come regularly while playing";

    TempDir dir;
    const QString snapshot = dir.filePath("frame.jpg");
    ASSERT_TRUE(front.saveVideoSnapshotAt(snapshot, 0, 0));
    QFile file(snapshot);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(3).startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(QImageReader(snapshot).size(), QSize(1280, 720));

    // Play on a finished recording starts it again instead of ending the picture.
    front.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return front.isPlaying(); }, 5000));
    EXPECT_LT(front.position(), 0.5f);
}

struct RealView : VXLPlaybackView
{
    void setVideoViewVisible(int playerNumber, bool visible) override
    {
        videoVisible[playerNumber] = visible;
    }
    void openingFailed(const QString& path) override { failures << QFileInfo(path).fileName(); }

    bool videoVisible[3] = {};
    QStringList failures;
};

struct RealRig
{
    explicit RealRig(const QString& directory)
    {
        list.setDirectoryPath(directory);
        list.waitForScan();
        EXPECT_TRUE(QTest::qWaitFor([&] { return list.count() > 0; }));
    }
    VideoWindow window;
    VLCMediaPlayer player1{window.view1};
    VLCMediaPlayer player2{window.view2};
    VXLMediaList list;
    VXLPlayInfo playInfo;
    RealView view;
    VXLPlaybackController controller{&player1, &player2, &list, &playInfo, &view};
};

TEST(PlaybackWithLibVLC, APairPlaysTogetherAndGoesOnToTheNextRecording)
{
    RealRig rig(Recordings::shared().directory());
    ASSERT_EQ(rig.list.count(), 4);
    QSignalSpy openings(&rig.controller, &VXLPlaybackController::openingFinished);
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !openings.isEmpty(); }, 15000));
    ASSERT_TRUE(openings.last().first().toBool());
    EXPECT_TRUE(rig.player1.isPlaying() && rig.player2.isPlaying());
    EXPECT_TRUE(rig.view.videoVisible[1] && rig.view.videoVisible[2]);
    ASSERT_TRUE(rig.player1.media());
    const double lengthMs = double(rig.player1.media()->length().intValue());
    ASSERT_GT(lengthMs, 0);

    // Both players have taken the seek to `position` and play on past it, and stand together.
    // libVLC takes a seek late on a busy machine, so this is awaited rather than assumed after
    // a fixed time; the gap itself is held to the same bound.
    double gapMs = -1;
    const auto together = [&](double position) {
        const int64_t past = int64_t(position * lengthMs) + 100;
        return QTest::qWaitFor(
            [&] {
                if (rig.controller.moving() || rig.controller.swapping() ||
                    rig.player1.time().intValue() <= past || rig.player2.time().intValue() <= past)
                    return false;
                gapMs = meanTimeGapMs(rig.player1, rig.player2);
                return gapMs < 600;
            },
            10000);
    };

    // After a seek the partner is brought to the master's position. The upper bound allows for
    // the real time that passes, however busy the machine is (a partner left behind would be
    // seconds away).
    QElapsedTimer clock;
    clock.start();
    rig.controller.videoPositionSliderMoved(0.3);
    EXPECT_TRUE(together(0.3)) << "players " << gapMs << " ms apart";
    EXPECT_GE(rig.player1.position(), 0.3 - 0.01);
    EXPECT_LE(rig.player1.position(), 0.3 + double(clock.elapsed()) / lengthMs + 0.03);

    // A swap reopens both recordings and brings them back to where they were (0.8 s into the
    // swap), then they play on from there.
    const double beforeSwap = rig.player1.position();
    clock.restart();
    rig.controller.swapPlayer();
    ASSERT_TRUE(rig.controller.swapping());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.controller.swapping(); }, 5000));
    ASSERT_TRUE(rig.player1.media());
    EXPECT_TRUE(rig.player1.media()->isRearMedia());
    EXPECT_TRUE(together(beforeSwap)) << "players " << gapMs << " ms apart";
    EXPECT_GE(rig.player1.position(), beforeSwap - 0.015);
    EXPECT_LE(rig.player1.position(), beforeSwap + double(clock.elapsed()) / lengthMs + 0.03);
    EXPECT_TRUE(rig.player1.isMuted()) << "the rear recording has no sound";
    EXPECT_FALSE(rig.player2.isMuted());

    // Near the end: the master pauses at 0.95 or more, then the next pair of the list opens
    // (the list row, not the swapped players, decides which).
    bool pausedAtEnd = false;
    QObject::connect(&rig.player1, &VXLPlayerInterface::mediaPlayerStateChanged, [&] {
        if (rig.player1.state() == VLCMediaPlayerState::Paused && rig.player1.position() >= 0.95f)
            pausedAtEnd = true;
    });
    rig.controller.videoPositionSliderMoved(0.85);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openings.size() == 2; }, 20000));
    EXPECT_TRUE(pausedAtEnd);
    EXPECT_TRUE(openings.last().first().toBool());
    ASSERT_TRUE(rig.player1.media() && rig.player2.media());
    EXPECT_EQ(QFileInfo(rig.player1.media()->path()).completeBaseName(), "alwa_20230415_093042_F");
    EXPECT_EQ(QFileInfo(rig.player2.media()->path()).completeBaseName(), "alwa_20230415_093042_R");
    EXPECT_TRUE(rig.view.failures.isEmpty());
}

TEST(PlaybackWithLibVLC, ADamagedRecordingEndsItsOpeningWithAMessage)
{
    TempDir dir;
    QByteArray garbage(64 * 1024, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char(std::rand());
    dir.write("alwa_20230415_093012_F.MP4", garbage);
    RealRig rig(dir.path());
    rig.controller.setOpeningTimeout(5);
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.view.failures.isEmpty(); }, 10000));
    EXPECT_EQ(rig.view.failures, QStringList{"alwa_20230415_093012_F.MP4"});
    EXPECT_FALSE(rig.controller.waitingForPlayStart());
    EXPECT_FALSE(rig.player1.media());
    EXPECT_TRUE(rig.controller.playAtIndex(0)) << "the next opening is not refused";
}

} // namespace
