#pragma once

#include "widgets/QPProgressIndicator.h"

#include <QTimer>

// The loading indicator of an opening: it advances one step every 0.3 s and goes once it is
// full (15 s) or at the first step after it was told to stop. Showing it again starts over.
class VXLLoadingIndicator : public QPProgressIndicator
{
    Q_OBJECT

public:
    explicit VXLLoadingIndicator(QWidget* parent = nullptr);

    // Tests: every delay is multiplied by `scale`.
    void setTimeScale(double scale) { m_timeScale = scale; }

    // Shows the indicator from zero (showLoading).
    void startLoading();
    // Asks it to go at its next step (hideLoading).
    void stopLoading() { m_stopVideoLoadingView = true; }
    bool isLoadingVisible() const { return !isHidden(); }
    // Percent shown.
    double progress() const { return m_progress; }

private:
    void updateLoadingWindow(double seconds);

    QTimer m_tick;
    double m_timeScale = 1.0;
    double m_progress = 0;
    bool m_stopVideoLoadingView = true;
};
