#include "SettingTestSupport.h"

#include "settings/ui/VXLSettingController.h"
#include "settings/ui/VXLSettingControllerDelegate.h"
#include "settings/ui/VXLSettingForBasicViewController.h"
#include "settings/ui/VXLSettingForObdViewController.h"
#include "settings/ui/VXLSettingProgressSheet.h"

#include "cardtools/ShellScript.h"
#include "driverecords/ui/VXLSettingForFlashDataViewController.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>

#include <atomic>

namespace {

// One USB card reader whose card is mounted at `mountPoint` with `label`, or no USB volume.
class CardReader : public BlockDeviceSource
{
public:
    void insert(const QString& mountPoint, const QString& label)
    {
        m_mountPoint = mountPoint;
        m_label = label;
    }
    void remove() { m_mountPoint.clear(); }
    // The next listings wait until released (a slow lsblk).
    void hold() { m_held = true; }
    void release()
    {
        m_held = false;
        m_gate.release(100);
    }

    BlockDeviceListing blockDeviceListing() const override
    {
        if (m_held)
            m_gate.acquire();
        if (m_mountPoint.isEmpty())
            return {R"({"blockdevices": []})", {}};
        return {
            QStringLiteral(
                R"({"blockdevices": [{"name":"sdb", "path":"/dev/sdb", "label":null, "mountpoint":null, "rm":true, "hotplug":true, "tran":"usb", "model":"Card Reader", "size":15931539456, "ro":false, "type":"disk", "pkname":null,
                      "children": [{"name":"sdb1", "path":"/dev/sdb1", "label":"%1", "mountpoint":"%2", "rm":true, "hotplug":true, "tran":null, "model":null, "size":15927345152, "ro":false, "type":"part", "pkname":"sdb"}]}]})")
                .arg(m_label, m_mountPoint)
                .toUtf8(),
            {}};
    }
    QString probeVolumeLabel(const QString&) const override { return {}; }

private:
    QString m_mountPoint;
    QString m_label;
    std::atomic<bool> m_held = false;
    mutable QSemaphore m_gate;
};

// A card with a settings file that differs from the factory one in known fields.
_FILEDATA cardRecord()
{
    _FILEDATA record = factoryRecord();
    record.vid_brightness = 4;
    record.vid_enc_bitrate = 2;
    record.vid_enc_bitrate_R = 1;
    record.time_gmt = 5;
    record.summer_time = 1;
    record.Brightness1 = 5;
    record.always_mode_timeout = 600;
    record.ADAS_Car = 2;
    completeFileDataForSave(&record);
    return record;
}

_FILEDATA fileRecord(const QString& path)
{
    _FILEDATA record{};
    EXPECT_TRUE(readFileData(path, &record)) << path.toStdString();
    return record;
}

struct Window
{
    explicit Window(const BlockDeviceSource& volumes,
                    std::span<const VXLSettingTab> tabs = VXLSettingController::defaultTabs())
        : controller(volumes, nullptr, tabs)
    {
        controller.setTimeScale(0.02);
        controller.setVolumeRenamer([this](const GWUSBDiskEntity& card) {
            renamed.append(card.deviceFilePath());
            return renameAnswer;
        });
    }

    void open()
    {
        QSignalSpy loaded(&controller, &VXLSettingController::settingFileLoaded);
        controller.showWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !loaded.isEmpty(); }));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !controller.progressSheet()->isShown(); }));
    }

    GWSegmentedControl* selector()
    {
        return child<GWSegmentedControl>(&controller, "functionSegmentedControl");
    }

    // Saves and waits for the end of it; answers where it went.
    std::pair<QString, bool> save()
    {
        QSignalSpy finished(&controller, &VXLSettingController::saveFinished);
        child<QPushButton>(&controller, "saveButton")->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }));
        if (finished.isEmpty())
            return {};
        return {finished[0][0].toString(), finished[0][1].toBool()};
    }

    VXLSettingController controller;
    QStringList renamed;
    QVariantMap renameAnswer;
};

// vexlo --card DIR: the folder is the card when no USB card holds a settings file, is never
// renamed, and stays usable when lsblk fails, which the result still says.
TEST(SettingCard, CardFolderStandsInAndLsblkFailureIsTold)
{
    TempDir folder;
    ASSERT_TRUE(writeFileData(cardRecord(), folder.filePath("config.bin")).isEmpty());
    class BrokenLsblk : public BlockDeviceSource
    {
        BlockDeviceListing blockDeviceListing() const override
        {
            return {{}, QStringLiteral("lsblk exited with status 1")};
        }
        QString probeVolumeLabel(const QString&) const override { return {}; }
    } broken;
    QStringList renamed;
    const VolumeRenamer renamer = [&](const GWUSBDiskEntity& card) {
        renamed.append(card.deviceFilePath());
        return QVariantMap();
    };

    const SettingCard none = findSettingCard(broken, renamer);
    EXPECT_FALSE(none.card.has_value());
    EXPECT_TRUE(none.volumeFailure.contains(QStringLiteral("status 1")));

    const SettingCard fromFolder =
        findSettingCard(CardFolderBlockDeviceSource(broken, folder.path()), renamer);
    ASSERT_TRUE(fromFolder.card.has_value());
    EXPECT_FALSE(fromFolder.card->removable());
    EXPECT_EQ(fromFolder.settingFilePath, folder.filePath("config.bin"));
    EXPECT_FALSE(fromFolder.volumeFailure.isEmpty());

    // A USB card with its settings file wins over the folder.
    TempDir usbCard;
    ASSERT_TRUE(writeFileData(factoryRecord(), usbCard.filePath("config.bin")).isEmpty());
    CardReader reader;
    reader.insert(usbCard.path(), QStringLiteral("ZUVA"));
    const SettingCard fromReader =
        findSettingCard(CardFolderBlockDeviceSource(reader, folder.path()), renamer);
    EXPECT_EQ(fromReader.settingFilePath, usbCard.filePath("config.bin"));
    EXPECT_TRUE(fromReader.volumeFailure.isEmpty());
    EXPECT_TRUE(renamed.isEmpty()) << "neither a folder nor a card named ZUVA is renamed";
}

TEST(SettingWindow, OpensOnTheCardsFileOrOnFactoryValuesWithTheComputersZone)
{
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_TRUE(writeFileData(cardRecord(), path).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    {
        Window window(reader);
        window.open();
        EXPECT_EQ(window.controller.settingFilePath(), path);
        EXPECT_EQ(
            window.controller.windowTitle(),
            QStringLiteral("Camera Settings[Ver %1] : %2").arg(window.controller.version(), path));
        EXPECT_EQ(fileDataToBytes(*window.controller.filedata()), fileDataToBytes(cardRecord()));
        // Page 0 was given the card's record once it had been read.
        auto* brightness = child<GWSegmentedControl>(&window.controller, "videoBrightness");
        ASSERT_NE(brightness, nullptr);
        EXPECT_EQ(brightness->selectedSegment(), 4);
        EXPECT_TRUE(window.renamed.isEmpty());
    }

    // A card named otherwise is renamed; a refused rename leaves it in use as it is.
    reader.insert(card.path(), QStringLiteral("NO NAME"));
    {
        Window window(reader);
        window.renameAnswer = {{QString::fromLatin1(kScriptErrorNumberKey), 126}};
        window.open();
        EXPECT_EQ(window.renamed, QStringList(QStringLiteral("/dev/sdb1")));
        EXPECT_EQ(window.controller.settingFilePath(), path);
    }

    // A file that is not 500 bytes is not the camera's: factory values, the computer's zone.
    card.write("config.bin", QByteArray(499, '\x01'));
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    for (const bool withCard : {true, false}) {
        if (!withCard)
            reader.remove();
        Window window(reader);
        window.open();
        EXPECT_TRUE(window.controller.settingFilePath().isEmpty());
        EXPECT_EQ(window.controller.windowTitle(),
                  QStringLiteral("Camera Settings[Ver %1]").arg(window.controller.version()));
        _FILEDATA expected = factoryRecord();
        expected.time_gmt = systemTimeZoneIndex();
        EXPECT_EQ(changedFields(expected, *window.controller.filedata()), QStringList());
    }
}

TEST(SettingWindow, PageTakesNoInputUntilTheCardHasBeenRead)
{
    TempDir card;
    ASSERT_TRUE(writeFileData(cardRecord(), card.filePath("config.bin")).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    reader.hold();
    Window window(reader);
    QSignalSpy loaded(&window.controller, &VXLSettingController::settingFileLoaded);
    window.controller.showWindow();
    auto* brightness = child<GWSegmentedControl>(&window.controller, "videoBrightness");
    ASSERT_NE(brightness, nullptr);
    EXPECT_TRUE(window.controller.progressSheet()->isShown());
    EXPECT_FALSE(brightness->isEnabledTo(&window.controller));
    // Input is refused while the card is read; the record is still the factory one.
    window.controller.onSave();
    EXPECT_FALSE(window.controller.isSaving());
    EXPECT_EQ(brightness->selectedSegment(), 2);
    reader.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !loaded.isEmpty(); }));
    EXPECT_EQ(brightness->selectedSegment(), 4);
    EXPECT_TRUE(brightness->isEnabledTo(&window.controller));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.controller.progressSheet()->isShown(); }));
}

TEST(SettingWindow, ChangingPagesValidatesAndRebuildsThem)
{
    AlertRecorder alerts;
    CardReader reader;
    Window window(reader);
    window.open();
    GWSegmentedControl* selector = window.selector();
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->segmentCount(), 8) << "the OBD tab only on request";
    EXPECT_TRUE(selector->isSegmentEnabled(7)) << "the drive-information page";

    clickSegment(selector, 1);
    QPointer<VXLSettingForBasicViewController> basic =
        dynamic_cast<VXLSettingForBasicViewController*>(window.controller.targetController());
    ASSERT_NE(basic, nullptr);
    clickSegment(child<GWSegmentedControl>(basic, "gsensorSensitivityDrivingSeg"), 5);
    auto* drivingX = child<QLineEdit>(basic, "gsensorSensitivityThresholdXDrivingField");
    drivingX->setText(QStringLiteral("abc"));

    // The tab already shown: nothing, not even the check.
    clickSegment(selector, 1);
    EXPECT_TRUE(alerts.alerts().isEmpty());
    // Another tab: the page's message, and the page and its segment stay.
    clickSegment(selector, 2);
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("ZUVA"));
    EXPECT_EQ(alerts.alerts()[0].informativeText, QStringLiteral("Enter a number, such as 0.50."));
    EXPECT_EQ(window.controller.targetController(), basic);
    EXPECT_EQ(selector->selectedSegment(), 1);
    EXPECT_EQ(window.controller.lastSelectedTabIndex(), 1);
    // Disabled and hidden tabs cannot be chosen at all.
    window.controller.changeViewController(7);
    window.controller.changeViewController(VXLSettingController::kObdTabIndex);
    EXPECT_EQ(window.controller.targetController(), basic);

    // Valid input is stored on leaving; the page made anew shows it.
    drivingX->setText(QStringLiteral("0.29"));
    clickSegment(selector, 2);
    EXPECT_EQ(window.controller.filedata()->gsen_x_threshold, 29);
    clickSegment(selector, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return basic.isNull(); }));
    auto* again = window.controller.targetController();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(child<QLineEdit>(again, "gsensorSensitivityThresholdXDrivingField")->text(),
              QStringLiteral("0.29"));
}

// The Wi-Fi checks of the Auxiliary page come after its share checks, inside its populate:
// their warning stops the save, and the page cannot be left either.
TEST(SettingWindow, AFailedWifiCheckStopsTheSave)
{
    AlertRecorder alerts;
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_TRUE(writeFileData(cardRecord(), path).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    Window window(reader);
    window.open();
    clickSegment(window.selector(), 3);
    QWidget* aux = window.controller.targetController();
    ASSERT_NE(aux, nullptr);
    child<QLineEdit>(aux, "passwordLabel")->setText(QStringLiteral("1234567"));
    EXPECT_EQ(window.save(), std::make_pair(QString(), false));
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("Warning"));
    EXPECT_EQ(fileDataToBytes(fileRecord(path)), fileDataToBytes(cardRecord()));
    clickSegment(window.selector(), 4);
    EXPECT_EQ(window.controller.targetController(), aux);
}

// The OBD page is offered once "Show OBD settings" is ticked, which the next window remembers;
// it opens the OBD drive-info viewer only when the window has a way to.
TEST(SettingWindow, ObdPageOnRequestAndItsDriveInfoViewer)
{
    CardReader reader;
    {
        Window window(reader);
        window.open();
        auto* show = child<QCheckBox>(&window.controller, "showObdSettingsChk");
        ASSERT_NE(show, nullptr);
        EXPECT_FALSE(show->isChecked());
        EXPECT_EQ(window.selector()->segmentCount(), 8);
        show->click();
        ASSERT_EQ(window.selector()->segmentCount(), 9);
        clickSegment(window.selector(), VXLSettingController::kObdTabIndex);
        QWidget* obd = window.controller.targetController();
        ASSERT_NE(dynamic_cast<VXLSettingForObdViewController*>(obd), nullptr);
        EXPECT_FALSE(child<QPushButton>(obd, "obdDriveInfoButton")->isVisible());
        // Hidden again, the window goes back to its first page.
        show->click();
        EXPECT_EQ(window.selector()->segmentCount(), 8);
        EXPECT_EQ(window.controller.lastSelectedTabIndex(), 0);
        show->click();
    }
    Window again(reader);
    int opened = 0;
    again.controller.setObdDriveInfoOpener([&opened] { ++opened; });
    again.open();
    ASSERT_EQ(again.selector()->segmentCount(), 9);
    clickSegment(again.selector(), VXLSettingController::kObdTabIndex);
    auto* button = child<QPushButton>(again.controller.targetController(), "obdDriveInfoButton");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    button->click();
    EXPECT_EQ(opened, 1);
    // Left as found for the other tests of this run.
    child<QCheckBox>(&again.controller, "showObdSettingsChk")->click();
    EXPECT_EQ(again.selector()->segmentCount(), 8);
}

// The last tab shows the card's drive-record log; the page is kept between visits and does not
// read the file again.
TEST(SettingWindow, DriveInformationTabShowsTheCardLogAndIsKept)
{
    TempDir card;
    ASSERT_TRUE(writeFileData(cardRecord(), card.filePath("config.bin")).isEmpty());
    // The sample card's log, 240 records.
    card.mkdir("DrvInfo");
    ASSERT_TRUE(QFile::copy(qEnvironmentVariable("VEXLO_BINARY_DIR") +
                                QStringLiteral("/sample-card/DrvInfo/zuva_000.drv"),
                            card.filePath("DrvInfo/zuva_000.drv")));
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    Window window(reader);
    window.open();
    GWSegmentedControl* selector = window.selector();
    ASSERT_NE(selector, nullptr);

    clickSegment(selector, 7);
    auto* page =
        dynamic_cast<VXLSettingForFlashDataViewController*>(window.controller.targetController());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->windowTitle(), QStringLiteral("Drive Information"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->flashDataNum() == 240; }));
    EXPECT_EQ(page->model()->index(1, 1).data().toString(), QStringLiteral("2"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.controller.progressSheet()->isShown(); }));
    if (const QString dir = qEnvironmentVariable("VEXLO_SCREENSHOT_DIR"); !dir.isEmpty())
        window.controller.grab().save(dir + QStringLiteral("/settings-drive-information.png"));

    QSignalSpy loads(page, &VXLDriveRecordViewer::loadingStarted);
    clickSegment(selector, 0);
    clickSegment(selector, 7);
    EXPECT_EQ(window.controller.targetController(), page) << "kept, not made again";
    EXPECT_TRUE(loads.isEmpty()) << "not read again";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.controller.progressSheet()->isShown(); }));
}

TEST(SettingWindow, ResetAffectsTheWholeRecordButTheKeptFields)
{
    TempDir card;
    ASSERT_TRUE(writeFileData(cardRecord(), card.filePath("config.bin")).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    Window window(reader);
    window.open();
    child<QPushButton>(&window.controller, "resetButton")->click();
    const _FILEDATA& record = *window.controller.filedata();
    // Kept: the qualities, the zone and summer time, the language.
    EXPECT_EQ(record.vid_enc_bitrate, 2u);
    EXPECT_EQ(record.vid_enc_bitrate_R, 1u);
    EXPECT_EQ(record.time_gmt, 5);
    EXPECT_EQ(record.summer_time, 1u);
    EXPECT_EQ(record.Brightness1, 5u);
    // Reset: this page's field and the other pages' alike.
    EXPECT_EQ(record.vid_brightness, 2u);
    EXPECT_EQ(record.always_mode_timeout, 10u);
    EXPECT_EQ(record.ADAS_Car, 0);
    EXPECT_EQ(child<GWSegmentedControl>(&window.controller, "videoBrightness")->selectedSegment(),
              2);
    EXPECT_EQ(fileDataToBytes(fileRecord(card.filePath("config.bin"))),
              fileDataToBytes(cardRecord()))
        << "nothing is written";
}

TEST(SettingWindow, SavesToTheCardOrTheFileChosen)
{
    AlertRecorder alerts;
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_TRUE(writeFileData(cardRecord(), path).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));

    for (const bool removedMeanwhile : {false, true}) {
        Window window(reader);
        window.open();
        clickSegment(child<GWSegmentedControl>(&window.controller, "videoBrightness"), 0);
        if (removedMeanwhile) {
            ASSERT_TRUE(QFile::remove(path));
        }
        EXPECT_EQ(window.save(), std::pair(path, true));
        const _FILEDATA saved = fileRecord(path);
        EXPECT_EQ(saved.vid_brightness, 0u);
        EXPECT_EQ(saved.checksum, fileDataChecksum(saved));
        EXPECT_EQ(saved.osd_plate_flag, 1) << "set from the car number";
        ASSERT_FALSE(alerts.alerts().isEmpty());
        EXPECT_EQ(alerts.alerts().last().message, path);
        EXPECT_EQ(alerts.alerts().last().informativeText, QStringLiteral("The file was saved."));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.controller.isVisible(); }))
            << "the saved alert closes the window";
    }

    // No card: the save panel, in which a cancel writes nothing and says nothing.
    reader.remove();
    alerts.clear();
    TempDir elsewhere;
    for (const bool cancel : {true, false}) {
        Window window(reader);
        window.open();
        QSignalSpy finished(&window.controller, &VXLSettingController::saveFinished);
        child<QPushButton>(&window.controller, "saveButton")->click();
        QFileDialog* panel = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            panel = window.controller.findChild<QFileDialog*>(QStringLiteral("savePanel"));
            return panel && panel->isVisible();
        }));
        EXPECT_EQ(panel->windowTitle(), QStringLiteral("Save Settings"));
        EXPECT_EQ(panel->selectedFiles().value(0).section(u'/', -1), QStringLiteral("config.bin"));
        const QString chosen = elsewhere.filePath("mine.bin");
        if (cancel) {
            panel->reject();
        } else {
            // Typed into the panel's name field, as a user would.
            auto* name = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(chosen);
            QMetaObject::invokeMethod(panel, "accept");
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }));
        EXPECT_EQ(finished[0][1].toBool(), !cancel);
        EXPECT_EQ(QFileInfo::exists(chosen), !cancel);
        EXPECT_EQ(alerts.alerts().size(), cancel ? 0 : 1);
        if (!cancel) {
            EXPECT_EQ(alerts.alerts().last().message, chosen);
        }
    }
}

TEST(SettingWindow, SavedAlertWaitsForThePagesOwnWarning)
{
    AlertRecorder alerts;
    alerts.setAnswer(false);
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_TRUE(writeFileData(cardRecord(), path).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    Window window(reader);
    window.open();
    clickSegment(child<GWSegmentedControl>(&window.controller, "videoEncodingBitrate"), 0);
    QSignalSpy written(&window.controller, &VXLSettingController::settingFileWritten);
    child<QPushButton>(&window.controller, "saveButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !written.isEmpty(); }));
    EXPECT_EQ(fileRecord(path).vid_enc_bitrate, 0u);
    QCoreApplication::processEvents();
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("Warning"));
    auto* warning = window.controller.findChild<QMessageBox*>();
    ASSERT_NE(warning, nullptr);
    warning->accept();
    ASSERT_TRUE(QTest::qWaitFor([&] { return alerts.alerts().size() == 2; }));
    EXPECT_EQ(alerts.alerts()[1].message, path);
}

TEST(SettingWindow, WriteFailureKeepsTheWindowAndTheEdits)
{
    AlertRecorder alerts;
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_TRUE(writeFileData(cardRecord(), path).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    Window window(reader);
    window.open();
    clickSegment(child<GWSegmentedControl>(&window.controller, "videoBrightness"), 1);
    // A folder where the file was: the real write fails.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_EQ(window.save(), std::pair(path, false));
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("Warn"));
    EXPECT_EQ(alerts.alerts()[0].informativeText,
              localizedString(QStringLiteral("msg.write_protected_disk")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.controller.isVisible());
    EXPECT_EQ(window.controller.filedata()->vid_brightness, 1u);
    // Save can be tried again.
    ASSERT_TRUE(QDir().rmdir(path));
    EXPECT_EQ(window.save(), std::pair(path, true));
    EXPECT_EQ(fileRecord(path).vid_brightness, 1u);
}

// A page whose own check fails inside populate, after showing its own warning.
class RefusingPage : public QWidget, public VXLSettingControllerDelegate
{
public:
    void setFileData(_FILEDATA* fileData) override { m_fileData = fileData; }
    bool populate() override
    {
        m_fileData->vid_brightness = 3; // a page may store part of its fields first
        showAlertSheet(window(), QStringLiteral("Warning"), QStringLiteral("refused"));
        return false;
    }
    QString validateUserInput() override { return {}; }
    void setMainController(VXLSettingController*) override {}

private:
    _FILEDATA* m_fileData = nullptr;
};

QWidget* createRefusingPage(VXLSettingController&)
{
    return new RefusingPage;
}

TEST(SettingWindow, SaveStopsWhenThePageRefusesToStore)
{
    AlertRecorder alerts;
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_TRUE(writeFileData(cardRecord(), path).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    const VXLSettingTab tabs[] = {{"setting.aux", "setting.aux", createRefusingPage}};
    Window window(reader, tabs);
    window.open();
    EXPECT_EQ(window.save(), std::pair(QString(), false));
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].informativeText, QStringLiteral("refused"));
    EXPECT_EQ(fileDataToBytes(fileRecord(path)), fileDataToBytes(cardRecord()));
    EXPECT_TRUE(window.controller.isVisible());
}

TEST(SettingWindow, FormatAndDiskToolButtons)
{
    AlertRecorder alerts;
    CardReader reader;
    Window window(reader);
    window.open();
    auto* format = child<QPushButton>(&window.controller, "sdcardFormatButton");
    ASSERT_NE(format, nullptr);
    EXPECT_FALSE(format->isEnabled()) << "nothing to open yet";
    QWidget* openedOver = nullptr;
    window.controller.setFormatWindowOpener([&](QWidget* settings) { openedOver = settings; });
    format->click();
    EXPECT_EQ(openedOver, &window.controller);

    // The desktop's disk tool when one is installed, else a message naming them.
    TempDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    child<QPushButton>(&window.controller, "diskUtilityButton")->click();
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.alerts()[0].informativeText.contains(QStringLiteral("gnome-disks")));
    EXPECT_TRUE(alerts.alerts()[0].informativeText.contains(QStringLiteral("partitionmanager")));

    const QString started = bin.filePath("started");
    const QString tool =
        bin.write("partitionmanager", "#!/bin/sh\n/usr/bin/touch '" + started.toUtf8() + "'\n");
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    child<QPushButton>(&window.controller, "diskUtilityButton")->click();
    qputenv("PATH", path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(started); }));
    EXPECT_EQ(alerts.alerts().size(), 1);
}

TEST(SettingWindow, ProgressSheetStaysHalfASecondAtLeastAndFifteenAtMost)
{
    CardReader reader;
    Window window(reader);
    VXLSettingProgressSheet* sheet = window.controller.progressSheet();
    ASSERT_NE(sheet, nullptr);
    window.controller.show();
    QSignalSpy closed(sheet, &VXLSettingProgressSheet::sheetClosed);
    // Left alone it runs its 30 ticks to 100 %.
    sheet->showLoading(QStringLiteral("Loading..."));
    EXPECT_TRUE(sheet->isShown());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !closed.isEmpty(); }));
    EXPECT_GE(sheet->progress(), 100.0);
    EXPECT_FALSE(sheet->isShown());
    // Hidden at once, it still waits for its first tick.
    closed.clear();
    sheet->showLoading(QStringLiteral("Loading..."));
    sheet->hideLoading();
    EXPECT_TRUE(sheet->isShown());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !closed.isEmpty(); }));
    EXPECT_LT(sheet->progress(), 4.0);
}

} // namespace

namespace {

// Each page fits the window at its first size, so nothing is cut off; with
// VEXLO_SCREENSHOT_DIR set, a picture of the window with each page is left there to look at.
TEST(SettingWindow, EveryPageFitsTheWindow)
{
    TempDir card;
    ASSERT_TRUE(writeFileData(cardRecord(), card.filePath("config.bin")).isEmpty());
    CardReader reader;
    reader.insert(card.path(), QStringLiteral("ZUVA"));
    Window window(reader);
    window.open();
    const QString shots = qEnvironmentVariable("VEXLO_SCREENSHOT_DIR");
    auto* targetView = child<QWidget>(&window.controller, "targetView");
    ASSERT_NE(targetView, nullptr);
    ASSERT_TRUE(window.controller.setOptionalTabsShown(true));
    for (int tab = 0; tab < int(window.controller.tabs().size()); ++tab) {
        if (!window.controller.tabs()[std::size_t(tab)].createPage)
            continue;
        window.controller.changeViewController(tab);
        QWidget* page = window.controller.targetController();
        ASSERT_NE(page, nullptr) << tab;
        QApplication::processEvents();
        const QSize room = targetView->contentsRect().size();
        EXPECT_LE(page->minimumSizeHint().width(), room.width()) << tab;
        EXPECT_LE(page->minimumSizeHint().height(), room.height()) << tab;
        EXPECT_GE(window.controller.width(), window.controller.minimumSizeHint().width()) << tab;
        if (!shots.isEmpty())
            window.controller.grab().save(QStringLiteral("%1/settings-%2.png").arg(shots).arg(tab));
    }
}

} // namespace
