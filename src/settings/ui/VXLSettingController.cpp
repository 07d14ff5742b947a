#include "VXLSettingController.h"

#include "VXLSettingControllerDelegate.h"
#include "VXLSettingProgressSheet.h"
#include "ui_VXLSettingController.h"

#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QFile>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

Q_LOGGING_CATEGORY(lcSettingWindow, "vexlo.settings.ui", QtWarningMsg)

const QString kLoadingTitle = QStringLiteral("Loading...");
const QString kInvalidInputTitle = QStringLiteral("ZUVA");
const QString kWarnTitle = QStringLiteral("Warn");
const QString kSavePanelTitle = QStringLiteral("Save Settings");
// The user default that keeps "Show OBD settings" ticked.
const QString kShowObdSettingsKey = QStringLiteral("showObdSettings");

QSettings userDefaults()
{
    return QSettings(QStringLiteral("Vexlo"), QStringLiteral("Vexlo"));
}

// The desktops' disk tools, in order of preference.
const QStringList kDiskTools = {QStringLiteral("gnome-disks"), QStringLiteral("partitionmanager")};

// Runs `work` on `pool` and hands its result to `done` on the GUI thread, unless `context` has
// gone by then.
template <typename Work, typename Done>
void runInBackground(QThreadPool* pool, QObject* context, Work work, Done done)
{
    using Result = decltype(work());
    auto* watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcher<Result>::finished, context,
                     [watcher, done = std::move(done)] {
                         done(watcher->result());
                         watcher->deleteLater();
                     });
    watcher->setFuture(QtConcurrent::run(pool, std::move(work)));
}

// Runs `next` once no alert is open on `window`: a page's own warning (a changed quality) is
// read before the save's alert comes, as sheets follow one another.
void whenAlertsClosed(QWidget* window, std::function<void()> next)
{
    for (QMessageBox* box : window->findChildren<QMessageBox*>()) {
        if (box->isVisible()) {
            QObject::connect(
                box, &QDialog::finished, window,
                [window, next = std::move(next)]() mutable {
                    whenAlertsClosed(window, std::move(next));
                },
                Qt::ConnectionType(Qt::SingleShotConnection | Qt::QueuedConnection));
            return;
        }
    }
    next();
}

} // namespace

VXLSettingController::VXLSettingController(const BlockDeviceSource& volumes, QWidget* parent,
                                           std::span<const VXLSettingTab> tabs)
    : QWidget(parent, Qt::Window), m_volumes(volumes), m_tabs(tabs),
      m_ui(std::make_unique<Ui::VXLSettingController>())
{
    m_ui->setupUi(this);
    initDefaultFileData(&m_FileData);
    m_strVersion = QStringLiteral(VEXLO_VERSION);
    setUpWindow();
}

VXLSettingController::~VXLSettingController()
{
    // The background work reads the volume source the window was given.
    m_workers.waitForDone();
}

void VXLSettingController::setUpWindow()
{
    QFile style(QStringLiteral(":/styles/settings.qss"));
    if (style.open(QIODevice::ReadOnly))
        setStyleSheet(QString::fromUtf8(style.readAll()));
    localizeWidgetTree(this);

    m_lastSelectedTabIndex = -1;
    connect(m_ui->functionSegmentedControl, &GWSegmentedControl::segmentClicked, this,
            &VXLSettingController::clickFunctionSegmentedControl);
    const bool anyOptional = firstOptionalTab() < int(tabs().size());
    m_ui->showObdSettingsChk->setVisible(anyOptional);
    m_optionalTabsShown = anyOptional && userDefaults().value(kShowObdSettingsKey, false).toBool();
    m_ui->showObdSettingsChk->setChecked(m_optionalTabsShown);
    connect(m_ui->showObdSettingsChk, &QCheckBox::clicked, this,
            &VXLSettingController::clickShowObdSettingsChk);
    updateSelectorSegments();

    connect(m_ui->saveButton, &QPushButton::clicked, this, &VXLSettingController::onSave);
    connect(m_ui->resetButton, &QPushButton::clicked, this,
            &VXLSettingController::onSaveDefaultSetting);
    connect(m_ui->sdcardFormatButton, &QPushButton::clicked, this, &VXLSettingController::onFormat);
    connect(m_ui->diskUtilityButton, &QPushButton::clicked, this,
            &VXLSettingController::onDiskUtil);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &VXLSettingController::onCloseCmd);
    m_ui->sdcardFormatButton->setEnabled(false);

    m_progressSheet = new VXLSettingProgressSheet(this);
    updateWindowTitle();
}

void VXLSettingController::updateSelectorSegments()
{
    GWSegmentedControl* selector = m_ui->functionSegmentedControl;
    const int count = shownTabCount();
    QStringList labels;
    for (int i = 0; i < count; ++i)
        labels.append(localizedString(QString::fromLatin1(tabs()[std::size_t(i)].segmentLabel)));
    selector->setLabels(labels);
    for (int i = 0; i < count; ++i)
        selector->setSegmentEnabled(tabs()[std::size_t(i)].createPage != nullptr, i);
    selector->setSelectedSegment(m_lastSelectedTabIndex);
}

int VXLSettingController::firstOptionalTab() const
{
    const auto first = std::find_if(tabs().begin(), tabs().end(),
                                    [](const VXLSettingTab& tab) { return tab.optional; });
    return int(first - tabs().begin());
}

int VXLSettingController::shownTabCount() const
{
    return m_optionalTabsShown ? int(tabs().size()) : firstOptionalTab();
}

bool VXLSettingController::setOptionalTabsShown(bool shown)
{
    // An optional page shown is left first, as on any change of page; it may refuse.
    if (!shown && m_lastSelectedTabIndex >= firstOptionalTab()) {
        changeViewController(0);
        if (m_lastSelectedTabIndex != 0) {
            m_ui->showObdSettingsChk->setChecked(m_optionalTabsShown);
            return false;
        }
    }
    m_optionalTabsShown = shown;
    m_ui->showObdSettingsChk->setChecked(shown);
    updateSelectorSegments();
    return true;
}

void VXLSettingController::clickShowObdSettingsChk(bool checked)
{
    if (setOptionalTabsShown(checked))
        userDefaults().setValue(kShowObdSettingsKey, checked);
}

void VXLSettingController::showWindow(int firstTab)
{
    if (firstTab < 0 || firstTab >= int(tabs().size()))
        firstTab = 0;
    if (firstTab >= shownTabCount())
        setOptionalTabsShown(true);
    if (const QScreen* screen = this->screen()) {
        const QRect visible = screen->availableGeometry();
        move(visible.topLeft() +
             QPoint((visible.width() - width()) / 2, (visible.height() - height()) / 2));
    }
    show();
    raise();
    activateWindow();
    onInitDialog();
    changeViewController(firstTab);
}

void VXLSettingController::onInitDialog()
{
    initDefaultFileData(&m_FileData);
    updateWindowTitle();
    loadSettingFile();
}

void VXLSettingController::loadSettingFile()
{
    // The record stays the window's own while the card is read: the read fills a copy, which
    // replaces the record on the GUI thread, and only then does the page show it and take input.
    m_loading = true;
    m_ui->targetView->setEnabled(false);
    showLoading(kLoadingTitle);
    const BlockDeviceSource& volumes = m_volumes;
    runInBackground(
        &m_workers, this,
        [&volumes, renamer = m_renamer] { return readSettingCard(volumes, renamer); },
        [this](const SettingCardRead& read) { settingFileRead(read); });
}

void VXLSettingController::settingFileRead(const SettingCardRead& read)
{
    m_loading = false;
    m_SettingFilePath = read.card.settingFilePath;
    m_selectedUSBDisk = read.card.card;
    if (read.record)
        m_FileData = *read.record;
    else
        m_FileData.time_gmt = systemTimeZoneIndex();
    updateWindowTitle();
    if (VXLSettingControllerDelegate* page = targetDelegate())
        page->setFileData(&m_FileData);
    m_ui->targetView->setEnabled(true);
    hideLoading();
    if (!m_SettingFilePath.isEmpty() && !read.record) {
        showAlertSheet(this, kWarnTitle,
                       localizedString(QStringLiteral("msg.setting_file_read_fail")));
    } else if (!read.card.card && !read.card.volumeFailure.isEmpty()) {
        // Not "no card": the cards could not be looked for at all.
        showAlertSheet(
            this, kWarnTitle,
            localizedString(QStringLiteral("msg.volumes_unlisted")).arg(read.card.volumeFailure));
    }
    Q_EMIT settingFileLoaded();
}

void VXLSettingController::updateWindowTitle()
{
    const QString title = localizedString(QStringLiteral("setting.window_title"));
    if (m_SettingFilePath.isEmpty())
        setWindowTitle(QStringLiteral("%1[Ver %2]").arg(title, m_strVersion));
    else
        setWindowTitle(
            QStringLiteral("%1[Ver %2] : %3").arg(title, m_strVersion, m_SettingFilePath));
}

void VXLSettingController::clickFunctionSegmentedControl(int segment)
{
    changeViewController(segment);
}

VXLSettingControllerDelegate* VXLSettingController::targetDelegate() const
{
    return dynamic_cast<VXLSettingControllerDelegate*>(m_targetController.data());
}

bool VXLSettingController::populate()
{
    VXLSettingControllerDelegate* page = targetDelegate();
    return page ? page->populate() : true;
}

QString VXLSettingController::validateUserInput()
{
    VXLSettingControllerDelegate* page = targetDelegate();
    return page ? page->validateUserInput() : QString();
}

void VXLSettingController::changeViewController(int index)
{
    if (index == m_lastSelectedTabIndex)
        return;
    GWSegmentedControl* selector = m_ui->functionSegmentedControl;
    if (index < 0 || index >= shownTabCount() || !tabs()[std::size_t(index)].createPage) {
        selector->setSelectedSegment(m_lastSelectedTabIndex);
        return;
    }
    if (VXLSettingControllerDelegate* page = targetDelegate()) {
        const QString message = page->validateUserInput();
        if (!message.isEmpty()) {
            selector->setSelectedSegment(m_lastSelectedTabIndex);
            showAlertSheet(this, kInvalidInputTitle, message);
            return;
        }
        if (!page->populate()) {
            selector->setSelectedSegment(m_lastSelectedTabIndex);
            return;
        }
        page->onHide();
    }
    removeTargetPage();

    const VXLSettingTab& tab = tabs()[std::size_t(index)];
    if (m_keptPages.size() < qsizetype(tabs().size()))
        m_keptPages.resize(qsizetype(tabs().size()));
    QWidget* page = tab.keepPage ? m_keptPages[index].data() : nullptr;
    if (!page) {
        page = tab.createPage(*this);
        page->setWindowTitle(localizedString(QString::fromLatin1(tab.pageTitle)));
        if (tab.keepPage)
            m_keptPages[index] = page;
    }
    m_ui->targetView->layout()->addWidget(page);
    page->show();
    m_targetController = page;
    if (VXLSettingControllerDelegate* delegate = targetDelegate()) {
        delegate->setFileData(&m_FileData);
        delegate->setMainController(this);
    }
    m_lastSelectedTabIndex = index;
    selector->setSelectedSegment(index);
}

void VXLSettingController::removeTargetPage()
{
    QWidget* page = m_targetController;
    if (!page)
        return;
    m_ui->targetView->layout()->removeWidget(page);
    page->hide();
    if (!m_keptPages.contains(page))
        page->deleteLater();
    m_targetController = nullptr;
}

void VXLSettingController::onSaveDefaultSetting()
{
    if (m_loading || m_saving)
        return;
    initDefaultFileData(&m_FileData);
    if (VXLSettingControllerDelegate* page = targetDelegate())
        page->setFileData(&m_FileData);
}

void VXLSettingController::onSave()
{
    if (m_loading || m_saving)
        return;
    const QString message = validateUserInput();
    if (!message.isEmpty()) {
        showAlertSheet(this, kInvalidInputTitle, message);
        Q_EMIT saveFinished({}, false);
        return;
    }
    // A page whose own checks fail has shown its warning: nothing is written.
    if (!populate()) {
        Q_EMIT saveFinished({}, false);
        return;
    }
    completeFileDataForSave(&m_FileData);
    setBusy(true);
    const BlockDeviceSource& volumes = m_volumes;
    runInBackground(
        &m_workers, this,
        [&volumes, card = m_selectedUSBDisk] { return settingSaveTarget(card, volumes); },
        [this](const QString& target) { saveToTarget(target); });
}

void VXLSettingController::saveToTarget(const QString& target)
{
    if (target.isEmpty())
        showSavePanel();
    else
        writeSettingFile(target);
}

void VXLSettingController::showSavePanel()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    auto* panel = new QFileDialog(this, kSavePanelTitle,
                                  QDir(desktop).filePath(QString::fromLatin1(kSettingFileName)));
    panel->setObjectName(QStringLiteral("savePanel"));
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::fileSelected, this,
            [this](const QString& path) { writeSettingFile(path); });
    connect(panel, &QFileDialog::rejected, this, [this] { endSave({}, false); });
    panel->open();
}

void VXLSettingController::writeSettingFile(const QString& path)
{
    runInBackground(
        &m_workers, this, [record = m_FileData, path] { return writeFileData(record, path); },
        [this, path](const QString& error) {
            Q_EMIT settingFileWritten(path, error.isEmpty());
            whenAlertsClosed(this, [this, path, error] {
                if (!error.isEmpty()) {
                    // The record stays as edited and the window open: Save can be tried again.
                    showAlertSheet(this, kWarnTitle,
                                   localizedString(QStringLiteral("msg.write_protected_disk")));
                    endSave(path, false);
                    return;
                }
                showAlertSheet(this, path, localizedString(QStringLiteral("msg.saved")),
                               [window = QPointer<VXLSettingController>(this)] {
                                   if (window)
                                       window->onCloseCmd();
                               });
                endSave(path, true);
            });
        });
}

void VXLSettingController::endSave(const QString& path, bool written)
{
    setBusy(false);
    Q_EMIT saveFinished(path, written);
}

void VXLSettingController::setBusy(bool busy)
{
    m_saving = busy;
    m_ui->targetView->setEnabled(!busy);
    m_ui->functionSegmentedControl->setEnabled(!busy);
    for (QPushButton* button :
         {m_ui->saveButton, m_ui->resetButton, m_ui->cancelButton, m_ui->diskUtilityButton})
        button->setEnabled(!busy);
    m_ui->sdcardFormatButton->setEnabled(!busy && m_formatWindowOpener != nullptr);
}

void VXLSettingController::onFormat()
{
    if (m_formatWindowOpener)
        m_formatWindowOpener(this);
}

void VXLSettingController::setFormatWindowOpener(std::function<void(QWidget*)> opener)
{
    m_formatWindowOpener = std::move(opener);
    m_ui->sdcardFormatButton->setEnabled(!m_saving && m_formatWindowOpener != nullptr);
}

void VXLSettingController::setObdDriveInfoOpener(std::function<void()> opener)
{
    m_obdDriveInfoOpener = std::move(opener);
}

void VXLSettingController::onObdDriveInfo()
{
    if (m_obdDriveInfoOpener)
        m_obdDriveInfoOpener();
}

void VXLSettingController::onDiskUtil()
{
    for (const QString& tool : kDiskTools) {
        const QString program = QStandardPaths::findExecutable(tool);
        if (!program.isEmpty() && QProcess::startDetached(program, {}))
            return;
    }
    qCInfo(lcSettingWindow, "no disk tool found");
    showAlertSheet(this, kWarnTitle, localizedString(QStringLiteral("msg.no_disk_tool")));
}

void VXLSettingController::onCloseCmd()
{
    close();
}

void VXLSettingController::showLoading(const QString& title)
{
    m_progressSheet->showLoading(title);
}

void VXLSettingController::updateLoadingWindow(double seconds)
{
    m_progressSheet->updateLoadingWindow(seconds);
}

void VXLSettingController::hideLoading()
{
    m_progressSheet->hideLoading();
}

void VXLSettingController::setTimeScale(double scale)
{
    m_progressSheet->setTimeScale(scale);
}
