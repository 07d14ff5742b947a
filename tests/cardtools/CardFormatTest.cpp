#include "cardtools/CardFormat.h"
#include "cardtools/FormatPlan.h"
#include "cardtools/ImageCardFormatSystem.h"
#include "cardtools/ShellScript.h"
#include "cardtools/VolumeDiscovery.h"
#include "settings/FileData.h"

#include "support/CardImage.h"
#include "support/TempDir.h"

#include <QDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

const QStringList kProgress{"unmount disk...", "formatting...", "try mount...",
                            "Format completed!"};

QByteArray factorySettings()
{
    TempDir dir;
    EXPECT_TRUE(writeDefaultFileData(dir.filePath("config.bin")).isEmpty());
    return readBytes(dir.filePath("config.bin"), 0, 1000);
}

// The image system with a step replaced, for what this machine cannot make happen, and a
// record of the steps that ran.
class ScriptedSystem : public CardFormatSystem
{
public:
    explicit ScriptedSystem(ImageCardFormatSystem& image) : m_image(image) {}

    std::function<QVariantMap()> formatter; // replaces mkfs.fat when set
    std::function<void()> afterMount;       // runs after a mount
    bool volumeGoneAfterFormat = false;     // the list no longer holds it once formatted
    QStringList steps;

    QList<GWUSBDiskEntity> volumes() const override
    {
        return volumeGoneAfterFormat && steps.contains("format") ? QList<GWUSBDiskEntity>()
                                                                 : m_image.volumes();
    }
    QString formatTargetProblem(const GWUSBDiskEntity& volume) const override
    {
        return m_image.formatTargetProblem(volume);
    }
    QVariantMap unmount(const GWUSBDiskEntity& volume) override
    {
        steps << "unmount";
        return m_image.unmount(volume);
    }
    QVariantMap format(const GWUSBDiskEntity& volume, int sectorsPerCluster) override
    {
        steps << "format";
        return formatter ? formatter() : m_image.format(volume, sectorsPerCluster);
    }
    QVariantMap mount(const GWUSBDiskEntity& volume) override
    {
        steps << "mount";
        const QVariantMap record = m_image.mount(volume);
        if (afterMount)
            afterMount();
        return record;
    }

private:
    ImageCardFormatSystem& m_image;
};

TEST(CardFormat, RealFormatOfBlankImages)
{
    const QByteArray factory = factorySettings();
    ASSERT_EQ(factory.size(), 500);
    for (const auto& [size, sectorsPerCluster] : {std::pair{2ll << 30, 32}, {8ll << 30, 128}}) {
        SCOPED_TRACE(size);
        TempDir dir;
        const QString image = dir.filePath("card.img");
        makeSparseImage(image, size);
        ImageCardFormatSystem system(image, dir.filePath("mnt"), systemBlockDeviceSource());
        QStringList progress;
        const CardFormatResult result =
            runCardFormat(system, system.volume(), dir.filePath("kept"),
                          [&](const QString& message) { progress << message; });
        ASSERT_EQ(result.outcome, CardFormatResult::Outcome::Completed)
            << result.errorMessage.toStdString();
        EXPECT_EQ(progress, kProgress);
        EXPECT_TRUE(result.keptSettingsPath.isEmpty()) << "a blank image has no settings";
        ASSERT_TRUE(system.unmount(result.volume).isEmpty());

        // The FAT32 boot sector, field by field.
        const QByteArray boot = readBytes(image, 0, 512);
        ASSERT_EQ(boot.size(), 512);
        const auto u16 = [&](int offset) {
            return qFromLittleEndian<quint16>(boot.constData() + offset);
        };
        EXPECT_EQ(u16(11), 512) << "bytes per sector";
        EXPECT_EQ(quint8(boot[13]), sectorsPerCluster) << "sectors per cluster";
        EXPECT_EQ(u16(14), 32) << "reserved sectors";
        EXPECT_EQ(quint8(boot[16]), 2) << "FAT count";
        EXPECT_EQ(u16(17), 0) << "no fixed root directory";
        EXPECT_EQ(u16(22), 0) << "no 16-bit FAT size";
        EXPECT_EQ(u16(50), 6) << "backup boot sector";
        EXPECT_EQ(quint8(boot[66]), 0x29) << "extended boot signature";
        EXPECT_EQ(boot.mid(71, 11), QByteArray("ZUVA       ")) << "volume label";
        EXPECT_EQ(boot.mid(82, 8), QByteArray("FAT32   "));
        EXPECT_EQ(boot.mid(510, 2), QByteArray("\x55\xAA", 2));
        EXPECT_EQ(readBytes(image, 6 * 512, 512), boot) << "the backup is a copy";

        const ProgramRun fsck = runProgram("fsck.fat", {"-n", image});
        EXPECT_EQ(fsck.exitCode, 0) << fsck.out.toStdString() << fsck.err.toStdString();
        const ProgramRun listing = runProgram("mdir", {"-b", "-i", image, "::/"});
        EXPECT_EQ(listing.out, QByteArray("::/config.bin\n"));
        EXPECT_EQ(imageFile(image, "config.bin"), factory) << "the factory settings";
    }
}

TEST(CardFormat, TheCardsOwnSettingsComeBack)
{
    TempDir dir;
    const QString image = dir.filePath("card.img");
    makeSparseImage(image, 2ll << 30);
    ASSERT_EQ(runProgram("mkfs.fat", {"-F", "32", image}).exitCode, 0);
    QByteArray settings(500, '\0');
    for (int i = 0; i < settings.size(); ++i)
        settings[i] = char(i * 7);
    putImageFile(image, "config.bin", dir.write("mine.bin", settings));
    putImageFile(image, "timeset.cfg", dir.write("t", "2017/03/03 07:05:09"));

    ImageCardFormatSystem system(image, dir.filePath("mnt"), systemBlockDeviceSource());
    ASSERT_TRUE(system.mount(system.volume()).isEmpty());
    const CardFormatResult result = runCardFormat(system, system.volume(), dir.filePath("kept"));
    ASSERT_EQ(result.outcome, CardFormatResult::Outcome::Completed)
        << result.errorMessage.toStdString();
    ASSERT_TRUE(result.keptSettingsPath.startsWith(dir.filePath("kept") + "/"));
    EXPECT_EQ(readBytes(result.keptSettingsPath, 0, 1000), settings) << "kept, and kept after";
    ASSERT_TRUE(system.unmount(result.volume).isEmpty());
    EXPECT_EQ(imageFile(image, "config.bin"), settings);
    EXPECT_EQ(runProgram("mdir", {"-b", "-i", image, "::/"}).out, QByteArray("::/config.bin\n"))
        << "everything else is gone";
    EXPECT_EQ(readBytes(image, 71, 11), QByteArray("ZUVA       "));
}

TEST(CardFormat, EachFailureStopsWhereItMust)
{
    using Outcome = CardFormatResult::Outcome;
    TempDir dir;
    const QString image = dir.filePath("card.img");
    makeSparseImage(image, 2ll << 30);
    const QString mountFolder = dir.filePath("mnt");
    const QString settingsOnCard = mountFolder + "/config.bin";
    ImageCardFormatSystem blank(image, mountFolder, systemBlockDeviceSource());
    // A first format gives the cases a card to mount.
    ASSERT_EQ(runCardFormat(blank, blank.volume(), dir.filePath("kept")).outcome,
              Outcome::Completed);
    ASSERT_TRUE(blank.unmount(blank.volume()).isEmpty());

    const struct
    {
        const char* what;
        std::function<void(ScriptedSystem&, GWUSBDiskEntity&, QString& keepFolder)> arrange;
        Outcome outcome;
        QStringList steps;
        bool formatted;
        bool kept;
        int errorNumber;
    } cases[] = {
        {"write-protected",
         [](ScriptedSystem&, GWUSBDiskEntity& v, QString&) {
             v = GWUSBDiskEntity(v.volumeName(), v.mountedURL(), v.deviceFilePath(), {},
                                 v.volumeSize(), false, true, {});
         },
         Outcome::WriteProtected,
         {},
         false,
         false,
         0},
        {"another medium",
         [&](ScriptedSystem&, GWUSBDiskEntity&, QString&) {
             QFile(image).resize((2ll << 30) + 4096);
         },
         Outcome::TargetRefused,
         {},
         false,
         false,
         0},
        {"settings cannot be kept",
         [&](ScriptedSystem&, GWUSBDiskEntity&, QString& keep) {
             keep = dir.write("a-file") + "/kept"; // no folder can be made under a file
         },
         Outcome::SettingsNotKept,
         {},
         false,
         false,
         0},
        {"formatter fails",
         [](ScriptedSystem& s, GWUSBDiskEntity&, QString&) {
             s.formatter = [] {
                 return QVariantMap{{kScriptErrorNumberKey, kFormatFailedNumber},
                                    {kScriptErrorMessageKey, "device busy"}};
             };
         },
         Outcome::FormatFailed,
         {"unmount", "format", "mount"},
         false,
         true,
         kFormatFailedNumber},
        {"volume gone after mounting",
         [](ScriptedSystem& s, GWUSBDiskEntity&, QString&) { s.volumeGoneAfterFormat = true; },
         Outcome::VolumeNotFound,
         {"unmount", "format", "mount"},
         true,
         true,
         0},
        {"settings cannot be put back",
         [&](ScriptedSystem& s, GWUSBDiskEntity&, QString&) {
             s.afterMount = [&] {
                 QDir().mkpath(settingsOnCard);
             };
         },
         Outcome::SettingsNotPutBack,
         {"unmount", "format", "mount"},
         true,
         true,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile(image).resize(2ll << 30);
        ImageCardFormatSystem imageSystem(image, mountFolder, systemBlockDeviceSource());
        ASSERT_TRUE(imageSystem.mount(imageSystem.volume()).isEmpty());
        // Each case starts from a card holding its settings and a boot sector of its own.
        ASSERT_TRUE(writeDefaultFileData(settingsOnCard).isEmpty());
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(3) && file.write("MARKER!!") == 8);
        file.close();
        const QByteArray marked = readBytes(image, 0, 512);

        GWUSBDiskEntity volume = imageSystem.volume();
        ScriptedSystem system(imageSystem);
        QString keepFolder = dir.filePath("kept");
        c.arrange(system, volume, keepFolder);
        const CardFormatResult result = runCardFormat(system, volume, keepFolder);

        EXPECT_EQ(result.outcome, c.outcome) << result.errorMessage.toStdString();
        EXPECT_EQ(system.steps, c.steps);
        EXPECT_EQ(readBytes(image, 0, 512) != marked, c.formatted);
        EXPECT_EQ(!result.keptSettingsPath.isEmpty(), c.kept);
        if (c.kept) {
            EXPECT_EQ(readBytes(result.keptSettingsPath, 0, 1000).size(), 500);
        }
        EXPECT_EQ(result.errorNumber, c.errorNumber);
        if (c.outcome != Outcome::WriteProtected) {
            EXPECT_FALSE(result.errorMessage.isEmpty());
        }
        if (c.outcome == Outcome::VolumeNotFound) {
            EXPECT_FALSE(QFileInfo::exists(settingsOnCard)) << "nothing written anywhere";
        }
        QDir(settingsOnCard).removeRecursively();
        imageSystem.unmount(volume);
    }
}

TEST(CardFormat, WriteProtectedLoopDevice)
{
    TempDir dir;
    const QString image = dir.filePath("card.img");
    makeSparseImage(image, 2ll << 30);
    const QString device = attachLoopDevice(image, true);
    if (device.isEmpty())
        GTEST_SKIP() << "losetup cannot attach a loop device here";
    ImageCardFormatSystem system(device, dir.filePath("mnt"), systemBlockDeviceSource());
    GWUSBDiskEntity volume = system.volume();
    EXPECT_FALSE(volume.writable());
    // Chosen as writable, as a reader that reports no write protection would show it: the
    // formatter's failure is then the only sign.
    volume = GWUSBDiskEntity(volume.volumeName(), volume.mountedURL(), volume.deviceFilePath(), {},
                             volume.volumeSize(), true, true, {});
    const CardFormatResult result = runCardFormat(system, volume, dir.filePath("kept"));
    detachLoopDevice(device);
    EXPECT_EQ(result.outcome, CardFormatResult::Outcome::FormatFailed);
    EXPECT_EQ(result.errorNumber, kFormatWriteProtectedNumber) << result.errorMessage.toStdString();
    EXPECT_EQ(readBytes(image, 0, 512), QByteArray(512, '\0')) << "the image is untouched";
}

} // namespace
