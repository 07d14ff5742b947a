#include "PlayerTiming.h"
#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"
#include "player/VLCLibrary.h"
#include "player/VLCMediaPlayer.h"
#include "player/VLCVideoView.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <vlc/vlc.h>

#include <cmath>

namespace {

// A front and a rear recording of 30 seconds, both with sound, so that the one not chosen
// is muted rather than silent for want of a track.
class SoundPair
{
public:
    SoundPair()
    {
        for (const char* camera : {"F", "R"}) {
            const QString path = m_dir.filePath(
                QStringLiteral("alwa_20230415_093012_%1.MP4").arg(QLatin1String(camera)));
            QProcess ffmpeg;
            ffmpeg.start("ffmpeg", QStringLiteral("-loglevel error -y -f lavfi -i "
                                                  "testsrc2=size=640x360:rate=30 -f lavfi -i sine "
                                                  "-t 30 -c:v libx264 -preset ultrafast -g 30 "
                                                  "-c:a aac")
                                           .split(' ')
                                       << path);
            EXPECT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0)
                << ffmpeg.readAllStandardError().toStdString();
        }
    }
    QString directory() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

struct Rig
{
    Rig()
    {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(view1);
        layout->addWidget(view2);
        window.resize(640, 200);
        window.show();
        list.setDirectoryPath(pair.directory());
        list.waitForScan();
        // The finished scan is handed over on the event loop.
        EXPECT_TRUE(QTest::qWaitFor([this] { return list.count() > 0; }));
    }
    // What libVLC itself applied: {mute, volume}. Once the library has found no sound device,
    // media open without sound and libVLC has no output to apply them to (it answers -1): the
    // player's own settings, kept for the next media, are what there is to check.
    static std::pair<int, int> audioOf(const VLCMediaPlayer& player)
    {
        if (VLCLibrary::sharedLibrary().playsSilently())
            return {player.isMuted() ? 1 : 0, player.volume()};
        return {libvlc_audio_get_mute(player.libVLCPlayer()),
                libvlc_audio_get_volume(player.libVLCPlayer())};
    }
    SoundPair pair;
    QWidget window;
    VLCVideoView* view1 = new VLCVideoView;
    VLCVideoView* view2 = new VLCVideoView;
    VLCMediaPlayer player1{view1};
    VLCMediaPlayer player2{view2};
    VXLMediaList list;
    VXLPlayInfo playInfo;
    VXLPlaybackView view;
    VXLPlaybackController controller{&player1, &player2, &list, &playInfo, &view};
};

TEST(PlaybackAdjustmentsWithLibVLC, JumpSpeedAndSoundReachBothPlayers)
{
    Rig rig;
    ASSERT_EQ(rig.list.count(), 2);
    QSignalSpy openings(&rig.controller, &VXLPlaybackController::openingFinished);
    ASSERT_TRUE(rig.controller.playAtIndex(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !openings.isEmpty(); }, 15000));
    ASSERT_TRUE(openings.first().first().toBool());
    QTest::qWait(500);

    // Only one camera is heard; the muted one keeps the volume it had. libVLC applies sound
    // settings on its own threads, so each state is awaited rather than read once.
    using Audio = std::pair<int, int>;
    const auto audioBecomes = [&](Audio first, Audio second) {
        const bool reached = QTest::qWaitFor(
            [&] {
                return Rig::audioOf(rig.player1) == first &&
                       (second.second < 0 ? Rig::audioOf(rig.player2).first == second.first
                                          : Rig::audioOf(rig.player2) == second);
            },
            5000);
        EXPECT_TRUE(reached) << "player 1 {mute, volume} = {" << Rig::audioOf(rig.player1).first
                             << ", " << Rig::audioOf(rig.player1).second << "}, player 2 = {"
                             << Rig::audioOf(rig.player2).first << ", "
                             << Rig::audioOf(rig.player2).second << "}";
    };
    audioBecomes(Audio(0, 70), Audio(1, -1));
    rig.controller.toggleAudioChoice(true);
    rig.controller.setVolume(120);
    audioBecomes(Audio(1, 70), Audio(0, 120));
    rig.controller.toggleAudioChoice(false);
    audioBecomes(Audio(0, 120), Audio(1, 120));

    // A jump moves both players ten seconds on, and together. The upper bound allows for the
    // real time that passes meanwhile, however busy the machine is.
    QElapsedTimer clock;
    clock.start();
    const double before = double(rig.player1.time().intValue()) / 1000;
    rig.controller.jumpForward();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.controller.moving(); }, 5000));
    QTest::qWait(800);
    const double after1 = double(rig.player1.time().intValue()) / 1000;
    EXPECT_GE(after1, before + 9.8);
    EXPECT_LE(after1, before + 10.3 + double(clock.elapsed()) / 1000);
    EXPECT_LT(meanTimeGapMs(rig.player1, rig.player2), 600);

    // Twice the speed reaches both players (libVLC applies a rate asynchronously).
    rig.controller.increaseSpeed();
    EXPECT_EQ(rig.playInfo.speed(), 2);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return libvlc_media_player_get_rate(rig.player1.libVLCPlayer()) == 2.0f &&
                   libvlc_media_player_get_rate(rig.player2.libVLCPlayer()) == 2.0f;
        },
        5000));
    // And the pictures move faster than real time. Not a full 2x: two busy processes beside
    // two decoders on two cores hold it near 1.2x, while 1x never gets past 1.0x.
    clock.restart();
    const int64_t start1 = rig.player1.time().intValue();
    const int64_t start2 = rig.player2.time().intValue();
    QTest::qWait(2000);
    EXPECT_GT(double(rig.player1.time().intValue() - start1), 1.1 * double(clock.elapsed()));
    EXPECT_GT(double(rig.player2.time().intValue() - start2), 1.1 * double(clock.elapsed()));
}

} // namespace
