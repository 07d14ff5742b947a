#include "cardtools/ui/VXLFormatWindowController.h"

#include "ui_VXLFormatWindowController.h"

#include "cardtools/DesktopCardFormatSystem.h"
#include "cardtools/FormatPlan.h"
#include "cardtools/ui/CardToolsStyle.h"
#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QCloseEvent>

namespace {

// The progress display runs for at most this long on its own, then stops.
constexpr double kProgressExpectedSeconds = 1000;
constexpr double kProgressTickSeconds = 0.3;

QString cardLine(const GWUSBDiskEntity& volume)
{
    return volume.displayString().trimmed();
}

QString keptSentence(const CardFormatResult& result)
{
    if (result.keptSettingsPath.isEmpty())
        return {};
    return u'\n' +
           localizedString(QStringLiteral("msg.config_kept_at")).arg(result.keptSettingsPath);
}

} // namespace

VXLFormatWindowController::VXLFormatWindowController(std::shared_ptr<CardFormatSystem> system,
                                                     QWidget* parent, const QString& keepFolder)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::VXLFormatWindowController>()),
      m_system(system), m_format(std::move(system), keepFolder)
{
    ui->setupUi(this);
    m_listPool.setMaxThreadCount(1);
    // The progress row keeps its room while hidden, so the window does not jump.
    for (QWidget* widget : {static_cast<QWidget*>(ui->progressBar),
                            static_cast<QWidget*>(ui->progressMessageField)}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    connect(ui->usbDiskCombo, &QComboBox::currentIndexChanged, this,
            &VXLFormatWindowController::changeDisk);
    connect(ui->formatButton, &QPushButton::clicked, this, &VXLFormatWindowController::onFormat);
    connect(ui->cancelButton, &QPushButton::clicked, this, &VXLFormatWindowController::cancel);
    connect(&m_format, &CardFormat::progressMessage, ui->progressMessageField, &QLabel::setText);
    connect(&m_format, &CardFormat::finished, this, &VXLFormatWindowController::formatDidFinished);
    connect(&m_progressTimer, &QTimer::timeout, this,
            [this] { updateProgressBar(kProgressExpectedSeconds); });
    windowDidLoad();
}

VXLFormatWindowController::VXLFormatWindowController(const BlockDeviceSource& source,
                                                     QWidget* parent)
    : VXLFormatWindowController(std::make_shared<DesktopCardFormatSystem>(source), parent)
{
}

VXLFormatWindowController::~VXLFormatWindowController()
{
    m_listPool.waitForDone();
}

void VXLFormatWindowController::setTimeScale(double scale)
{
    m_timeScale = scale;
    m_progressTimer.setInterval(std::max(1, int(kProgressTickSeconds * 1000 * m_timeScale)));
}

void VXLFormatWindowController::windowDidLoad()
{
    setWindowTitle(localizedString(QStringLiteral("format.window_title")));
    setStyleSheet(cardToolsStyleSheet());
    ui->allocationUnitLabel->setText(
        localizedString(QStringLiteral("setting.format.allocation_unit_size")));
    ui->fileSystemLabel->setText(localizedString(QStringLiteral("setting.format.filesystem")));
    ui->formatButton->setText(localizedString(QStringLiteral("setting.format.format")));
    ui->cancelButton->setText(localizedString(QStringLiteral("cancel")));
    ui->usbDiskCombo->setPlaceholderText(localizedString(QStringLiteral("format.no_volume")));
    ui->fileSystemField->setText(QStringLiteral("FAT32"));
    ui->pathField->setText(QStringLiteral("-"));
    ui->progressBar->setIndeterminate(true);
    ui->progressBar->setAttribute(Qt::WA_StyledBackground);
    m_progressTimer.setInterval(int(kProgressTickSeconds * 1000));
    m_stopProgressBar = true;
    ui->progressBar->hide();
    ui->progressMessageField->hide();
    updateSelectedDiskInfo();
    loadUSBVolumes();
}

void VXLFormatWindowController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    centreCardWindowOnce(this, m_centred);
}

void VXLFormatWindowController::closeEvent(QCloseEvent* event)
{
    // A format is never left half-way; the window closes once it has ended.
    if (isFormatting()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void VXLFormatWindowController::loadUSBVolumes(std::function<void()> completion)
{
    bool startedProgress = false;
    if (!m_stopProgressBar) {
        ui->progressMessageField->setText(QStringLiteral("Disk searching..."));
    } else {
        showProgressBar(QStringLiteral("Disk searching..."));
        startedProgress = true;
    }
    const quint64 generation = ++m_listGeneration;
    m_listPool.start([this, system = m_system, generation, startedProgress,
                      completion = std::move(completion)]() mutable {
        VolumeQuery<QList<GWUSBDiskEntity>> volumes = system->volumes();
        QMetaObject::invokeMethod(
            this,
            [this, generation, startedProgress, volumes = std::move(volumes),
             completion = std::move(completion)] {
                // A format or a later listing has replaced the list meanwhile.
                if (generation == m_listGeneration && !isFormatting()) {
                    setUSBVolumes(volumes.found);
                    // An empty list because lsblk failed is not "no USB drive": say why.
                    ui->usbDiskCombo->setPlaceholderText(
                        volumes.failed() ? localizedString(QStringLiteral("msg.volumes_unlisted"))
                                               .arg(volumes.failure)
                                         : localizedString(QStringLiteral("format.no_volume")));
                }
                if (startedProgress && !isFormatting())
                    hideProgressBar();
                if (completion)
                    completion();
            },
            Qt::QueuedConnection);
    });
}

void VXLFormatWindowController::setUSBVolumes(const QList<GWUSBDiskEntity>& volumes)
{
    m_usbDiskArray = volumes;
    {
        const QSignalBlocker blocker(ui->usbDiskCombo);
        ui->usbDiskCombo->clear();
        for (const GWUSBDiskEntity& volume : volumes)
            ui->usbDiskCombo->addItem(volume.displayString());
        ui->usbDiskCombo->setCurrentIndex(volumes.isEmpty() ? -1 : 0);
    }
    updateSelectedDiskInfo();
    Q_EMIT usbVolumesLoaded();
}

std::optional<GWUSBDiskEntity> VXLFormatWindowController::selectedUSBDisk() const
{
    const int index = ui->usbDiskCombo->currentIndex();
    if (index < 0 || index >= m_usbDiskArray.size())
        return std::nullopt;
    return m_usbDiskArray[index];
}

std::optional<GWUSBDiskEntity> VXLFormatWindowController::selectUSBByDevFile(const QString& device)
{
    for (qsizetype i = 0; i < m_usbDiskArray.size(); ++i) {
        if (m_usbDiskArray[i].deviceFilePath() == device) {
            ui->usbDiskCombo->setCurrentIndex(int(i));
            return m_usbDiskArray[i];
        }
    }
    return std::nullopt;
}

void VXLFormatWindowController::updateSelectedDiskInfo()
{
    const std::optional<GWUSBDiskEntity> volume = selectedUSBDisk();
    if (!volume) {
        ui->pathField->setText(QStringLiteral("-"));
        ui->allocationUnitField->setText(QStringLiteral("-"));
        return;
    }
    ui->pathField->setText(QStringLiteral("%1   %2").arg(volume->deviceFilePath(),
                                                         volume->mountedURL().toLocalFile()));
    // The unit the card really gets: sectors per cluster times 512 bytes.
    ui->allocationUnitField->setText(QStringLiteral("%1 KB").arg(
        allocationUnitKB(clusterSizeByVolumeSizeInKB(volume->volumeSize()))));
}

void VXLFormatWindowController::changeDisk(int)
{
    updateSelectedDiskInfo();
}

void VXLFormatWindowController::onFormat()
{
    if (isFormatting())
        return;
    const std::optional<GWUSBDiskEntity> volume = selectedUSBDisk();
    if (!volume) {
        showAlertSheet(this, QString::fromLatin1(kCardVolumeLabel),
                       m_usbDiskArray.isEmpty() ? QStringLiteral("There is no USB drive.")
                                                : QStringLiteral("Please select USB drive."));
        return;
    }
    if (!volume->writable()) {
        showCannotFormat(*volume, localizedString(QStringLiteral("msg.write_protected_disk")));
        return;
    }
    // A wrong click would erase the whole card: the user confirms, naming it.
    showConfirmSheet(this, localizedString(QStringLiteral("msg.format_confirm")),
                     localizedString(QStringLiteral("msg.format_confirm_detail"))
                         .arg(cardLine(*volume), volume->deviceFilePath()),
                     localizedString(QStringLiteral("setting.format.format")),
                     localizedString(QStringLiteral("cancel")), [this, volume](bool confirmed) {
                         if (confirmed)
                             doFormat(*volume);
                     });
}

void VXLFormatWindowController::doFormat(const GWUSBDiskEntity& volume)
{
    if (isFormatting())
        return;
    showProgressBar(QStringLiteral("Formatting..."));
    m_format.start(volume);
    setFormatting(true);
}

void VXLFormatWindowController::setFormatting(bool formatting)
{
    ui->usbDiskCombo->setEnabled(!formatting);
    ui->formatButton->setEnabled(!formatting);
    ui->cancelButton->setEnabled(!formatting);
}

void VXLFormatWindowController::showCannotFormat(const GWUSBDiskEntity& volume,
                                                 const QString& reason)
{
    showAlertSheet(this, localizedString(QStringLiteral("msg.cannot_format")),
                   QStringLiteral("%1\n%2").arg(volume.displayString(), reason));
}

void VXLFormatWindowController::formatDidFinished(const CardFormatResult& result)
{
    using Outcome = CardFormatResult::Outcome;
    setFormatting(false);
    ++m_listGeneration; // a listing still under way is older than this list
    setUSBVolumes(result.volumes);
    selectUSBByDevFile(result.volume.deviceFilePath());
    hideProgressBar();

    const QString copyFail = QStringLiteral("config.bin copy fail");
    switch (result.outcome) {
    case Outcome::Completed:
        showAlertSheet(this, localizedString(QStringLiteral("msg.format_complete")),
                       result.volume.displayString(), [this] { cancel(); });
        break;
    case Outcome::WriteProtected:
        showCannotFormat(result.volume,
                         localizedString(QStringLiteral("msg.write_protected_disk")));
        break;
    case Outcome::FormatFailed:
        if (result.errorNumber == kFormatWriteProtectedNumber)
            showCannotFormat(result.volume,
                             localizedString(QStringLiteral("msg.write_protected_disk")));
        else
            showCannotFormat(result.volume, QStringLiteral("Error:%1").arg(result.errorMessage));
        break;
    case Outcome::TargetRefused:
        showCannotFormat(result.volume, QStringLiteral("%1 %2").arg(result.volume.deviceFilePath(),
                                                                    result.errorMessage));
        break;
    case Outcome::SettingsNotKept:
        showCannotFormat(result.volume, localizedString(QStringLiteral("msg.config_not_kept")) +
                                            u'\n' + result.errorMessage);
        break;
    case Outcome::VolumeNotFound:
        showAlertSheet(this, copyFail,
                       localizedString(QStringLiteral("msg.format_volume_not_found")) +
                           keptSentence(result));
        break;
    case Outcome::SettingsNotPutBack:
        showAlertSheet(
            this, copyFail,
            (result.errorKey.isEmpty() ? QString() : localizedString(result.errorKey) + u'\n') +
                result.errorMessage + keptSentence(result));
        break;
    }
    Q_EMIT formatEnded(result);
}

void VXLFormatWindowController::cancel()
{
    close();
}

void VXLFormatWindowController::showProgressBar(const QString& message)
{
    ui->progressBar->show();
    ui->progressMessageField->show();
    m_stopProgressBar = false;
    m_progress = 0;
    ui->progressMessageField->setText(message);
    ui->progressBar->setDoubleValue(ui->progressBar->minValue());
    ui->progressBar->startAnimation();
    if (!m_progressTimer.isActive())
        m_progressTimer.start();
}

void VXLFormatWindowController::updateProgressBar(double expectedSeconds)
{
    m_progress += 100.0 / (expectedSeconds / kProgressTickSeconds);
    ui->progressBar->setDoubleValue(m_progress);
    if (m_progress >= 100 || m_stopProgressBar) {
        ui->progressBar->setDoubleValue(ui->progressBar->minValue());
        ui->progressBar->stopAnimation();
        ui->progressBar->hide();
        ui->progressMessageField->hide();
        m_stopProgressBar = true;
        m_progressTimer.stop();
    }
}

void VXLFormatWindowController::hideProgressBar()
{
    ui->progressBar->hide();
    ui->progressMessageField->hide();
    m_stopProgressBar = true;
}
