#pragma once

#include <QFuture>
#include <QObject>
#include <QString>

#include <memory>

class BlockDeviceSource;
class VLCMediaPlayer;
class VXLAppDelegate;
class VXLBlackBoxData;
class VXLClipController;
class VXLMainWindow;
class VXLMediaList;
class VXLPlayInfo;
class VXLPlaybackController;
class VXLWindowRouter;

// The composition root: creates the model (recording list, play state, drive data), the
// main window with its two players, the playback controller, the main window's delegate and
// the window router, and wires them together. Lives for the whole run, on the GUI thread.
class VXLApplication : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        // A folder standing in for the camera's card when no USB card is found (--card).
        QString cardFolder;
    };

    explicit VXLApplication(const Options& options = {}, QObject* parent = nullptr);
    ~VXLApplication() override;

    VXLAppDelegate& delegate() const { return *m_delegate; }
    VXLWindowRouter& router() const { return *m_router; }
    VXLClipController& clipController() const { return *m_clipController; }
    VXLMainWindow* mainWindow() const { return m_window.get(); }
    VXLMediaList* mediaList() const { return m_mediaList; }
    VXLPlayInfo* playInfo() const { return m_playInfo; }
    VXLPlaybackController* playbackController() const { return m_controller; }
    const QString& cardFolder() const { return m_cardFolder; }

    // Stops playback and lets the players go, before their views (the application ends).
    void die();

private:
    QString m_cardFolder;
    std::unique_ptr<BlockDeviceSource> m_volumes;
    std::unique_ptr<VXLMainWindow> m_window;
    VXLMediaList* m_mediaList = nullptr;
    VXLPlayInfo* m_playInfo = nullptr;
    std::unique_ptr<VXLBlackBoxData> m_blackBoxData;
    VLCMediaPlayer* m_player1 = nullptr;
    VLCMediaPlayer* m_player2 = nullptr;
    VXLAppDelegate* m_delegate = nullptr;
    VXLPlaybackController* m_controller = nullptr;
    VXLWindowRouter* m_router = nullptr;
    // The card's speed unit, read at launch; waited for before the volume source goes.
    QFuture<bool> m_mileDisplayRead;
    VXLClipController* m_clipController = nullptr;
};
