#pragma once

#include <QDateTime>
#include <QString>
#include <QThreadPool>
#include <QWidget>

#include <functional>
#include <memory>

class BlockDeviceSource;

namespace Ui {
class VXLTimeSetupController;
}

// The clock window: a date and a time picked in the calendar, the text time field or the
// clock, saved as the camera's clock file timeset.cfg: onto the card when one holds a
// timeset.cfg already, else into a file chosen in a save panel.
class VXLTimeSetupController : public QWidget
{
    Q_OBJECT

public:
    // Looks for the card among the USB volumes of `source`, which outlives the window.
    explicit VXLTimeSetupController(const BlockDeviceSource& source, QWidget* parent = nullptr);
    ~VXLTimeSetupController() override;

    // The timeset.cfg found on a card, or empty while none was found (or the search runs).
    const QString& settingFilePath() const { return m_SettingFilePath; }
    bool isCardSearchDone() const { return m_cardSearchDone; }
    QDate selectedDate() const { return m_selectedDate; }
    QTime selectedTime() const { return m_selectedTime; }

    // Tests: scales the 0.2 s after which the "today" box unticks itself.
    void setTimeScale(double scale) { m_timeScale = scale; }

public Q_SLOTS:
    void daySelectedFromPicker();
    void timeSelectedFromPicker(const QTime& time);
    void timeSelectedFromClickTimePicker(const QTime& time);
    void nowDayChecked(bool checked);
    void onSaveConfigFile();
    void onCloseCmd();

Q_SIGNALS:
    // The search for a card holding timeset.cfg has ended.
    void cardSearchDone();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void windowDidLoad();
    void onInitDIalog();
    void loadSettingFile();
    void refreshDateTexts();
    void openSavePanel(std::function<void(const QString& path)> chosen);
    void doWriteConfigFile(const QString& path);

    std::unique_ptr<Ui::VXLTimeSetupController> ui;
    const BlockDeviceSource& m_source;
    QThreadPool m_pool;
    QString m_SettingFilePath;
    bool m_cardSearchDone = false;
    QDate m_selectedDate;
    QTime m_selectedTime;
    double m_timeScale = 1.0;
    bool m_centred = false;
};
