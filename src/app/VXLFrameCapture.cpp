#include "VXLFrameCapture.h"

#include "CaptureSnapshot.h"
#include "VXLPrintPanelPaper.h"
#include "fileio/SafeFileWriter.h"
#include "player/VXLPlayerInterface.h"
#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>

namespace {

// The options the CUPS print engine collects from the panel's job and advanced pages.
const auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The folder the save panel opens in: the Desktop, or home when there is none.
QString captureFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return !desktop.isEmpty() && QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

// The job as the print panel left the settings: the printer, paper, orientation, copies and
// the panel's own CUPS options.
CupsPrintJob printJobFor(QPrinter& printInfo, const QString& filePath)
{
    CupsPrintJob job;
    job.destinationIsPrinter =
        printInfo.outputFormat() == QPrinter::NativeFormat && printInfo.outputFileName().isEmpty();
    // "queue/instance": the server knows the queue only.
    job.printerName = printInfo.printerName().section(QLatin1Char('/'), 0, 0);
    job.filePath = filePath;
    job.title = QFileInfo(filePath).fileName();

    const QPageLayout layout = printInfo.pageLayout();
    if (layout.pageSize().isValid()) {
        job.options.append({QByteArray("media"), layout.pageSize().key().toUtf8()});
    }
    // Portrait is not asked for: CUPS then turns a wide frame to fill a portrait page.
    if (layout.orientation() == QPageLayout::Landscape) {
        job.options.append({QByteArray("orientation-requested"), QByteArray("4")});
    }
    if (printInfo.copyCount() > 1) {
        job.options.append({QByteArray("copies"), QByteArray::number(printInfo.copyCount())});
    }
    static const QSet<QString> setHere{
        QStringLiteral("media"),       QStringLiteral("PageSize"),
        QStringLiteral("PageRegion"),  QStringLiteral("copies"),
        QStringLiteral("landscape"),   QStringLiteral("orientation-requested"),
        QStringLiteral("fit-to-page"), QStringLiteral("document-format")};
    const QStringList panelOptions =
        printInfo.printEngine()
            ? printInfo.printEngine()->property(kCupsOptionsProperty).toStringList()
            : QStringList();
    for (qsizetype i = 0; i + 1 < panelOptions.size(); i += 2) {
        if (!setHere.contains(panelOptions[i])) {
            job.options.append({panelOptions[i].toUtf8(), panelOptions[i + 1].toUtf8()});
        }
    }
    return job;
}

} // namespace

VXLFrameCapture::VXLFrameCapture(QWidget* window, VXLPlayerInterface* player1, QObject* parent)
    : QObject(parent), m_window(window), m_player1(player1)
{
    m_worker.setMaxThreadCount(1);
}

VXLFrameCapture::~VXLFrameCapture()
{
    m_worker.waitForDone();
}

std::optional<QByteArray> VXLFrameCapture::takeSnapshot()
{
    m_snapshotPath = captureSnapshotPath();
    if (!m_snapshotPath.isEmpty()) {
        // Written beside and renamed over the last one, so a job still reading that one
        // reads it whole.
        const QString fresh =
            QFileInfo(m_snapshotPath).absolutePath() + QStringLiteral("/vexlo_capture-new.jpg");
        QFile written(fresh);
        if (m_player1->saveVideoSnapshotAt(fresh, 0, 0) && written.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = written.readAll();
            written.close();
            if (!bytes.isEmpty() &&
                std::rename(QFile::encodeName(fresh).constData(),
                            QFile::encodeName(m_snapshotPath).constData()) == 0) {
                return bytes;
            }
        }
        QFile::remove(fresh);
    }
    showAlertSheet(m_window, localizedString(QStringLiteral("msg.capture_fail")), QString());
    return std::nullopt;
}

void VXLFrameCapture::captureVideo()
{
    if (!m_player1 || !m_player1->isPlaying()) {
        return;
    }
    const std::optional<QByteArray> snapshot = takeSnapshot();
    if (!snapshot) {
        return;
    }
    auto* panel = new QFileDialog(m_window, localizedString(QStringLiteral("dialog.save_capture")));
    panel->setObjectName(QStringLiteral("savePanel"));
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setFilter(panel->filter() | QDir::Hidden);
    panel->setDirectory(captureFolder());
    panel->selectFile(QStringLiteral("zuva_capture.png"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    // The frame of this capture, whatever is captured or printed while the copy is made.
    connect(panel, &QFileDialog::fileSelected, this,
            [this, bytes = *snapshot](const QString& path) { saveSnapshotCopy(path, bytes); });
    panel->open();
}

void VXLFrameCapture::saveSnapshotCopy(const QString& path, const QByteArray& bytes)
{
    // Flushing to a slow card can take a while: off the GUI thread.
    m_worker.start([this, path, bytes] {
        const QString error = replaceFileContents(path, bytes);
        QMetaObject::invokeMethod(
            this, [this, path, error] { captureCopyDidEnd(path, error); }, Qt::QueuedConnection);
    });
}

void VXLFrameCapture::captureCopyDidEnd(const QString& path, const QString& error)
{
    if (error.isEmpty()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_snapshotPath));
    } else {
        qWarning("capture not saved to %s: %s", qPrintable(path), qPrintable(error));
        showAlertSheet(m_window, localizedString(QStringLiteral("msg.capture_save_fail")),
                       QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), error));
    }
    Q_EMIT captureSaveFinished(path, error);
}

QPrinter* VXLFrameCapture::loadPrintInfo()
{
    if (!m_printInfo) {
        m_printInfo = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return m_printInfo.get();
}

void VXLFrameCapture::print()
{
    if (!m_player1 || !m_player1->media() || !takeSnapshot()) {
        return;
    }
    auto* panel = new QPrintDialog(loadPrintInfo(), m_window);
    panel->setObjectName(QStringLiteral("printPanel"));
    // One picture: no page ranges, but the paper choice and printing to a file.
    panel->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    VXLPrintPanelPaper* paper =
        m_chosenPageLayout ? new VXLPrintPanelPaper(panel, *m_chosenPageLayout) : nullptr;
    connect(panel, &QDialog::finished, this, [this, panel, paper](int result) {
        if (paper && result == QDialog::Accepted) {
            paper->panelAccepted();
        }
        printPanelDidEnd(panel, result);
    });
    panel->open();
}

void VXLFrameCapture::printPanelDidEnd(QPrintDialog* panel, int returnCode)
{
    Q_UNUSED(panel);
    if (returnCode != QDialog::Accepted) {
        return;
    }
    QPrinter* printInfo = loadPrintInfo();
    m_chosenPageLayout = printInfo->pageLayout();
    const CupsPrintJob job = printJobFor(*printInfo, m_snapshotPath);
    m_worker.start([this, job] {
        const CupsPrintResult result = submitCupsPrintJob(job);
        QMetaObject::invokeMethod(
            this, [this, job, result] { printDidEnd(job, result); }, Qt::QueuedConnection);
    });
}

void VXLFrameCapture::printDidEnd(const CupsPrintJob& job, const CupsPrintResult& result)
{
    const char* key = nullptr;
    switch (result.outcome) {
    case CupsPrintOutcome::Printed:
        break;
    case CupsPrintOutcome::NotAPrinter:
        key = "msg.print_not_printer";
        break;
    case CupsPrintOutcome::NoPrinter:
        key = "msg.print_no_printer";
        break;
    case CupsPrintOutcome::JpegNotAccepted:
        key = "msg.print_jpeg_unsupported";
        break;
    case CupsPrintOutcome::NoAcceptedTypes:
    case CupsPrintOutcome::Failed:
        key = "msg.print_fail";
        break;
    }
    if (key) {
        QStringList details{job.printerName, result.reason};
        details.removeAll(QString());
        showAlertSheet(m_window, localizedString(QString::fromLatin1(key)),
                       details.join(QLatin1Char('\n')));
    }
    Q_EMIT printFinished(result.outcome, result.jobId);
}
