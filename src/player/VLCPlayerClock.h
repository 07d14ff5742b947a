#pragma once

#include <cstdint>

// The time of one player between libVLC's own reports. libVLC reports a playing media's time
// about three times a second, each report true to a frame or so when it is made; in between,
// the time is carried on by the monotonic clock at the player's rate. While the same stretch
// plays, the time never runs backwards: a report behind the carried time holds it until
// libVLC catches up. A seek starts a new stretch; it has landed when libVLC reports a time
// after the seek's buffering (the second report: the first is rough), and until then the
// time is the seek's target. A pause freezes the time at the moment libVLC paused, which is
// the frame left on the screen.
//
// Plain logic, no libVLC: the player feeds it events stamped on libVLC's thread, in
// nanoseconds of the monotonic clock (steadyNowNs), and asks it for the time.
class VLCPlayerClock
{
public:
    static int64_t steadyNowNs();

    // A new media, a stop: nothing is known.
    void reset();
    // A seek to targetMs was sent; `generation` tags the events that come after it.
    void seekStarted(int64_t targetMs, uint64_t generation);
    // libVLC has buffered after a seek (its buffering reached 100 %). Answers true when that
    // lands the seek (a paused player).
    bool bufferingDone(uint64_t generation);
    // A time report of libVLC, stamped when libVLC made it. Answers true when it lands the
    // seek under way.
    bool timeReported(int64_t libVLCMs, int64_t stampNs, uint64_t generation);
    // libVLC paused at stampNs (by request or at the end of the media).
    void paused(int64_t stampNs, int64_t lengthMs);
    // Asked to play again from where the pause left it.
    void resumed(int64_t nowNs);
    // libVLC reports playing (stamped on its thread).
    void playing(int64_t stampNs);
    void setRate(float rate, int64_t nowNs);

    // The time at nowNs: the target while a seek has not landed, the frozen time while
    // paused, libVLC's last report carried on while playing. libVLCMs is libVLC's own
    // reading, used when nothing better is known; -1 when there is no time at all.
    int64_t timeAt(int64_t nowNs, bool playing, int64_t libVLCMs, int64_t lengthMs);

    bool isSeeking() const { return m_seekTargetMs >= 0; }
    // The seek under way gives up waiting for its landing (libVLC's time is taken as it is).
    void abandonSeek();
    int64_t seekTargetMs() const { return m_seekTargetMs; }
    int64_t seekStartedNs() const { return m_seekStartedNs; }

private:
    void anchor(int64_t timeMs, int64_t stampNs);
    // A paused player's seek has landed: it shows the target.
    void landStanding();
    int64_t carried(int64_t nowNs, int64_t lengthMs) const;

    float m_rate = 1.0f;
    // The last report (or a point set by a pause, a resume, a rate change) and when it held.
    int64_t m_anchorMs = -1;
    int64_t m_anchorNs = 0;
    // Nothing returned while playing goes below this, until the next seek.
    int64_t m_floorMs = -1;
    // The time shown by a paused player; -1 while playing.
    int64_t m_frozenMs = -1;
    // Resumed from a pause, not yet playing: the anchor's moment is the start of playing.
    bool m_resumePending = false;

    int64_t m_seekTargetMs = -1;
    int64_t m_seekStartedNs = 0;
    uint64_t m_seekGeneration = 0;
    bool m_seekBuffered = false;
    int m_reportsAfterSeek = 0;
};
