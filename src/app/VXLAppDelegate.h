#pragma once

#include "CustomWindow.h"
#include "app/playback/VXLPlaybackView.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class GWImageButton;
class GWSlider;
class GWThreePartImageView;
class GWVideoBackgroundImageView;
class GraphView;
class QLabel;
class QPushButton;
class QSlider;
class QTableView;
class QPProgressIndicator;
class VLCMediaPlayer;
class VLCVideoView;
class VXLBlackBoxData;
class VXLMediaList;
class VXLMediaListModel;
class VXLMapView;
class VXLPlayInfo;
class VXLPlaybackController;
class VXLScrollableVideoContainerView;

// The controller of the whole application: builds the main window and its boxes, the two
// players and their views, the play state, the recording list and the drive-data holder;
// serves the window's buttons and menus, follows the play state, and is the view the
// playback controller drives. Lives for the whole run, on the GUI thread.
class VXLAppDelegate : public QObject, public VXLPlaybackView
{
    Q_OBJECT

public:
    explicit VXLAppDelegate(QObject* parent = nullptr);
    ~VXLAppDelegate() override;

    // The launch steps that need the window's screen: the language default, the first
    // frame centred on the screen, shown.
    void applicationDidFinishLaunching();

    CustomWindow* window() const { return m_window; }
    VXLMediaList* mediaList() const { return m_mediaList; }
    VXLPlayInfo* playInfo() const { return m_playInfo; }
    VXLPlaybackController* playbackController() const { return m_controller; }
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

    // Full screen and the window size steps (a fifth of the smallest size per step; a step
    // up that does not fit goes to full screen, a step down or 0 leaves it). The two size
    // actions act only while the master plays.
    void toggleFullScreen();
    void setVideoScaleIndex(int n);
    void sizeUp();
    void sizeDown();
    // Stops playback and lets the players go (the application ends).
    void die();

    // Loading indicator.
    bool isLoadingVisible() const;
    double loadingProgress() const { return m_progress; }

    // VXLPlaybackView.
    void showLoading(const QString& title) override;
    void hideLoading() override;
    void selectMediaRow(qsizetype row) override;
    void setVideoViewVisible(int playerNumber, bool visible) override;
    void setPlayerLogos(const QString& player1Logo, const QString& player2Logo) override;
    void animateSwap() override;
    void setAudioToggleVisible(bool visible) override;
    void setAudioToggleOn(bool on) override;
    void setVolumeSliderValue(int volume) override;
    double mainPositionSliderValue() const override;
    void setMainPositionSliderValue(double value) override;
    void resetVideoScale() override;
    void updateSideViewButton() override;
    void resetDataReadouts() override;
    void updatePlayInfoScale() override;
    void driveDataReady() override;
    void openingFailed(const QString& filePath) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building the window (VXLAppDelegateWindow.cpp).
    void buildWindow();
    void buildHead();
    void buildGsensorBox();
    void buildControlBox();
    void buildRightColumn();
    void buildMenus();
    void initMediaListTableView();

    void setupInitialValues();
    void registerObservers();
    void connectAdjustmentControls();
    void layoutMapContainer();
    void contentResized();
    void updateLoadingWindow(double seconds, quint64 generation);
    void mediaListChanged();
    void changeAndPlay();

    // The drive-data readouts for the play position.
    void updateGsensorUIByPlayPositon();
    void updateGpsUIByPlayPosition();
    void updateDriveDataReadouts();

    // Model and players.
    VXLMediaList* m_mediaList = nullptr;
    VXLPlayInfo* m_playInfo = nullptr;
    std::unique_ptr<VXLBlackBoxData> m_blackBoxData;
    // The holder is filled on a worker thread during an opening: read only when ready.
    bool m_blackBoxDataReady = false;
    VXLMediaListModel* m_mediaListModel = nullptr;
    VLCMediaPlayer* m_player1 = nullptr;
    VLCMediaPlayer* m_player2 = nullptr;
    VXLPlaybackController* m_controller = nullptr;

    // Window and boxes (object names are these names without the m_ prefix).
    QPointer<CustomWindow> m_window;
    QWidget* m_contentView = nullptr;
    QWidget* m_backgroundBox = nullptr;
    GWThreePartImageView* m_headBox = nullptr;
    QWidget* m_bodyBox = nullptr;
    QWidget* m_bodyLeftBox = nullptr;
    QWidget* m_bodyRightBox = nullptr;
    QWidget* m_videoBox = nullptr;
    QWidget* m_gsensorBox = nullptr;
    QWidget* m_mediaControlBox = nullptr;
    GWThreePartImageView* m_mediaControlBoxForFullScreen = nullptr;
    QWidget* m_sideButtonBox = nullptr;
    QWidget* m_mediaListBox = nullptr;
    QWidget* m_subVideoBox = nullptr;
    VXLScrollableVideoContainerView* m_videoContainerView = nullptr;
    QWidget* m_mediaListScrollView = nullptr;
    QTableView* m_mediaListTableView = nullptr;
    QWidget* m_mapContainerView = nullptr;
    QWidget* m_mapContainerTopView = nullptr;
    QWidget* m_mapContainerBottomView = nullptr;
    VXLMapView* m_mapWebView = nullptr;
    GWVideoBackgroundImageView* m_player1BackgroundView = nullptr;
    GWVideoBackgroundImageView* m_player2BackgroundView = nullptr;
    VLCVideoView* m_video1View = nullptr;
    VLCVideoView* m_video2View = nullptr;

    // Controls.
    GWImageButton* m_playButton = nullptr;
    GWImageButton* m_swapButton = nullptr;
    GWImageButton* m_openButton = nullptr;
    GWImageButton* m_jumpBackwardButton = nullptr;
    GWImageButton* m_jumpForwardButton = nullptr;
    GWImageButton* m_fullScreenButton = nullptr;
    QPushButton* m_decreaseSpeedButton = nullptr;
    QPushButton* m_increaseSpeedButton = nullptr;
    QPushButton* m_sizeDownButton = nullptr;
    QPushButton* m_sizeUpButton = nullptr;
    QPushButton* m_volumeDownButton = nullptr;
    QPushButton* m_volumeUpButton = nullptr;
    QPushButton* m_speedTextButton = nullptr;
    QPushButton* m_sizeTextButton = nullptr;
    QPushButton* m_audioToggleButton = nullptr;
    GWSlider* m_videoPositionSlider = nullptr;
    GWSlider* m_videoPositionSliderForFullScreen = nullptr;
    QSlider* m_volumeSlider = nullptr;
    GWImageButton* m_recordButtonImageView = nullptr;
    GWImageButton* m_informationButtonImageView = nullptr;
    QPProgressIndicator* m_progressIndicator = nullptr;

    // Drive-data readouts.
    GraphView* m_graphView = nullptr;
    QLabel* m_gsensorXField = nullptr;
    QLabel* m_gsensorYField = nullptr;
    QLabel* m_gsensorZField = nullptr;
    QLabel* m_speedField = nullptr;
    QLabel* m_hdopField = nullptr;
    QLabel* m_sateliteField = nullptr;

    int m_rightViewMode = 0;
    bool m_bMileDisplay = false;
    bool m_playFirstWhenScanned = false;
    bool m_stopVideoLoadingView = true;
    double m_progress = 0;
    // A new showLoading starts a new tick chain; ticks of an older chain stop.
    quint64 m_loadingGeneration = 0;
    bool m_dead = false;
};
