#pragma once

#include <QString>
#include <QtGlobal>

// What the playback logic asks of the main window. The window implements it; the tests
// implement it with a recorder. Every call comes on the GUI thread. The defaults do
// nothing, so a window can implement what it has.
class VXLPlaybackView
{
public:
    virtual ~VXLPlaybackView() = default;

    // The loading indicator of an opening (the title is not shown).
    virtual void showLoading(const QString& title) { Q_UNUSED(title); }
    virtual void hideLoading() {}

    // Select this row of the recording list alone and scroll it into view.
    virtual void selectMediaRow(qsizetype row) { Q_UNUSED(row); }

    // video1View (playerNumber 1, the large area) or video2View (2, under the list).
    virtual void setVideoViewVisible(int playerNumber, bool visible)
    {
        Q_UNUSED(playerNumber);
        Q_UNUSED(visible);
    }
    // The cameras shown by the two views, for the logos behind them (VXLMediaDirection
    // codes). The large view shows the front logo unless its camera is the rear; the small
    // one the rear logo unless its camera is the front.
    virtual void setPlayerCameras(int player1Direction, int player2Direction)
    {
        Q_UNUSED(player1Direction);
        Q_UNUSED(player2Direction);
    }
    // The swap animation: collapse video1View to (container width, 0) and video2View to
    // (0, subVideoBox height), then grow both back to their boxes over 1.5 s, ease-out.
    virtual void animateSwap() {}

    // audioToggleButton: shown or hidden; on = rear sound, off = front sound.
    virtual void setAudioToggleVisible(bool visible) { Q_UNUSED(visible); }
    virtual void setAudioToggleOn(bool on) { Q_UNUSED(on); }
    virtual void setVolumeSliderValue(int volume) { Q_UNUSED(volume); }

    // Each opening: size step 0, side buttons refreshed, G-sensor readouts "X=+0.00",
    // "Y=+0.00", "Z=+0.00", speed, HDOP and satellites empty.
    virtual void resetVideoScale() {}
    virtual void updateSideViewButton() {}
    virtual void resetDataReadouts() {}
    // The play state's scale from the video area and the master's video height.
    virtual void updatePlayInfoScale() {}

    // The pair's drive data was extracted (on the GUI thread, before the players start):
    // hand the G-sensor samples to the graph.
    virtual void driveDataReady() {}

    // A recording cannot be played (damaged file, player error, or no playing within the
    // opening time); its player was unloaded. Show a warning that names the file.
    virtual void openingFailed(const QString& filePath) { Q_UNUSED(filePath); }
};
