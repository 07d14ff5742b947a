#include "cardtools/ui/VXLTimeSetupController.h"

#include "ui_VXLTimeSetupController.h"

#include "cardtools/TimeSetFile.h"
#include "cardtools/VolumeDiscovery.h"
#include "cardtools/ui/CardToolsStyle.h"
#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QFileDialog>
#include <QLocale>
#include <QTimer>

VXLTimeSetupController::VXLTimeSetupController(const BlockDeviceSource& source, QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::VXLTimeSetupController>()),
      m_source(source)
{
    ui->setupUi(this);
    m_pool.setMaxThreadCount(1);
    connect(ui->datePicker, &QCalendarWidget::selectionChanged, this,
            &VXLTimeSetupController::daySelectedFromPicker);
    connect(ui->timePicker, &QTimeEdit::timeChanged, this,
            &VXLTimeSetupController::timeSelectedFromPicker);
    connect(ui->clockTimePicker, &GWClockTimePicker::timeChanged, this,
            &VXLTimeSetupController::timeSelectedFromClickTimePicker);
    connect(ui->nowDaySettingChk, &QCheckBox::toggled, this,
            &VXLTimeSetupController::nowDayChecked);
    connect(ui->saveButton, &QPushButton::clicked, this, &VXLTimeSetupController::onSaveConfigFile);
    connect(ui->cancelButton, &QPushButton::clicked, this, &VXLTimeSetupController::onCloseCmd);
    windowDidLoad();
}

VXLTimeSetupController::~VXLTimeSetupController()
{
    m_pool.waitForDone();
}

void VXLTimeSetupController::windowDidLoad()
{
    setWindowTitle(localizedString(QStringLiteral("time.window_title")));
    setStyleSheet(cardToolsStyleSheet());
    onInitDIalog();
}

void VXLTimeSetupController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    centreCardWindowOnce(this, m_centred);
}

void VXLTimeSetupController::onInitDIalog()
{
    loadSettingFile();
    const QDateTime now = QDateTime::currentDateTime();
    m_selectedDate = now.date();
    m_selectedTime = QTime(now.time().hour(), now.time().minute(), now.time().second());
    {
        const QSignalBlocker dateBlocker(ui->datePicker);
        ui->datePicker->setSelectedDate(m_selectedDate);
    }
    ui->timePicker->setTime(m_selectedTime);
    ui->clockTimePicker->setTime(m_selectedTime);
    refreshDateTexts();
    ui->saveButton->setText(localizedString(QStringLiteral("save")));
    ui->cancelButton->setText(localizedString(QStringLiteral("cancel")));
}

void VXLTimeSetupController::loadSettingFile()
{
    // lsblk may take a moment: Save waits for the answer, the window does not.
    ui->saveButton->setEnabled(false);
    m_pool.start([this] {
        // When the volumes cannot be listed, Save asks where to put the file, as with no card.
        const std::optional<QUrl> card =
            findUSBVolumeWithFile(QString::fromLatin1(kTimeSetFileName), m_source).found;
        const QString path =
            card ? card->toLocalFile() + u'/' + QString::fromLatin1(kTimeSetFileName) : QString();
        QMetaObject::invokeMethod(
            this,
            [this, path] {
                m_SettingFilePath = path;
                m_cardSearchDone = true;
                ui->saveButton->setEnabled(true);
                Q_EMIT cardSearchDone();
            },
            Qt::QueuedConnection);
    });
}

void VXLTimeSetupController::refreshDateTexts()
{
    const QLocale locale;
    ui->dateField->setText(locale.toString(m_selectedDate, QLocale::LongFormat));
    ui->nowDaySettingChk->setText(QStringLiteral("%1(%2)").arg(
        localizedString(QStringLiteral("today")), locale.toString(m_selectedDate, u"d MMM yyyy")));
}

void VXLTimeSetupController::daySelectedFromPicker()
{
    m_selectedDate = ui->datePicker->selectedDate();
    refreshDateTexts();
}

void VXLTimeSetupController::timeSelectedFromPicker(const QTime& time)
{
    m_selectedTime = time;
    ui->clockTimePicker->setTime(time);
}

void VXLTimeSetupController::timeSelectedFromClickTimePicker(const QTime& time)
{
    m_selectedTime = time;
    ui->timePicker->setTime(time);
}

void VXLTimeSetupController::nowDayChecked(bool checked)
{
    if (!checked)
        return;
    // Only the date follows the computer; a time picked before is kept.
    m_selectedDate = QDate::currentDate();
    {
        const QSignalBlocker blocker(ui->datePicker);
        ui->datePicker->setSelectedDate(m_selectedDate);
    }
    refreshDateTexts();
    // The box acts as a button: it unticks itself shortly after.
    QTimer::singleShot(std::max(0, int(200 * m_timeScale)), this, [this] {
        const QSignalBlocker blocker(ui->nowDaySettingChk);
        ui->nowDaySettingChk->setChecked(false);
    });
}

void VXLTimeSetupController::openSavePanel(std::function<void(const QString& path)> chosen)
{
    auto* panel = new QFileDialog(this, localizedString(QStringLiteral("time.save_panel")));
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setNameFilter(QStringLiteral("*.cfg"));
    panel->setDefaultSuffix(QStringLiteral("cfg"));
    panel->selectFile(QString::fromLatin1(kTimeSetFileName));
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::fileSelected, this,
            [chosen = std::move(chosen)](const QString& path) { chosen(path); });
    panel->open();
}

void VXLTimeSetupController::onSaveConfigFile()
{
    if (!m_SettingFilePath.isEmpty()) {
        doWriteConfigFile(m_SettingFilePath);
        return;
    }
    openSavePanel([this](const QString& path) { doWriteConfigFile(path); });
}

void VXLTimeSetupController::doWriteConfigFile(const QString& path)
{
    ui->saveButton->setEnabled(false);
    const QDate date = m_selectedDate;
    const QTime time = m_selectedTime;
    // A card can be slow to take even 19 bytes: the write runs off the GUI thread.
    m_pool.start([this, path, date, time] {
        const QString reason = writeTimeSetFile(path, date, time);
        QMetaObject::invokeMethod(
            this,
            [this, path, reason] {
                ui->saveButton->setEnabled(true);
                if (!reason.isEmpty()) {
                    // Said, and the window stays open: the user can try another file.
                    showAlertSheet(this, localizedString(QStringLiteral("msg.time_file_fail")),
                                   QStringLiteral("%1\n%2").arg(path, reason));
                    return;
                }
                showAlertSheet(this, QStringLiteral("ZUVA"),
                               localizedString(QStringLiteral("time.filesave")),
                               [this] { onCloseCmd(); });
            },
            Qt::QueuedConnection);
    });
}

void VXLTimeSetupController::onCloseCmd()
{
    close();
}
