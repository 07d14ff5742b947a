#pragma once

#include "VXLSettingCard.h"

#include "settings/FileData.h"

#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <span>

class VXLSettingControllerDelegate;
class VXLSettingProgressSheet;
namespace Ui {
class VXLSettingController;
}

class VXLSettingController;

// One tab of the settings window: its segment label and page title (string-table keys) and
// how its page is made. A tab without a page is shown as a disabled segment.
struct VXLSettingTab
{
    const char* segmentLabel;
    const char* pageTitle;
    // Makes the tab's page; it implements VXLSettingControllerDelegate.
    QWidget* (*createPage)(VXLSettingController& controller) = nullptr;
    // The page is made once and kept between visits (its state survives); other pages are
    // made anew at each visit and show the record as it is then.
    bool keepPage = false;
    // Shown only while the window's "Show OBD settings" entry is ticked. Such tabs come last,
    // so a segment's number is its tab's number.
    bool optional = false;
};

// The settings window: finds the camera's card and reads its config.bin, shows one page of the
// one record at a time, and on Save lets the page store its controls, completes the record and
// writes it to the card (or, without a card, to a file the user picks).
class VXLSettingController : public QWidget
{
    Q_OBJECT

public:
    // `tabs` replaces the window's own tabs (tests).
    explicit VXLSettingController(const BlockDeviceSource& volumes, QWidget* parent = nullptr,
                                  std::span<const VXLSettingTab> tabs = defaultTabs());
    ~VXLSettingController() override;

    // The window's tabs in segment order; the OBD page's is optional.
    static std::span<const VXLSettingTab> defaultTabs();
    static constexpr int kObdTabIndex = 8;
    std::span<const VXLSettingTab> tabs() const { return m_tabs; }

    // Shows the window: centred on its screen, the record reset to factory values and the
    // card's file read again in the background, page `firstTab` shown (an optional one is
    // then shown in this window).
    void showWindow(int firstTab = 0);

    // Whether the optional tabs are offered. The user's choice ("Show OBD settings") is kept
    // in the user defaults; setOptionalTabsShown alone does not keep it. Hiding them while one
    // is shown goes to page 0 first; false when the page shown refuses to be left.
    bool optionalTabsShown() const { return m_optionalTabsShown; }
    bool setOptionalTabsShown(bool shown);
    // The number of tabs offered now.
    int shownTabCount() const;

    _FILEDATA* filedata() { return &m_FileData; }
    const QString& settingFilePath() const { return m_SettingFilePath; }
    const std::optional<GWUSBDiskEntity>& selectedUSBDisk() const { return m_selectedUSBDisk; }
    const QString& version() const { return m_strVersion; }
    int lastSelectedTabIndex() const { return m_lastSelectedTabIndex; }
    QWidget* targetController() const { return m_targetController; }
    bool isLoading() const { return m_loading; }
    bool isSaving() const { return m_saving; }

    // The page protocol, forwarded to the page shown; with none, populate is true and
    // validateUserInput empty.
    bool populate();
    QString validateUserInput();

    void changeViewController(int index);
    void onSave();
    void onSaveDefaultSetting();
    void onFormat();
    void onDiskUtil();
    void onCloseCmd();

    void showLoading(const QString& title);
    void updateLoadingWindow(double seconds);
    void hideLoading();
    VXLSettingProgressSheet* progressSheet() const { return m_progressSheet; }

    // Opens the format window over this one; the format button is disabled while none is set.
    void setFormatWindowOpener(std::function<void(QWidget* settingsWindow)> opener);
    // Opens the OBD drive-info viewer, asked for from the OBD page; an OBD page made once one
    // is set offers it.
    void setObdDriveInfoOpener(std::function<void()> opener);
    bool hasObdDriveInfoOpener() const { return m_obdDriveInfoOpener != nullptr; }
    void onObdDriveInfo();
    // Stands in for fatlabel (tests).
    void setVolumeRenamer(VolumeRenamer renamer) { m_renamer = std::move(renamer); }
    // Runs the progress sheet's ticks faster (tests).
    void setTimeScale(double scale);

Q_SIGNALS:
    // The card's file has been read (or found missing) and the page shows the record.
    void settingFileLoaded();
    // The write of a save has ended, before its alert is shown.
    void settingFileWritten(const QString& path, bool written);
    // A save ended and its alert is shown: written to `path`, or not (`path` empty: refused or
    // cancelled).
    void saveFinished(const QString& path, bool written);

private:
    void setUpWindow();
    void onInitDialog();
    void loadSettingFile();
    void settingFileRead(const SettingCardRead& read);
    void updateWindowTitle();
    void clickFunctionSegmentedControl(int segment);
    void clickShowObdSettingsChk(bool checked);
    void updateSelectorSegments();
    int firstOptionalTab() const;
    VXLSettingControllerDelegate* targetDelegate() const;
    void removeTargetPage();
    void saveToTarget(const QString& target);
    void showSavePanel();
    void writeSettingFile(const QString& path);
    void endSave(const QString& path, bool written);
    void setBusy(bool busy);

    const BlockDeviceSource& m_volumes;
    std::span<const VXLSettingTab> m_tabs;
    std::unique_ptr<Ui::VXLSettingController> m_ui;
    VXLSettingProgressSheet* m_progressSheet = nullptr;

    _FILEDATA m_FileData{};
    QString m_SettingFilePath;
    std::optional<GWUSBDiskEntity> m_selectedUSBDisk;
    QString m_strVersion;
    int m_lastSelectedTabIndex = -1;
    QPointer<QWidget> m_targetController;
    // Pages kept between visits, by tab.
    QList<QPointer<QWidget>> m_keptPages;
    VolumeRenamer m_renamer = renameVolumeToZuva;
    std::function<void(QWidget*)> m_formatWindowOpener;
    std::function<void()> m_obdDriveInfoOpener;
    bool m_optionalTabsShown = false;
    bool m_loading = false;
    bool m_saving = false;
    // Card lookups, reads and writes; waited for before the window goes away.
    QThreadPool m_workers;
};
