#include "VLCPlayerClock.h"

#include <algorithm>
#include <chrono>

namespace {

// The longest stretch carried on past a report: a stalled input does not run away.
constexpr int64_t kMaxCarryMs = 750;
// A report this far behind the time already given is no jitter but a jump of the media
// itself: the time follows it.
constexpr int64_t kJumpBackMs = 1500;

} // namespace

int64_t VLCPlayerClock::steadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void VLCPlayerClock::reset()
{
    m_resumePending = false;
    m_anchorMs = -1;
    m_floorMs = -1;
    m_frozenMs = -1;
    m_seekTargetMs = -1;
    m_seekBuffered = false;
}

void VLCPlayerClock::seekStarted(int64_t targetMs, uint64_t generation)
{
    m_seekTargetMs = std::max<int64_t>(0, targetMs);
    m_seekStartedNs = steadyNowNs();
    m_seekGeneration = generation;
    m_seekBuffered = false;
    m_reportsAfterSeek = 0;
    m_anchorMs = -1;
    m_floorMs = -1;
    // A paused player shows the target once the seek has landed; until then the target is
    // the best word for where it stands.
    if (m_frozenMs >= 0)
        m_frozenMs = m_seekTargetMs;
}

bool VLCPlayerClock::bufferingDone(uint64_t generation)
{
    if (m_seekTargetMs < 0 || generation != m_seekGeneration)
        return false;
    if (m_frozenMs >= 0) {
        // Paused: libVLC reports no time until it plays again, and the target is shown now.
        landStanding();
        return true;
    }
    m_seekBuffered = true;
    return false;
}

void VLCPlayerClock::landStanding()
{
    m_frozenMs = m_seekTargetMs;
    m_floorMs = m_frozenMs;
    m_seekTargetMs = -1;
    m_seekBuffered = false;
}

void VLCPlayerClock::abandonSeek()
{
    m_seekTargetMs = -1;
    m_seekBuffered = false;
}

bool VLCPlayerClock::timeReported(int64_t libVLCMs, int64_t stampNs, uint64_t generation)
{
    if (m_seekTargetMs >= 0) {
        // libVLC repeats the target as soon as a seek is sent, and reports from before the
        // seek may still be on their way: only a report after the seek's buffering tells
        // where the player really is. Not the first one, though: it is made while libVLC
        // still counts the buffered stretch, and can be off by hundreds of milliseconds.
        if (generation != m_seekGeneration || !m_seekBuffered)
            return false;
        if (++m_reportsAfterSeek < 2)
            return false;
        m_seekTargetMs = -1;
        m_seekBuffered = false;
        m_resumePending = false;
        anchor(libVLCMs, stampNs);
        return true;
    }
    if (generation != m_seekGeneration)
        return false;
    if (m_floorMs >= 0 && libVLCMs < m_floorMs - kJumpBackMs)
        m_floorMs = -1;
    m_resumePending = false;
    anchor(libVLCMs, stampNs);
    return false;
}

void VLCPlayerClock::anchor(int64_t timeMs, int64_t stampNs)
{
    m_anchorMs = timeMs;
    m_anchorNs = stampNs;
}

int64_t VLCPlayerClock::carried(int64_t nowNs, int64_t lengthMs) const
{
    const int64_t elapsedMs = std::max<int64_t>(0, (nowNs - m_anchorNs) / 1000000);
    int64_t time = m_anchorMs + std::min(kMaxCarryMs, int64_t(double(elapsedMs) * m_rate));
    if (lengthMs > 0)
        time = std::min(time, lengthMs);
    return time;
}

void VLCPlayerClock::paused(int64_t stampNs, int64_t lengthMs)
{
    if (m_seekTargetMs >= 0) {
        m_frozenMs = m_seekTargetMs;
        // Paused right after a seek whose buffering is already done: no report follows while
        // paused, and the target is what the picture shows.
        if (m_seekBuffered)
            landStanding();
        return;
    }
    if (m_anchorMs < 0)
        return;
    m_frozenMs = std::max(m_floorMs, carried(stampNs, lengthMs));
    m_floorMs = m_frozenMs;
}

void VLCPlayerClock::resumed(int64_t nowNs)
{
    if (m_frozenMs >= 0 && m_seekTargetMs < 0) {
        anchor(m_frozenMs, nowNs);
        m_resumePending = true;
    }
    m_frozenMs = -1;
}

void VLCPlayerClock::playing(int64_t stampNs)
{
    // The picture moves again only now, not when play() was asked for.
    if (m_resumePending)
        m_anchorNs = stampNs;
    m_resumePending = false;
}

void VLCPlayerClock::setRate(float rate, int64_t nowNs)
{
    // The stretch carried so far at the old rate stays as it was.
    if (m_anchorMs >= 0 && m_frozenMs < 0 && m_seekTargetMs < 0)
        anchor(carried(nowNs, -1), nowNs);
    m_rate = rate;
}

int64_t VLCPlayerClock::timeAt(int64_t nowNs, bool playing, int64_t libVLCMs, int64_t lengthMs)
{
    if (m_seekTargetMs >= 0)
        return m_seekTargetMs;
    if (m_frozenMs >= 0)
        return m_frozenMs;
    if (m_anchorMs < 0)
        return libVLCMs;
    if (!playing)
        return std::max(m_floorMs, m_anchorMs);
    const int64_t time = std::max(m_floorMs, carried(nowNs, lengthMs));
    m_floorMs = time;
    return time;
}
