// The control strip's adjustments of both players: ten-second jumps, 1x/2x speed and the
// volume steps.
#include "PlaybackLog.h"
#include "VXLPlaybackController.h"

#include <algorithm>

namespace {

constexpr int kJumpSeconds = 10;
constexpr double kMaxSpeed = 2;
constexpr int kVolumeStep = 10;

} // namespace

void VXLPlaybackController::seekToEnd(VXLPlayerInterface* player)
{
    if (!player->media())
        return;
    const VLCTime length = player->media()->length();
    if (length.isValid() && length.intValue() > 0)
        player->setTime(length);
    else
        player->setPosition(1.0f);
}

void VXLPlaybackController::movePartnerWithMaster(int64_t targetMs)
{
    // A seek takes a player a few hundred milliseconds: a partner that started its own only at
    // the re-alignment would stay that far behind. It goes to the master's target at once;
    // the re-alignment then finds the two together and leaves them.
    if (m_player2->media())
        m_player2->setTime(VLCTime::timeWithInt(std::max<int64_t>(0, targetMs)));
}

void VXLPlaybackController::jumpForward()
{
    const VLCTime remaining = m_player1->remainingTime();
    qCDebug(lcPlayback, "[%s] _player1.time=%s,remainingTime.stringValue=%s", "D ",
            qPrintable(m_player1->time().stringValue()), qPrintable(remaining.stringValue()));
    if (m_moving || !m_player1->media())
        return;
    const int64_t lengthMs = m_player1->media()->length().intValue();
    // Without a known length there is neither a remaining time nor a position to show.
    if (!remaining.isValid() || lengthMs <= 0)
        return;
    if (remaining.intValue() / 1000.0 > -kJumpSeconds) {
        // Less than a jump is left: both go to their ends and the next recording follows.
        seekToEnd(m_player1);
        seekToEnd(m_player2);
        return;
    }
    m_moving = true;
    m_movingPosition = m_player1->position() + kJumpSeconds * 1000.0 / double(lengthMs);
    m_playInfo->setPosition(m_movingPosition);
    const int64_t targetMs = m_player1->time().intValue() + kJumpSeconds * 1000;
    m_alignment.startTogether();
    m_player1->jumpForward(kJumpSeconds);
    movePartnerWithMaster(targetMs);
    syncVideoPositionDelay(0.3);
}

void VXLPlaybackController::jumpBackward()
{
    if (m_moving || !m_player1->media())
        return;
    // Within the first ten seconds both go to the start; either way the move is checked.
    const bool toStart = m_player1->time().intValue() / 1000.0 < kJumpSeconds;
    const int64_t targetMs = toStart ? 0 : m_player1->time().intValue() - kJumpSeconds * 1000;
    m_moving = true;
    // The position shown during the move is where the jump goes, as for a jump forward:
    // a paused master reports no time changes afterwards, and the slider would stay
    // where the jump started.
    const int64_t lengthMs = m_player1->media()->length().intValue();
    m_movingPosition = lengthMs > 0 ? double(targetMs) / double(lengthMs) : 0;
    m_playInfo->setPosition(m_movingPosition);
    m_alignment.startTogether();
    if (toStart) {
        for (VXLPlayerInterface* player : {m_player1, m_player2}) {
            if (player->media())
                player->setTime(VLCTime::nullTime());
        }
    } else {
        m_player1->jumpBackward(kJumpSeconds);
        movePartnerWithMaster(targetMs);
    }
    syncVideoPositionDelay(0.3);
    updateAudioUI();
}

void VXLPlaybackController::increaseSpeed()
{
    if (!m_player1->media() || m_playInfo->speed() + 1 > kMaxSpeed)
        return;
    // A partner running briefly faster or slower to catch up goes back to the common rate
    // first.
    m_alignment.cancel();
    for (VXLPlayerInterface* player : {m_player1, m_player2})
        player->setRate(player->rate() + 1);
    m_playInfo->setSpeed(m_playInfo->speed() + 1);
    m_alignment.setRate(float(m_playInfo->speed()));
}

void VXLPlaybackController::decreaseSpeed()
{
    if (!m_player1->media() || m_playInfo->speed() <= 1)
        return;
    m_alignment.cancel();
    for (VXLPlayerInterface* player : {m_player1, m_player2})
        player->setRate(player->rate() - 1);
    m_playInfo->setSpeed(m_playInfo->speed() - 1);
    m_alignment.setRate(float(m_playInfo->speed()));
}

void VXLPlaybackController::volumeUp()
{
    setVolume(m_volume + kVolumeStep);
}

void VXLPlaybackController::volumeDown()
{
    setVolume(m_volume - kVolumeStep);
}

void VXLPlaybackController::volumeSliderMoved(int value)
{
    setVolume(value);
}
