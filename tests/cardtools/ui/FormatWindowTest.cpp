#include "cardtools/CardFormat.h"
#include "cardtools/FormatPlan.h"
#include "cardtools/ImageCardFormatSystem.h"
#include "cardtools/ShellScript.h"
#include "cardtools/VolumeDiscovery.h"
#include "cardtools/ui/VXLFormatWindowController.h"
#include "widgets/LocalizedString.h"

#include "AlertRecorder.h"
#include "support/CardImage.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMutex>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>

#include <atomic>

#include <stdexcept>

#include <gtest/gtest.h>

namespace {

// A system side with scripted answers; the volumes' mount points are real folders, which a
// successful "format" empties, so the sequence keeps and puts back config.bin for real.
class FakeFormatSystem : public CardFormatSystem
{
public:
    QList<GWUSBDiskEntity> listed;
    QVariantMap formatRecord;
    bool goneAfterFormat = false;
    QString listingFailure;           // lsblk's failure, when set
    QSemaphore* formatGate = nullptr; // the formatter waits for it when set

    QStringList steps() const
    {
        QMutexLocker lock(&m_mutex);
        return m_steps;
    }

    VolumeQuery<QList<GWUSBDiskEntity>> volumes() const override
    {
        QMutexLocker lock(&m_mutex);
        if (!listingFailure.isEmpty())
            return {{}, listingFailure};
        return {goneAfterFormat && m_formatted ? QList<GWUSBDiskEntity>() : listed, {}};
    }
    QString formatTargetProblem(const GWUSBDiskEntity&) const override { return {}; }
    QVariantMap unmount(const GWUSBDiskEntity&) override { return step("unmount"); }
    QVariantMap format(const GWUSBDiskEntity& volume, int sectorsPerCluster) override
    {
        step("format " + QString::number(sectorsPerCluster));
        m_formatted = true;
        if (formatGate)
            formatGate->acquire();
        if (formatRecord.isEmpty())
            QFile::remove(volume.mountedURL().toLocalFile() + "/config.bin");
        return formatRecord;
    }
    QVariantMap mount(const GWUSBDiskEntity&) override { return step("mount"); }

private:
    QVariantMap step(const QString& name)
    {
        QMutexLocker lock(&m_mutex);
        m_steps << name;
        return {};
    }
    mutable QMutex m_mutex;
    QStringList m_steps;
    std::atomic<bool> m_formatted{false};
};

GWUSBDiskEntity cardIn(const TempDir& mounts, const QString& device, uint64_t size,
                       bool writable = true, const QString& model = "Card Reader")
{
    return GWUSBDiskEntity("ZUVA", QUrl::fromLocalFile(mounts.mkdir(device)), "/dev/" + device,
                           model, size, writable, false, device);
}

struct FormatWindow
{
    explicit FormatWindow(std::shared_ptr<CardFormatSystem> system, const QString& keepFolder)
        : window(std::move(system), nullptr, keepFolder)
    {
        window.setTimeScale(0.01);
        window.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return loaded; })) << "the first listing";
    }
    // A control of the window; a missing one ends the test (GoogleTest reports the throw).
    template <typename T> T* find(const char* name)
    {
        T* child = window.findChild<T*>(name);
        if (!child)
            throw std::runtime_error(std::string("no control named ") + name);
        return child;
    }

    bool loaded = false;
    VXLFormatWindowController window;
    QMetaObject::Connection connection = QObject::connect(
        &window, &VXLFormatWindowController::usbVolumesLoaded, [this] { loaded = true; });
};

TEST(FormatWindow, ListsVolumesWithTheirAllocationUnit)
{
    TempDir mounts;
    auto system = std::make_shared<FakeFormatSystem>();
    system->listed = {cardIn(mounts, "sdb1", 4000000000), cardIn(mounts, "sdc", 16000000000)};
    FormatWindow w(system, mounts.filePath("kept"));
    auto* combo = w.find<QComboBox>("usbDiskCombo");
    auto* unit = w.find<QLabel>("allocationUnitField");
    auto* path = w.find<QLabel>("pathField");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("[3.7 GB] ZUVA <Card Reader>"));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(unit->text(), QStringLiteral("16 KB"));
    EXPECT_EQ(path->text(), "/dev/sdb1   " + mounts.filePath("sdb1"));
    EXPECT_FALSE(w.window.isProgressShown()) << "the listing's progress is gone";

    combo->setCurrentIndex(1);
    EXPECT_EQ(unit->text(), QStringLiteral("64 KB"));
    const auto reselected = w.window.selectUSBByDevFile("/dev/sdb1");
    ASSERT_TRUE(reselected.has_value());
    EXPECT_EQ(reselected->volumeSize(), 4000000000u);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_FALSE(w.window.selectUSBByDevFile("/dev/sdz").has_value());
    combo->setCurrentIndex(-1);
    EXPECT_EQ(unit->text(), QStringLiteral("-"));
    EXPECT_EQ(path->text(), QStringLiteral("-"));

    // A listing that failed leaves no volume and says why, not "No USB drive found".
    system->listingFailure = "lsblk is not installed";
    w.loaded = false;
    w.window.loadUSBVolumes({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.loaded; }));
    EXPECT_EQ(combo->count(), 0);
    EXPECT_EQ(combo->placeholderText(),
              QStringLiteral("The card could not be looked for: lsblk is not installed"));
}

TEST(FormatWindow, RefusalsBeforeAnythingRuns)
{
    TempDir mounts;
    const GWUSBDiskEntity locked = cardIn(mounts, "sdd1", 1977614336, false, {});
    const struct
    {
        const char* what;
        QList<GWUSBDiskEntity> volumes;
        bool unselect;
        QString message;
        QString text;
    } cases[] = {
        {"no volume", {}, false, "ZUVA", "There is no USB drive."},
        {"none selected",
         {cardIn(mounts, "sdb1", 1 << 30)},
         true,
         "ZUVA",
         "Please select USB drive."},
        {"write-protected",
         {locked},
         false,
         localizedString("msg.cannot_format"),
         "[1.9 GB] ZUVA \n" + localizedString("msg.write_protected_disk")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AlertRecorder alerts;
        auto system = std::make_shared<FakeFormatSystem>();
        system->listed = c.volumes;
        FormatWindow w(system, mounts.filePath("kept"));
        if (c.unselect)
            w.find<QComboBox>("usbDiskCombo")->setCurrentIndex(-1);
        w.find<QPushButton>("formatButton")->click();
        ASSERT_EQ(alerts.count(), 1);
        EXPECT_EQ(alerts.lastMessage(), c.message);
        EXPECT_EQ(alerts.lastText(), c.text);
        EXPECT_EQ(alerts.last()->buttons().size(), 1) << "an alert, not a question";
        EXPECT_TRUE(system->steps().isEmpty());
    }
}

TEST(FormatWindow, ConfirmationNamesTheVolumeAndCancelKeepsIt)
{
    TempDir mounts;
    AlertRecorder alerts;
    auto system = std::make_shared<FakeFormatSystem>();
    system->listed = {cardIn(mounts, "sdb1", 16000000000)};
    FormatWindow w(system, mounts.filePath("kept"));
    w.find<QPushButton>("formatButton")->click();
    ASSERT_EQ(alerts.count(), 1);
    EXPECT_EQ(alerts.lastMessage(), localizedString("msg.format_confirm"));
    EXPECT_TRUE(alerts.lastText().contains("[15 GB] ZUVA <Card Reader>"));
    EXPECT_TRUE(alerts.lastText().contains("/dev/sdb1"));
    EXPECT_EQ(alerts.last()->defaultButton(), alerts.last()->button(QMessageBox::Cancel));
    alerts.answer(QMessageBox::Cancel);
    QTest::qWait(20); // nothing is expected to start; give a wrong start the chance to show
    EXPECT_FALSE(w.window.isFormatting());
    EXPECT_TRUE(system->steps().isEmpty());
}

TEST(FormatWindow, EachEndOfAFormatIsReported)
{
    const QString copyFail = "config.bin copy fail";
    const QVariantMap protectedRecord{{kScriptErrorNumberKey, kFormatWriteProtectedNumber},
                                      {kScriptErrorMessageKey, "failed whilst writing"}};
    const QVariantMap busyRecord{{kScriptErrorNumberKey, kFormatFailedNumber},
                                 {kScriptErrorMessageKey, "device busy"}};
    const struct
    {
        const char* what;
        QVariantMap formatRecord;
        bool gone;
        bool settingsBlocked; // a folder where config.bin goes
        QString message;
        QString textStart;
        bool mentionsKept;
    } cases[] = {
        {"completed",
         {},
         false,
         false,
         localizedString("msg.format_complete"),
         "[15 GB] ZUVA <Card Reader>",
         false},
        {"write-protected", protectedRecord, false, false, localizedString("msg.cannot_format"),
         "[15 GB] ZUVA <Card Reader>\n" + localizedString("msg.write_protected_disk"), false},
        {"another error", busyRecord, false, false, localizedString("msg.cannot_format"),
         "[15 GB] ZUVA <Card Reader>\nError:device busy", false},
        {"gone after mounting",
         {},
         true,
         false,
         copyFail,
         localizedString("msg.format_volume_not_found"),
         true},
        {"not put back", {}, false, true, copyFail, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir mounts;
        AlertRecorder alerts;
        auto system = std::make_shared<FakeFormatSystem>();
        QSemaphore gate;
        system->formatGate = &gate;
        system->formatRecord = c.formatRecord;
        system->goneAfterFormat = c.gone;
        system->listed = {cardIn(mounts, "sdz9", 1 << 30), cardIn(mounts, "sdb1", 16000000000)};
        const QString settings = mounts.write("sdb1/config.bin", QByteArray(500, 's'));
        FormatWindow w(system, mounts.filePath("kept"));
        auto* combo = w.find<QComboBox>("usbDiskCombo");
        auto* formatButton = w.find<QPushButton>("formatButton");
        auto* progress = w.find<QLabel>("progressMessageField");
        combo->setCurrentIndex(1);

        formatButton->click();
        alerts.answer(QMessageBox::Ok); // the confirmation
        ASSERT_TRUE(QTest::qWaitFor([&] { return system->steps().contains("format 128"); }));
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress->text() == "formatting..."; }));
        EXPECT_TRUE(w.window.isFormatting());
        EXPECT_TRUE(w.window.isProgressShown());
        EXPECT_FALSE(formatButton->isEnabled()) << "no second format while one runs";
        EXPECT_FALSE(combo->isEnabled());
        w.window.close();
        EXPECT_TRUE(w.window.isVisible()) << "not closed half-way";
        if (c.settingsBlocked) {
            QFile::remove(settings);
            QDir().mkpath(settings);
        }
        gate.release();

        ASSERT_TRUE(QTest::qWaitFor([&] { return alerts.count() == 2; }));
        EXPECT_EQ(system->steps(), (QStringList{"unmount", "format 128", "mount"}));
        EXPECT_EQ(alerts.lastMessage(), c.message);
        EXPECT_TRUE(alerts.lastText().startsWith(c.textStart)) << alerts.lastText().toStdString();
        EXPECT_EQ(alerts.lastText().contains(mounts.filePath("kept")), c.mentionsKept)
            << alerts.lastText().toStdString();
        EXPECT_FALSE(w.window.isProgressShown());
        EXPECT_TRUE(formatButton->isEnabled());
        if (!c.gone) {
            EXPECT_EQ(combo->currentIndex(), 1) << "the formatted volume is selected again";
        }
        if (c.formatRecord.isEmpty() && !c.settingsBlocked) {
            EXPECT_EQ(readBytes(settings, 0, 1000), c.gone ? QByteArray() : QByteArray(500, 's'))
                << (c.gone ? "nothing written anywhere" : "put back");
        }
        alerts.answer();
        EXPECT_EQ(w.window.isVisible(), c.message != localizedString("msg.format_complete"))
            << "only the completed format closes the window";
    }
}

TEST(FormatWindow, RealFormatOfAnImage)
{
    TempDir dir;
    const QString image = dir.filePath("card.img");
    makeSparseImage(image, 2ll << 30);
    ASSERT_EQ(runProgram("mkfs.fat", {"-F", "32", "-n", "OLD", image}).exitCode, 0);
    const QByteArray settings(500, 'k');
    putImageFile(image, "config.bin", dir.write("mine.bin", settings));
    putImageFile(image, "timeset.cfg", dir.write("t", "2017/03/03 07:05:09"));
    auto system = std::make_shared<ImageCardFormatSystem>(image, dir.filePath("mnt"),
                                                          systemBlockDeviceSource());
    ASSERT_TRUE(system->mount(system->volume()).isEmpty());

    AlertRecorder alerts;
    FormatWindow w(system, dir.filePath("kept"));
    w.find<QPushButton>("formatButton")->click();
    alerts.answer(QMessageBox::Ok);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alerts.count() == 2; }, 60000));
    EXPECT_EQ(alerts.lastMessage(), localizedString("msg.format_complete"));
    ASSERT_TRUE(system->unmount(system->volume()).isEmpty());
    EXPECT_EQ(readBytes(image, 71, 11), QByteArray("ZUVA       "));
    EXPECT_EQ(imageFile(image, "config.bin"), settings) << "the card's own settings came back";
    EXPECT_EQ(runProgram("mdir", {"-b", "-i", image, "::/"}).out, QByteArray("::/config.bin\n"))
        << "everything else is gone";
    const QStringList kept =
        QDir(dir.filePath("kept")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readBytes(dir.filePath("kept/" + kept[0] + "/config.bin"), 0, 1000), settings)
        << "and stay kept";
}

} // namespace
