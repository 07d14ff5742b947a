#pragma once

#include "CustomWindow.h"
#include "app/playback/VXLPlaybackController.h"
#include "app/playback/VXLPlaybackView.h"
#include "player/VXLPlayerInterface.h"

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <QString>

class VXLBlackBoxData;
class VXLFrameCapture;
class VXLMainWindow;
class VXLMediaList;
class VXLMediaListModel;
class VXLPlayInfo;
class VXLWindowRouter;

// The main window's controller: serves its buttons and menus, follows the play state into
// the window, and is the view the playback controller drives. The application
// (VXLApplication) creates it with everything it works with; it owns none of it.
class VXLAppDelegate : public QObject, public VXLPlaybackView
{
    Q_OBJECT

public:
    struct Parts
    {
        VXLMainWindow* window;
        VXLMediaList* mediaList;
        VXLPlayInfo* playInfo;
        // Filled on a worker thread during an opening; read only after driveDataReady.
        const VXLBlackBoxData* blackBoxData;
        VXLPlayerInterface* player1;
        VXLWindowRouter* router;
    };
    explicit VXLAppDelegate(const Parts& parts, QObject* parent = nullptr);
    ~VXLAppDelegate() override;

    // Connects the window's controls to the playback controller, which is created with this
    // delegate as its view.
    void setPlaybackController(VXLPlaybackController* controller);

    // The launch steps that need the window's screen: the language default, the first
    // frame centred on the screen, shown.
    void applicationDidFinishLaunching();

    CustomWindow* window() const;
    VXLMediaList* mediaList() const { return m_mediaList; }
    VXLPlayInfo* playInfo() const { return m_playInfo; }
    VXLPlaybackController* playbackController() const { return m_controller.data(); }
    VXLMediaListModel* mediaListModel() const { return m_mediaListModel; }

    // The window's geometry.
    static QSize minWindowSize();
    QRectF minWindowFrame() const;

    // Side panel: 0 recording list, 1 map.
    int rightViewMode() const { return m_rightViewMode; }
    void clickMediaListViewButton();
    void clickMapViewButton();

    // Opening a directory: the dialog, and its confirmation step (also used by the
    // program's DIR argument).
    void openMediaDirectoryDialog();
    void openMediaDirectory(const QString& path);
    // Plays the first recording once the next scan has reported (the program's --play).
    void setPlayFirstWhenScanned(bool play) { m_playFirstWhenScanned = play; }

    void layoutWindow();
    void closeWindow();
    // The settings window, through the router.
    void showSettingPanel();
    // The speed unit of the card's settings (read at launch): with miles, a recording without
    // any fix shows its speed as "- Mi/h".
    void setMileDisplay(bool miles);
    bool mileDisplay() const { return m_bMileDisplay; }

    // Full screen and the window size steps (a fifth of the smallest size per step; a step
    // up that does not fit goes to full screen, a step down or 0 leaves it). The two size
    // actions act only while the master plays.
    void toggleFullScreen();
    void setVideoScaleIndex(int n);
    void sizeUp();
    void sizeDown();
    // Stops playback (the application then lets the players go).
    void die();

    // The master's current frame saved as a picture (while it plays) or printed.
    void captureVideo();
    void print();
    VXLFrameCapture* frameCapture() const { return m_frameCapture; }

    // Loading indicator.
    bool isLoadingVisible() const;
    double loadingProgress() const;

    // VXLPlaybackView.
    void showLoading(const QString& title) override;
    void hideLoading() override;
    void selectMediaRow(qsizetype row) override;
    void setVideoViewVisible(int playerNumber, bool visible) override;
    void setPlayerCameras(int player1Direction, int player2Direction) override;
    void animateSwap() override;
    void setAudioToggleVisible(bool visible) override;
    void setAudioToggleOn(bool on) override;
    void setVolumeSliderValue(int volume) override;
    void resetVideoScale() override;
    void updateSideViewButton() override;
    void resetDataReadouts() override;
    void updatePlayInfoScale() override;
    void driveDataReady() override;
    void openingFailed(const QString& filePath) override;

private:
    void registerObservers();
    void connectMenus();
    void connectAdjustmentControls();
    void mediaListChanged();
    void changeAndPlay();
    // The master's elapsed and total time beside both position sliders.
    void updateTimeLabels();
    // The drive-data readouts, the graph's bar and the map for the play position.
    void updateGsensorUIByPlayPositon();
    void updateGpsUIByPlayPosition();

    QPointer<VXLMainWindow> m_window;
    VXLMediaList* m_mediaList;
    VXLPlayInfo* m_playInfo;
    const VXLBlackBoxData* m_blackBoxData;
    QPointer<VXLPlayerInterface> m_player1;
    VXLWindowRouter* m_router;
    VXLMediaListModel* m_mediaListModel = nullptr;
    QPointer<VXLPlaybackController> m_controller;
    VXLFrameCapture* m_frameCapture = nullptr;
    // The drive data is refilled during an opening; the readouts wait until it is ready.
    bool m_blackBoxDataReady = false;
    int m_rightViewMode = 0;
    // The speed unit from the card's settings (true: miles).
    bool m_bMileDisplay = false;
    bool m_playFirstWhenScanned = false;
    bool m_dead = false;
};
