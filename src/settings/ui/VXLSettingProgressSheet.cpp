#include "VXLSettingProgressSheet.h"

#include "ui_VXLSettingProgressPanel.h"

#include <QDialog>

#include <cmath>

namespace {

constexpr int kTickMs = 500;
constexpr double kLongestSeconds = 15;

} // namespace

VXLSettingProgressSheet::VXLSettingProgressSheet(QWidget* window)
    : QObject(window), m_window(window), m_panel(new QDialog(window)),
      m_ui(std::make_unique<Ui::VXLSettingProgressPanel>())
{
    m_ui->setupUi(m_panel);
    m_panel->setWindowModality(Qt::WindowModal);
    // The sheet goes by itself; the window's close box must not end it half-way.
    m_panel->setWindowFlags(Qt::Sheet | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_tick.setSingleShot(true);
    connect(&m_tick, &QTimer::timeout, this, [this] { updateLoadingWindow(kLongestSeconds); });
}

VXLSettingProgressSheet::~VXLSettingProgressSheet() = default;

void VXLSettingProgressSheet::showLoading(const QString& title)
{
    QPProgressIndicator* indicator = m_ui->progressIndicator;
    indicator->setIndeterminate(true);
    m_stopLoadingWindow = false;
    m_progress = 0;
    indicator->setDoubleValue(indicator->minValue());
    indicator->startAnimation();
    m_ui->progressTitleField->setText(title);
    m_panel->setWindowTitle(title);
    scheduleTick();
    m_panel->open();
}

void VXLSettingProgressSheet::updateLoadingWindow(double seconds)
{
    QPProgressIndicator* indicator = m_ui->progressIndicator;
    m_progress += 100.0 / (2.0 * seconds);
    indicator->setDoubleValue(m_progress);
    if (m_progress >= 100.0 || m_stopLoadingWindow) {
        indicator->setDoubleValue(indicator->minValue());
        indicator->stopAnimation();
        m_panel->close();
        m_stopLoadingWindow = true;
        Q_EMIT sheetClosed();
        return;
    }
    scheduleTick();
}

void VXLSettingProgressSheet::hideLoading()
{
    m_stopLoadingWindow = true;
}

bool VXLSettingProgressSheet::isShown() const
{
    return m_panel->isVisible();
}

void VXLSettingProgressSheet::scheduleTick()
{
    m_tick.start(std::max(0, int(std::lround(kTickMs * m_timeScale))));
}
