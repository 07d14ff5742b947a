#include "VXLClipExportDialog.h"

#include "ui_VXLClipExportDialog.h"
#include "widgets/LocalizedString.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>

namespace {

QString clipStyleSheet()
{
    QFile file(QStringLiteral(":/styles/clip.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

VXLClipExportDialog::VXLClipExportDialog(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::VXLClipExportDialog>())
{
    m_ui->setupUi(this);
    localizeWidgetTree(this);
    setStyleSheet(clipStyleSheet());
    setModal(false);
    m_ui->pageStack->setCurrentWidget(m_ui->settingsPage);
    connect(m_ui->exportButton, &QPushButton::clicked, this, &VXLClipExportDialog::exportRequested);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &VXLClipExportDialog::reject);
    connect(m_ui->chooseOutputButton, &QPushButton::clicked, this,
            &VXLClipExportDialog::chooseOutput);
    connect(m_ui->outputPathEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_ui->exportButton->setEnabled(!text.trimmed().isEmpty());
    });
}

VXLClipExportDialog::~VXLClipExportDialog() = default;

QString VXLClipExportDialog::durationText(double seconds)
{
    const auto whole = qint64(std::llround(std::max(0.0, seconds)));
    if (whole >= 3600)
        return QString::asprintf("%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    return QString::asprintf("%lld:%02lld", whole / 60, whole % 60);
}

void VXLClipExportDialog::setSpan(const QString& fileName, double from, double to, bool oneCamera)
{
    // Tenths: marks set by hand a second apart must not read as the same second.
    const auto tenths = [](double seconds) {
        const auto t = qint64(std::llround(std::max(0.0, seconds) * 10));
        return QString::asprintf("%lld:%02lld.%lld", t / 600, t / 10 % 60, t % 10);
    };
    m_ui->spanLabel->setText(
        localizedString(QStringLiteral("clip.span_text"))
            .arg(fileName, tenths(from), tenths(to), QString::number(to - from, 'f', 1)));
    m_ui->layoutSideBySideRadio->setEnabled(!oneCamera);
    m_ui->layoutPictureInPictureRadio->setEnabled(!oneCamera);
    if (oneCamera)
        m_ui->layoutSingleRadio->setChecked(true);
}

VXLClipExportDialog::Settings VXLClipExportDialog::settings() const
{
    Settings settings;
    if (m_ui->layoutPictureInPictureRadio->isChecked())
        settings.layout = ClipLayout::PictureInPicture;
    else if (m_ui->layoutSingleRadio->isChecked())
        settings.layout = ClipLayout::Single;
    settings.overlay = m_ui->overlayCheck->isChecked();
    settings.quality = m_ui->qualityHighRadio->isChecked() ? ClipQuality::High : ClipQuality::Fast;
    settings.outputPath = m_ui->outputPathEdit->text().trimmed();
    return settings;
}

void VXLClipExportDialog::setSettings(const Settings& settings)
{
    QRadioButton* layout = m_ui->layoutSideBySideRadio;
    if (settings.layout == ClipLayout::PictureInPicture)
        layout = m_ui->layoutPictureInPictureRadio;
    else if (settings.layout == ClipLayout::Single)
        layout = m_ui->layoutSingleRadio;
    if (layout->isEnabled())
        layout->setChecked(true);
    m_ui->overlayCheck->setChecked(settings.overlay);
    (settings.quality == ClipQuality::High ? m_ui->qualityHighRadio : m_ui->qualityFastRadio)
        ->setChecked(true);
    m_ui->outputPathEdit->setText(settings.outputPath);
}

void VXLClipExportDialog::setExporting(bool exporting)
{
    m_exporting = exporting;
    m_ui->pageStack->setCurrentWidget(exporting ? m_ui->progressPage : m_ui->settingsPage);
    m_ui->exportButton->setVisible(!exporting);
    if (exporting) {
        m_ui->progressBar->setValue(0);
        m_ui->progressLabel->setText(localizedString(QStringLiteral("clip.preparing")));
        m_ui->timeLeftLabel->clear();
        m_ui->notesLabel->clear();
    }
}

void VXLClipExportDialog::showPrepared(const QStringList& notes)
{
    m_ui->notesLabel->setText(notes.join(u'\n'));
    m_ui->progressLabel->setText(
        localizedString(QStringLiteral("clip.progress")).arg(QStringLiteral("0")));
}

void VXLClipExportDialog::showProgress(double share, double secondsLeft)
{
    const int permille = int(std::clamp(share, 0.0, 1.0) * 1000);
    m_ui->progressBar->setValue(permille);
    m_ui->progressLabel->setText(
        localizedString(QStringLiteral("clip.progress")).arg(permille / 10));
    m_ui->timeLeftLabel->setText(
        secondsLeft < 0
            ? localizedString(QStringLiteral("clip.time_left_unknown"))
            : localizedString(QStringLiteral("clip.time_left")).arg(durationText(secondsLeft)));
}

QString VXLClipExportDialog::proposedOutputPath(const QDateTime& moment)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString stem =
        QStringLiteral("incident_") + moment.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    QString path = QDir(folder).filePath(stem + QStringLiteral(".mp4"));
    for (int n = 2; QFileInfo::exists(path) && n < 1000; ++n)
        path = QDir(folder).filePath(QStringLiteral("%1_%2.mp4").arg(stem).arg(n));
    return path;
}

void VXLClipExportDialog::chooseOutput()
{
    auto* panel = new QFileDialog(this, localizedString(QStringLiteral("clip.save_title")));
    panel->setObjectName(QStringLiteral("savePanel"));
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setNameFilter(localizedString(QStringLiteral("clip.file_filter")));
    panel->setDefaultSuffix(QStringLiteral("mp4"));
    const QFileInfo current(m_ui->outputPathEdit->text());
    panel->setDirectory(current.absolutePath());
    panel->selectFile(current.fileName());
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::fileSelected, m_ui->outputPathEdit, &QLineEdit::setText);
    panel->open();
}

void VXLClipExportDialog::reject()
{
    // Escape and Cancel stop a running export; the dialog closes once it has stopped.
    if (m_exporting) {
        Q_EMIT cancelRequested();
        return;
    }
    QDialog::reject();
}

void VXLClipExportDialog::closeEvent(QCloseEvent* event)
{
    if (m_exporting) {
        event->ignore();
        Q_EMIT cancelRequested();
        return;
    }
    QDialog::closeEvent(event);
}
