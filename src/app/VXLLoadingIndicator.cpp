#include "VXLLoadingIndicator.h"

namespace {

constexpr int kLoadingTickMs = 300;
// The indicator gives up after this many seconds.
constexpr double kLoadingSeconds = 15;

} // namespace

VXLLoadingIndicator::VXLLoadingIndicator(QWidget* parent) : QPProgressIndicator(parent)
{
    // One timer: a second opening restarts it rather than running a second chain of steps.
    m_tick.setSingleShot(true);
    connect(&m_tick, &QTimer::timeout, this, [this] { updateLoadingWindow(kLoadingSeconds); });
}

void VXLLoadingIndicator::startLoading()
{
    setIndeterminate(true);
    m_stopVideoLoadingView = false;
    m_progress = 0;
    show();
    raise();
    setDoubleValue(minValue());
    if (isIndeterminate()) {
        startAnimation();
    }
    m_tick.start(int(kLoadingTickMs * m_timeScale));
}

void VXLLoadingIndicator::updateLoadingWindow(double seconds)
{
    m_progress += 100.0 / (seconds / (kLoadingTickMs / 1000.0));
    setDoubleValue(m_progress);
    if (m_progress < 100 && !m_stopVideoLoadingView) {
        m_tick.start(int(kLoadingTickMs * m_timeScale));
        return;
    }
    setDoubleValue(minValue());
    stopAnimation();
    hide();
    m_stopVideoLoadingView = true;
}
