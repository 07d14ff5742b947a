#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class VXLPlayerInterface;

// Brings the partner player to the frame the master shows, and checks that it got there.
// A seek takes effect only some time after it is sent (hundreds of milliseconds, more on a
// busy machine, and never the same twice), while the master plays on: a partner sent to
// where the master stood lands behind it. So:
// 1. wait until the seeks under way in either player have landed;
// 2. measure the gap; within a frame, done;
// 3. a gap of a frame or two while both play is closed by running the partner briefly
//    faster or slower;
// 4. a partner further ahead is paused until the master has caught up;
// 5. a partner further behind (or standing) is sent ahead of the master, to where the
//    master will be once the seek has landed, waits there paused and plays on when the
//    master arrives;
// 6. a standing master is met exactly, with the partner standing too;
// 7. then measure again, a few rounds at most.
// A move of both players while they play (slider, jump, swap) is better not left to land
// apart at all: startTogether() stands both while their seeks land, and starts them together
// once both have; the alignment that follows finds them together.
// GUI thread only. Every wait is scaled by the playback's time scale.
class VXLPartnerAlignment : public QObject
{
    Q_OBJECT

public:
    VXLPartnerAlignment(VXLPlayerInterface* master, VXLPlayerInterface* partner,
                        QObject* parent = nullptr);

    void setTimeScale(double scale) { m_timeScale = scale; }
    // The rate both players play at (1 or 2); the partner returns to it after a nudge.
    void setRate(float rate) { m_rate = rate; }

    // Starts an alignment; one under way starts over. While both players stand for a
    // common start, the alignment follows that start.
    void align();
    // Call just before both players are sent to one place: while the master plays, both
    // stand until both seeks have landed, and then play on together.
    void startTogether();
    // Stops an alignment under way and puts the partner back to the common rate; players
    // standing for a common start play on (they were playing).
    void cancel();
    // Stops an alignment under way and leaves both players standing where they are (the user
    // paused).
    void cancelStanding();
    bool isAligning() const { return m_round >= 0; }
    // Both players stand for a common start: to the user they play.
    bool isStartingTogether() const { return m_startingTogether; }

    // How far ahead of a playing master the partner is sent: twice the time its seeks took
    // lately, and a little more.
    double expectedSeekMs() const { return m_expectedSeekMs; }

    // A gap within this counts as aligned: less than a frame at 30 frames a second (the
    // players' times are themselves true to about a frame).
    static constexpr double kToleranceMs = 25;

Q_SIGNALS:
    // An alignment ended; gapMs is the gap it left (master minus partner), measured last.
    void aligned(double gapMs);

private:
    static bool plays(const VXLPlayerInterface* player);
    void after(double ms, std::function<void()> step);
    void measure();
    void waitForLanding();
    void waitForBothLandings();
    void startBoth();
    void nudge(double gapMs);
    void hold(double aheadMs);
    void meetAhead();
    void waitForMaster();
    void resumePartner();
    void seekToStandingMaster();
    void finish(double gapMs);
    double gapMs() const;
    int64_t clampToPartner(int64_t timeMs) const;

    VXLPlayerInterface* m_master;
    VXLPlayerInterface* m_partner;
    QTimer m_timer;
    std::function<void()> m_step;
    double m_timeScale = 1.0;
    float m_rate = 1.0f;
    // -1 when idle.
    int m_round = -1;
    double m_waitedMs = 0;
    bool m_nudging = false;
    // The partner stands (paused by us) waiting for the master.
    bool m_holding = false;
    bool m_resumedAfterWait = false;
    bool m_startingTogether = false;
    // Where the partner waits for the master, and when its seek there was sent (monotonic
    // ms; -1 once it has landed).
    int64_t m_meetingMs = -1;
    qint64 m_seekSentMs = -1;
    double m_expectedSeekMs = 200;
    // The partner starts this long after play(): it is resumed that much early.
    double m_resumeLeadMs = 0;
};
