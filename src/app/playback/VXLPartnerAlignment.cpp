#include "VXLPartnerAlignment.h"

#include "PlaybackLog.h"
#include "player/VXLPlayerInterface.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kMaxRounds = 4;
// Gaps up to this (two frames) are closed by a rate change. libVLC takes rate changes on its
// own thread, late: two sent close together can take effect together and cancel out, so a
// nudge lasts at least kMinNudgeMs.
constexpr double kNudgeLimitMs = 60;
constexpr double kMinNudgeMs = 600;
// libVLC applies a rate up to half a second late, and reports its time a few times a second:
// only after both does the partner's time tell the new truth.
constexpr double kRateSettleMs = 900;
// After the partner resumed, before its time is measured again.
constexpr double kResumeSettleMs = 400;
constexpr double kPollMs = 10;
// Seeks that have not landed by then are left to themselves.
constexpr double kLandingLimitMs = 4000;
constexpr double kMaxExpectedSeekMs = 1500;
constexpr double kMaxResumeLeadMs = 150;

qint64 monotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

} // namespace

VXLPartnerAlignment::VXLPartnerAlignment(VXLPlayerInterface* master, VXLPlayerInterface* partner,
                                         QObject* parent)
    : QObject(parent), m_master(master), m_partner(partner)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_step)
            std::exchange(m_step, nullptr)();
    });
}

void VXLPartnerAlignment::after(double ms, std::function<void()> step)
{
    m_step = std::move(step);
    m_timer.start(std::max(0, int(std::lround(ms * m_timeScale))));
}

void VXLPartnerAlignment::align()
{
    // The common start goes on into a measurement of its own.
    if (m_startingTogether)
        return;
    cancel();
    m_round = 0;
    m_waitedMs = 0;
    measure();
}

void VXLPartnerAlignment::startTogether()
{
    // Players already standing for a common start stay standing for the new one. Started and
    // stopped again at once, they would not stop: a player takes a pause only once it
    // reports playing.
    const bool standing = std::exchange(m_startingTogether, false);
    cancel();
    if (!m_master->media() || !m_partner->media()) {
        if (standing && m_master->media())
            m_master->play();
        return;
    }
    if (!standing && !plays(m_master))
        return;
    // A seek sent to a standing player lands with its picture shown and waits there; two such
    // players started together stay together (as after a pause).
    m_round = 0;
    m_waitedMs = 0;
    m_startingTogether = true;
    m_master->pause();
    if (plays(m_partner))
        m_partner->pause();
    qCDebug(lcPlayback, "alignment: both players stand until both seeks have landed");
    after(kPollMs, [this] { waitForBothLandings(); });
}

void VXLPartnerAlignment::waitForBothLandings()
{
    if (!m_master->media() || !m_partner->media()) {
        m_startingTogether = false;
        finish(0);
        return;
    }
    m_waitedMs += kPollMs;
    if ((m_master->isSeeking() || m_partner->isSeeking()) && m_waitedMs <= kLandingLimitMs) {
        after(kPollMs, [this] { waitForBothLandings(); });
        return;
    }
    startBoth();
}

void VXLPartnerAlignment::startBoth()
{
    qCDebug(lcPlayback, "alignment: both seeks landed (master %lld, partner %lld); both play on",
            (long long)m_master->time().intValue(), (long long)m_partner->time().intValue());
    m_startingTogether = false;
    m_waitedMs = 0;
    m_master->play();
    m_partner->play();
    after(kResumeSettleMs, [this] { measure(); });
}

void VXLPartnerAlignment::cancelStanding()
{
    m_startingTogether = false;
    m_holding = false;
    cancel();
}

void VXLPartnerAlignment::cancel()
{
    m_timer.stop();
    if (m_startingTogether && m_master->media() && m_partner->media()) {
        m_master->play();
        m_partner->play();
    }
    m_startingTogether = false;
    m_step = nullptr;
    if (m_nudging && m_partner->media())
        m_partner->setRate(m_rate);
    m_nudging = false;
    // A partner held for the master is never left standing while the master plays.
    if (m_holding && m_partner->media() && m_master->state() == VLCMediaPlayerState::Playing)
        m_partner->play();
    m_holding = false;
    m_round = -1;
}

bool VXLPartnerAlignment::plays(const VXLPlayerInterface* player)
{
    return player->state() == VLCMediaPlayerState::Playing;
}

double VXLPartnerAlignment::gapMs() const
{
    return double(m_master->time().intValue() - m_partner->time().intValue());
}

int64_t VXLPartnerAlignment::clampToPartner(int64_t timeMs) const
{
    const int64_t length = m_partner->media()->length().intValue();
    if (length > 0)
        timeMs = std::min(timeMs, length);
    return std::max<int64_t>(0, timeMs);
}

void VXLPartnerAlignment::measure()
{
    if (!m_master->media() || !m_partner->media()) {
        finish(0);
        return;
    }
    if (m_master->isSeeking() || m_partner->isSeeking()) {
        waitForLanding();
        return;
    }
    m_waitedMs = 0;
    const bool masterPlays = plays(m_master);
    const bool partnerPlays = plays(m_partner);
    const double gap = gapMs();
    qCDebug(lcPlayback, "alignment round %d: partner %.0f ms behind (master %lld, partner %lld)",
            m_round, gap, (long long)m_master->time().intValue(),
            (long long)m_partner->time().intValue());
    if (m_resumedAfterWait && partnerPlays) {
        // What is left after the partner resumed at its moment is the time it takes to start.
        m_resumeLeadMs = std::clamp(m_resumeLeadMs + gap / 2, 0.0, kMaxResumeLeadMs);
    }
    m_resumedAfterWait = false;
    const bool statesAgree = masterPlays == partnerPlays;
    if ((std::abs(gap) <= kToleranceMs && statesAgree) || m_round >= kMaxRounds) {
        finish(gap);
        return;
    }
    ++m_round;
    if (!masterPlays)
        seekToStandingMaster();
    else if (partnerPlays && std::abs(gap) <= kNudgeLimitMs)
        nudge(gap);
    else if (partnerPlays && gap < 0)
        hold(-gap);
    else
        meetAhead();
}

void VXLPartnerAlignment::waitForLanding()
{
    m_waitedMs += kPollMs;
    if (m_waitedMs > kLandingLimitMs) {
        finish(gapMs());
        return;
    }
    after(kPollMs, [this] { measure(); });
}

void VXLPartnerAlignment::nudge(double gapMs)
{
    qCDebug(lcPlayback, "alignment: partner runs faster or slower for %.0f ms", kMinNudgeMs);
    m_nudging = true;
    // The partner gains (or loses) `share` of the master's rate each millisecond.
    const double share = std::abs(gapMs) / (kMinNudgeMs * m_rate);
    m_partner->setRate(float(m_rate * (gapMs > 0 ? 1 + share : 1 - share)));
    after(kMinNudgeMs, [this] {
        m_partner->setRate(m_rate);
        m_nudging = false;
        after(kRateSettleMs, [this] { measure(); });
    });
}

void VXLPartnerAlignment::hold(double aheadMs)
{
    // The partner waits for the master; a pause keeps its picture and its place exactly.
    qCDebug(lcPlayback, "alignment: partner waits %.0f ms for the master", aheadMs);
    m_holding = true;
    m_partner->pause();
    after(std::max(0.0, aheadMs / m_rate - m_resumeLeadMs), [this] { resumePartner(); });
}

void VXLPartnerAlignment::meetAhead()
{
    // A seek lands some unknown time later, so the partner is sent ahead of the master,
    // waits there paused with its picture ready, and plays on when the master arrives.
    m_holding = true;
    if (plays(m_partner))
        m_partner->pause();
    const double leadMs = std::clamp(2 * m_expectedSeekMs + 200, 300.0, 2 * kMaxExpectedSeekMs);
    m_meetingMs = clampToPartner(m_master->time().intValue() + int64_t(leadMs * m_rate));
    m_seekSentMs = monotonicMs();
    qCDebug(lcPlayback, "alignment: partner sent %.0f ms ahead of the master, to %lld", leadMs,
            (long long)m_meetingMs);
    m_partner->setTime(VLCTime::timeWithInt(m_meetingMs));
    m_waitedMs = 0;
    after(kPollMs, [this] { waitForMaster(); });
}

void VXLPartnerAlignment::waitForMaster()
{
    if (!m_partner->media() || !plays(m_master)) {
        // The master was paused or unloaded meanwhile: nothing to meet.
        m_holding = false;
        finish(gapMs());
        return;
    }
    if (m_partner->isSeeking()) {
        m_waitedMs += kPollMs;
        if (m_waitedMs > kLandingLimitMs) {
            resumePartner();
            return;
        }
        after(kPollMs, [this] { waitForMaster(); });
        return;
    }
    if (m_seekSentMs >= 0) {
        const double seekMs = double(monotonicMs() - m_seekSentMs) / m_timeScale;
        m_expectedSeekMs = std::clamp((m_expectedSeekMs + seekMs) / 2, 0.0, kMaxExpectedSeekMs);
        m_seekSentMs = -1;
    }
    const double untilMeetingMs =
        double(m_meetingMs - m_master->time().intValue()) / m_rate - m_resumeLeadMs;
    if (untilMeetingMs <= 0) {
        resumePartner();
        return;
    }
    // The last stretch is waited for in one go; the timer is precise to a millisecond or so.
    after(untilMeetingMs > 4 * kPollMs ? untilMeetingMs / 2 : untilMeetingMs,
          [this] { waitForMaster(); });
}

void VXLPartnerAlignment::resumePartner()
{
    qCDebug(lcPlayback, "alignment: partner plays on with the master at %lld",
            (long long)m_master->time().intValue());
    m_holding = false;
    m_resumedAfterWait = true;
    if (plays(m_master))
        m_partner->play();
    after(kResumeSettleMs, [this] { measure(); });
}

void VXLPartnerAlignment::seekToStandingMaster()
{
    // A standing master stays where it is: the partner goes exactly there, and stands too.
    if (plays(m_partner))
        m_partner->pause();
    m_partner->setTime(VLCTime::timeWithInt(clampToPartner(m_master->time().intValue())));
    m_waitedMs = 0;
    after(kPollMs, [this] { measure(); });
}

void VXLPartnerAlignment::finish(double gapMs)
{
    const bool wasAligning = isAligning();
    cancel();
    if (wasAligning)
        Q_EMIT aligned(gapMs);
}
