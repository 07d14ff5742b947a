#include "VXLDriveRecordViewer.h"

#include "drivedata/ui/VXLMapWindowController.h"
#include "driverecords/CsvFileExport.h"
#include "driverecords/DriveRecordFile.h"
#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace {

std::function<void(QFileDialog*)>& fileDialogHook()
{
    static std::function<void(QFileDialog*)> hook;
    return hook;
}

double& timeScale()
{
    static double scale = 1.0;
    return scale;
}

// Ten million records (400 MB of flash data, 680 MB of OBD records) is years of a camera's
// log; a file that holds more is damaged or made up, and is not worth the machine's memory.
qint64& maxRecords()
{
    static qint64 most = 10'000'000;
    return most;
}

constexpr int kSavedAlertDelayMs = 500;
constexpr int kProgressSteps = 1000;

// Cells as wide as a busy log's: the widths a column must at least have to show them whole.
QStringList typicalCellTexts(DriveRecordKind kind)
{
    QStringList texts;
    if (kind == DriveRecordKind::FlashData) {
        _FLASH_SAVE_VALUE_STRUCT r{};
        r.sequence = 65535;
        r.year = 123;
        r.month = 12;
        r.day = 31;
        r.hour = 23;
        r.latitudeDegreesMinutes = 3733;
        r.latitudeMinuteDecimals = 9870;
        r.longitudeDegreesMinutes = 12658;
        r.longitudeMinuteDecimals = 6800;
        r.drivingDistanceTenths = 1234567;
        r.currentSpeed = r.maximumSpeed = 188;
        r.gSensorX = r.gSensorY = r.gSensorZ = -512;
        r.batteryTenthsOfVolt = 141;
        for (int c = 0; c < int(driveRecordColumns(kind).size()); ++c)
            texts << driveRecordCellText(r, c, 99999);
    } else {
        _OBD_SAVE_VALUE_STRUCT r{};
        r.sequence = 99999;
        r.year = 123;
        r.month = 12;
        r.day = 31;
        r.hour = 23;
        r.latitudeDegreesMinutes = 3733;
        r.latitudeMinuteDecimals = 9870;
        r.longitudeDegreesMinutes = 12658;
        r.longitudeMinuteDecimals = 6800;
        r.gpsSpeed = r.currentSpeed = 188;
        r.engineSpeed = 6500;
        r.drivingDistanceThousandths = 123456789;
        r.batteryThousandthsOfVolt = 14100;
        r.acp = r.tpa = 100;
        r.fbk = r.rll = r.lll = r.sbt = 0;
        r.swa = -450;
        r.gel = 6;
        r.gep = 4;
        r.abt = -2150;
        r.gSensorX = r.gSensorY = r.gSensorZ = -512;
        for (int c = 0; c < int(driveRecordColumns(kind).size()); ++c)
            texts << driveRecordCellText(r, c, 99999);
    }
    return texts;
}

int progressStep(qint64 done, qint64 total)
{
    return total > 0 ? int(qMin<qint64>(done, total) * kProgressSteps / total) : 0;
}

} // namespace

VXLDriveRecordViewer::VXLDriveRecordViewer(DriveRecordKind kind, const Texts& texts,
                                           QWidget* parent)
    : QWidget(parent), m_kind(kind), m_texts(texts), m_model(new DriveRecordTableModel(kind, this))
{
}

VXLDriveRecordViewer::~VXLDriveRecordViewer()
{
    if (m_reading)
        m_reading->cancel(); // the read stops at its next batch; nobody waits for its result
}

void VXLDriveRecordViewer::setUpViewer(QPushButton* openButton, QPushButton* exportButton,
                                       QTableView* tableView, QLabel* statusField,
                                       QProgressBar* progressBar)
{
    m_openButton = openButton;
    m_exportButton = exportButton;
    m_tableView = tableView;
    m_statusField = statusField;
    m_progressBar = progressBar;

    QStringList columnNames;
    for (const DriveRecordColumn& column : driveRecordColumns(m_kind))
        columnNames << (column.titleKey ? localizedString(QString::fromLatin1(column.titleKey))
                                        : QString::fromLatin1(column.englishTitle));
    m_model->setColumnTitles(columnNames);
    m_model->setCellFont(m_tableView->font());
    m_tableView->setModel(m_model);
    m_tableView->verticalHeader()->setDefaultSectionSize(m_tableView->fontMetrics().height() + 6);
    const auto columns = driveRecordColumns(m_kind);
    for (int i = 0; i < int(columns.size()); ++i)
        makeColumnWithIndex(i, columnNames[i], columns[size_t(i)].width);

    m_openButton->setText(localizedString(QStringLiteral("open")));
    m_exportButton->setText(localizedString(QStringLiteral("export")));
    connect(m_openButton, &QPushButton::clicked, this, &VXLDriveRecordViewer::openFileDialog);
    connect(m_exportButton, &QPushButton::clicked, this, &VXLDriveRecordViewer::onSaveCSVFile);
    connect(m_tableView, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { doubleClickTableRow(index.row()); });
    m_progressBar->setRange(0, kProgressSteps);
    m_progressBar->hide();
    QFile style(QStringLiteral(":/styles/driverecords.qss"));
    if (style.open(QIODevice::ReadOnly))
        setStyleSheet(QString::fromUtf8(style.readAll()));
    setWindowTitle(localizedString(QString::fromLatin1(m_texts.titleKey)));
}

// The model gives each column its title (centred) and right-aligned, read-only cells; the
// view sets the width. The widths were chosen for a narrower font than most Linux desktops
// use: a column is widened where its title or a typical cell would otherwise be cut.
void VXLDriveRecordViewer::makeColumnWithIndex(int index, const QString& title, int width)
{
    static const int kCellPadding = 10;
    static const int kTitlePadding = 14;
    const QString typical = typicalCellTexts(m_kind).value(index);
    const int needed = qMax(
        m_tableView->fontMetrics().horizontalAdvance(typical) + kCellPadding,
        m_tableView->horizontalHeader()->fontMetrics().horizontalAdvance(title) + kTitlePadding);
    m_tableView->setColumnWidth(index, qMax(width, needed));
}

void VXLDriveRecordViewer::setFileData(_FILEDATA* fileData)
{
    m_fileData = fileData;
    displayFileData();
}

void VXLDriveRecordViewer::displayFileData()
{
    if (m_fileData && m_firstLoad)
        displayFirstTime();
}

void VXLDriveRecordViewer::displayFirstTime()
{
    if (!m_firstLoad)
        return;
    m_firstLoad = false;
    if (!m_FlashDataFilePath.isEmpty() && QFileInfo(m_FlashDataFilePath).isFile())
        loadFlashDataFile();
    else
        noFileAtFirstDisplay();
}

void VXLDriveRecordViewer::onHide()
{
    dropMapWindowController();
}

void VXLDriveRecordViewer::openPanel(QFileDialog* dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->open();
    if (fileDialogHook())
        fileDialogHook()(dialog);
}

void VXLDriveRecordViewer::openFileDialog()
{
    dropMapWindowController();
    if (m_busy)
        return;
    const QString type = QString::fromLatin1(m_texts.fileType);
    auto* dialog = new QFileDialog(this);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Cards are FAT: the camera's names may be upper case.
    dialog->setNameFilter(QStringLiteral("*.%1 *.%2").arg(type, type.toUpper()));
    if (!m_FlashDataFilePath.isEmpty())
        dialog->setDirectory(QFileInfo(m_FlashDataFilePath).absolutePath());
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        m_FlashDataFilePath = path;
        loadFlashDataFile();
    });
    openPanel(dialog);
}

void VXLDriveRecordViewer::loadFlashDataFile()
{
    if (m_FlashDataFilePath.isEmpty())
        return;
    if (m_reading) {
        // A newer choice wins; the older read's result is not wanted any more.
        m_reading->cancel();
        m_reading->disconnect(this);
        m_reading->deleteLater();
    }
    setBusy(true, QStringLiteral("Loading..."));

    const QString path = m_FlashDataFilePath;
    const DriveRecordKind kind = m_kind;
    const qint64 most = maxRecords();
    auto* watcher = new QFutureWatcher<ReadResult>(this);
    m_reading = watcher;
    connect(watcher, &QFutureWatcherBase::progressValueChanged, m_progressBar,
            &QProgressBar::setValue);
    connect(watcher, &QFutureWatcherBase::finished, this, &VXLDriveRecordViewer::readFinished);
    watcher->setFuture(QtConcurrent::run([path, kind, most](QPromise<ReadResult>& promise) {
        promise.setProgressRange(0, kProgressSteps);
        DriveRecordReadOptions options;
        options.maxRecords = most;
        options.progress = [&promise](qint64 done, qint64 total) {
            promise.setProgressValue(progressStep(done, total));
            return !promise.isCanceled();
        };
        ReadResult result;
        result.path = path;
        const auto take = [&result](auto&& contents) {
            result.announced = contents.announcedCount;
            result.missing = contents.missingCount;
            result.leftOut = contents.leftOutCount;
            result.error = contents.error;
        };
        if (kind == DriveRecordKind::FlashData) {
            auto contents = readDriveRecordFile<_FLASH_SAVE_VALUE_STRUCT>(path, options);
            result.flash = std::move(contents.records);
            take(contents);
        } else {
            auto contents = readDriveRecordFile<_OBD_SAVE_VALUE_STRUCT>(path, options);
            result.obd = std::move(contents.records);
            take(contents);
        }
        promise.addResult(std::move(result));
    }));
}

void VXLDriveRecordViewer::readFinished()
{
    QFutureWatcher<ReadResult>* watcher = m_reading;
    if (!watcher)
        return;
    m_reading = nullptr;
    watcher->deleteLater();
    setBusy(false);
    if (watcher->isCanceled() || watcher->future().resultCount() == 0) {
        Q_EMIT fileLoaded(false);
        return;
    }
    const ReadResult result = watcher->result();
    if (!result.error.isEmpty()) {
        qWarning("fopen fail:%s", qPrintable(result.path));
        // The records already shown stay; the user learns why the new ones did not come.
        showAlertSheet(window(), localizedString(QStringLiteral("msg.file_open_fail")),
                       QStringLiteral("%1\n%2").arg(result.path, result.error));
        Q_EMIT fileLoaded(false);
        return;
    }
    m_bFlashDataAccess = true;
    if (m_kind == DriveRecordKind::FlashData)
        m_model->setFlashRecords(result.flash);
    else
        m_model->setObdRecords(result.obd);
    showRecordCount(result.announced, result.missing, result.leftOut);
    Q_EMIT fileLoaded(true);
}

void VXLDriveRecordViewer::showRecordCount(quint32 announced, qint64 missing, qint64 leftOut)
{
    const QString shown = QString::number(m_model->recordCount());
    QString text = localizedString(QStringLiteral("setting.flashdata.record_count")).arg(shown);
    if (missing > 0)
        text = localizedString(QStringLiteral("setting.flashdata.records_missing"))
                   .arg(shown, QString::number(announced), QString::number(missing));
    if (leftOut > 0)
        text +=
            QLatin1Char(' ') + localizedString(QStringLiteral("setting.flashdata.records_left_out"))
                                   .arg(QString::number(leftOut));
    m_statusField->setText(text);
}

void VXLDriveRecordViewer::onSaveCSVFile()
{
    dropMapWindowController();
    if (flashDataNum() <= 0 || m_busy)
        return;
    auto* dialog = new QFileDialog(this);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QStringLiteral("*.csv"));
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setDirectory(QDir::homePath());
    dialog->selectFile(QString::fromLatin1(m_texts.proposedName) + QStringLiteral(".csv"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        setBusy(true, QStringLiteral("Saving..."));
        // The export works on the records and titles of this moment: the lists are shared,
        // so a later read replaces the table's records without touching these.
        const QStringList titles = m_model->columnTitles();
        const auto flash = m_model->flashRecords();
        const auto obd = m_model->obdRecords();
        const bool isFlash = m_kind == DriveRecordKind::FlashData;
        auto* watcher = new QFutureWatcher<QString>(this);
        connect(watcher, &QFutureWatcherBase::progressValueChanged, m_progressBar,
                &QProgressBar::setValue);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
            watcher->deleteLater();
            exportDone(path, watcher->result());
        });
        watcher->setFuture(QtConcurrent::run([=](QPromise<QString>& promise) {
            promise.setProgressRange(0, kProgressSteps);
            const auto progress = [&promise](qint64 done, qint64 total) {
                promise.setProgressValue(progressStep(done, total));
            };
            promise.addResult(isFlash ? exportDriveRecordsCsvFile(path, titles, flash, progress)
                                      : exportDriveRecordsCsvFile(path, titles, obd, progress));
        }));
    });
    openPanel(dialog);
}

void VXLDriveRecordViewer::exportDone(const QString& path, const QString& error)
{
    setBusy(false);
    Q_EMIT exportFinished(path, error);
    if (!error.isEmpty())
        qWarning("export of %s failed: %s", qPrintable(path), qPrintable(error));
    const QString message = QString::fromLatin1(m_texts.savedMessage);
    // An export that failed says so, rather than "saved".
    const QString informative =
        error.isEmpty() ? localizedString(QStringLiteral("msg.saved"))
                        : QStringLiteral("%1\n%2: %3")
                              .arg(localizedString(QStringLiteral("msg.export_fail")), path, error);
    QTimer::singleShot(int(kSavedAlertDelayMs * timeScale()), this, [this, message, informative] {
        showAlertSheet(window(), message, informative);
    });
}

void VXLDriveRecordViewer::doubleClickTableRow(int row)
{
    qInfo("rowNum=%ld", long(row));
    if (row < 0 || row >= flashDataNum())
        return;
    const DriveRecordPosition position = m_model->position(row);
    if (m_mapWindowController) {
        m_mapWindowController->show();
        m_mapWindowController->raise();
        m_mapWindowController->activateWindow();
    } else {
        m_mapWindowController = new VXLMapWindowController(this);
        m_mapWindowController->setAttribute(Qt::WA_DeleteOnClose);
        m_mapWindowController->show();
        m_mapWindowController->moveWindowRightBy(window()->frameGeometry());
    }
    if (position.isKnown())
        m_mapWindowController->updateMapLat(position.latitude, position.longitude);
}

void VXLDriveRecordViewer::dropMapWindowController()
{
    if (m_mapWindowController)
        m_mapWindowController->close(); // deletes it
    m_mapWindowController = nullptr;
}

void VXLDriveRecordViewer::setBusy(bool busy, const QString& title)
{
    m_busy = busy;
    m_openButton->setEnabled(!busy);
    m_exportButton->setEnabled(!busy);
    m_progressBar->setValue(0);
    m_progressBar->setVisible(busy);
    if (busy)
        Q_EMIT loadingStarted(title);
    else
        Q_EMIT loadingFinished();
}

void VXLDriveRecordViewer::setFileDialogHookForTesting(std::function<void(QFileDialog*)> hook)
{
    fileDialogHook() = std::move(hook);
}

void VXLDriveRecordViewer::setTimeScaleForTesting(double scale)
{
    timeScale() = scale;
}

void VXLDriveRecordViewer::setMaxRecordsForTesting(qint64 most)
{
    maxRecords() = most;
}
