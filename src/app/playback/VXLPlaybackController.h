#pragma once

#include "VXLPartnerAlignment.h"
#include "VXLPlayInfo.h"
#include "VXLPlaybackView.h"
#include "player/VXLPlayerInterface.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <functional>

class VXLMediaList;

// Plays a recording of the list in the master player and its partner (the other camera of
// the same moment) in the second player, keeps the two at one position, and goes on to the
// next recording when the master has stood paused at its end. The window owns the players,
// the list, the play state and itself (as the view); this object only drives them.
// GUI thread only, except the drive-data extraction, which runs on a worker thread.
class VXLPlaybackController : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int volume READ volume WRITE setVolume NOTIFY volumeChanged)

public:
    // Called on a worker thread with the path of the pair's front recording, or an empty
    // path when the pair has none (the drive data is then cleared). The holder it fills is
    // read on the GUI thread only after VXLPlaybackView::driveDataReady().
    using DriveDataExtractor = std::function<void(const QString& frontPath)>;

    VXLPlaybackController(VXLPlayerInterface* player1, VXLPlayerInterface* player2,
                          VXLMediaList* mediaList, VXLPlayInfo* playInfo, VXLPlaybackView* view,
                          QObject* parent = nullptr);
    ~VXLPlaybackController() override;

    void setDriveDataExtractor(DriveDataExtractor extractor);
    // Multiplies every delay (tests run the same sequences faster). 1 by default.
    void setTimeScale(double scale);
    // Longest wait for both players to play before an opening counts as failed.
    void setOpeningTimeout(double seconds);

    VXLPlayerInterface* player1() const { return m_player1; }
    VXLPlayerInterface* player2() const { return m_player2; }
    VXLPlayInfo* playInfo() const { return m_playInfo; }

    // -1 before the first playback.
    qsizetype mediaIndex() const { return m_mediaIndex; }
    bool waitingForPlayStart() const { return m_waitingForPlayStart; }
    bool preparingPlayNext() const { return m_preparingPlayNext; }
    bool moving() const { return m_moving; }
    double movingPosition() const { return m_movingPosition; }
    bool swapping() const { return m_swapping; }
    // A position change is being applied until the partner is re-aligned (jumps use it).
    void setMoving(bool moving, double movingPosition);

    // The master has a media, plays, and more than a second remains.
    static bool isPlaying(const VXLPlayerInterface* player);
    // The master plays, or stands paused, as the user sees it: players standing only for a
    // common start after a move play.
    bool masterPlays() const;
    bool masterStandsPaused() const;

    // Opens the recording at `index` (clamped) with its partner. False when the list is
    // empty or another opening is still waiting; true once the opening has begun.
    bool playAtIndex(qsizetype index);
    void updateVideoUI();
    void initMediaControlView();
    // Pauses and unloads both players; an opening in progress is dropped.
    void stopPlay();
    void didStartPlayer();
    void didFinishPlay();
    void startTimerPlayNext();
    void timerPlayNext();
    bool playNext();
    void syncVideoPositionDelay(double seconds);

    // Window actions.
    void changeAndPlay(qsizetype selectedRow);
    void clickPlayButton();
    // After the slider's value has been stored into the play state.
    void videoPositionSliderMoved(double value);
    void swapPlayer();

    // Ten-second jumps (the partner follows through the re-alignment), 1x/2x speed, and
    // volume steps of 10 (VXLPlaybackAdjustments.cpp).
    void jumpForward();
    void jumpBackward();
    void increaseSpeed();
    void decreaseSpeed();
    void volumeUp();
    void volumeDown();
    void volumeSliderMoved(int value);

    // Sound: only one camera is heard. Changes of the play state's audioMediaDirection and of
    // the volume call updateAudioUI here; the window need not observe them for that.
    int volume() const { return m_volume; }
    void setVolume(int volume); // clamped to 0..200
    bool hasAudio(const VXLPlayerInterface* player) const;
    void chooseAudioAuto();
    void updateAudioUI();
    void toggleAudioChoice(bool rearOn);

public Q_SLOTS:
    void mediaPlayerStateChanged(VXLPlayerInterface* player);
    void mediaPlayerTimeChanged(VXLPlayerInterface* player);

Q_SIGNALS:
    void volumeChanged(int volume);
    // An opening ended: both players play (started true) or it failed (false). A recording
    // that fails after its opening is reported through VXLPlaybackView::openingFailed only.
    void openingFinished(bool started);
    // The partner was brought to the master after a move; gapMs is what was left (master
    // minus partner, as the players tell their times).
    void partnerAligned(double gapMs);

private:
    int delayMs(double seconds) const;
    void updateVideoViewsVisibility();
    void startOrUpdateAudio();
    void finishDriveDataAndStart(quint64 opening);
    void checkOpening(quint64 opening);
    void failOpening(VXLPlayerInterface* player);
    void seekToEnd(VXLPlayerInterface* player);
    void movePartnerWithMaster(int64_t targetMs);

    VXLPlayerInterface* m_player1;
    VXLPlayerInterface* m_player2;
    VXLMediaList* m_mediaList;
    VXLPlayInfo* m_playInfo;
    VXLPlaybackView* m_view;
    DriveDataExtractor m_extractDriveData;

    qsizetype m_mediaIndex = -1;
    bool m_waitingForPlayStart = false;
    bool m_preparingPlayNext = false;
    bool m_moving = false;
    double m_movingPosition = 0;
    bool m_swapping = false;
    bool m_stopVideoLoadingView = true;
    int m_volume = 70;
    // Thins out position updates: one per three time changes of the master.
    int m_timeChangeCounter = -1;
    // Counts openings; late work of a dropped opening sees a newer number and does nothing.
    quint64 m_opening = 0;

    VXLPartnerAlignment m_alignment;
    QTimer m_playStopTimer;
    // The scheduled playNext; one at a time, dropped by a new opening.
    QTimer m_playNextTimer;
    QThreadPool m_extractionPool;
    double m_timeScale = 1.0;
    double m_openingTimeout = 10.0;
};
