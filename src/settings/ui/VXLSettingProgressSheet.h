#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QDialog;
class QWidget;
namespace Ui {
class VXLSettingProgressPanel;
}

// The "Loading..." sheet of the settings window: a window-modal panel with a title and a
// progress bar that advances every half second. hideLoading() only asks it to go; it closes at
// its next tick, so it stays at least half a second and at most 15 seconds (30 ticks).
class VXLSettingProgressSheet : public QObject
{
    Q_OBJECT

public:
    explicit VXLSettingProgressSheet(QWidget* window);
    ~VXLSettingProgressSheet() override;

    void showLoading(const QString& title);
    // One tick for a sheet that lasts at most `seconds`.
    void updateLoadingWindow(double seconds);
    void hideLoading();

    bool isShown() const;
    double progress() const { return m_progress; }
    QDialog* progressPanel() const { return m_panel; }

    // Tests run the half-second ticks faster.
    void setTimeScale(double scale) { m_timeScale = scale; }

Q_SIGNALS:
    void sheetClosed();

private:
    void scheduleTick();

    QWidget* m_window;
    QDialog* m_panel;
    std::unique_ptr<Ui::VXLSettingProgressPanel> m_ui;
    QTimer m_tick;
    double m_progress = 0;
    bool m_stopLoadingWindow = true;
    double m_timeScale = 1.0;
};
