#include "cardtools/CardFormat.h"
#include "cardtools/FormatPlan.h"
#include "cardtools/ImageCardFormatSystem.h"
#include "cardtools/ShellScript.h"
#include "cardtools/VolumeDiscovery.h"
#include "settings/FileData.h"

#include "support/CardImage.h"
#include "support/TempDir.h"

#include <QtEndian>

#include <sys/stat.h>

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

// What must stop a format before anything is touched, each with the real cause.
TEST(CardFormat, RefusedBeforeAnythingIsTouched)
{
    using Outcome = CardFormatResult::Outcome;
    TempDir dir;
    const QString image = dir.filePath("card.img");
    makeSparseImage(image, 2ll << 30);
    ASSERT_EQ(runProgram("mkfs.fat", {"-F", "32", image}).exitCode, 0);
    putImageFile(image, "config.bin", dir.write("mine.bin", QByteArray(500, 'm')));
    const QByteArray boot = readBytes(image, 0, 512);

    const struct
    {
        const char* what;
        std::function<void(GWUSBDiskEntity&, QString& keepFolder)> arrange;
        Outcome outcome;
    } cases[] = {
        {"write-protected",
         [](GWUSBDiskEntity& v, QString&) {
             v = GWUSBDiskEntity(v.volumeName(), v.mountedURL(), v.deviceFilePath(), {},
                                 v.volumeSize(), false, true, {});
         },
         Outcome::WriteProtected},
        {"another medium now", [&](GWUSBDiskEntity&, QString&) { QFile(image).resize(3ll << 30); },
         Outcome::TargetRefused},
        {"config.bin is a FIFO, which would block a plain read",
         [&](GWUSBDiskEntity&, QString&) {
             const QString fifo = dir.filePath("mnt/config.bin");
             QFile::remove(fifo);
             ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
         },
         Outcome::SettingsNotKept},
        {"settings cannot be kept",
         [&](GWUSBDiskEntity&, QString& keep) { keep = dir.write("a-file") + "/kept"; },
         Outcome::SettingsNotKept},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile(image).resize(2ll << 30);
        ImageCardFormatSystem system(image, dir.filePath("mnt"), systemBlockDeviceSource());
        ASSERT_TRUE(system.mount(system.volume()).isEmpty());
        GWUSBDiskEntity volume = system.volume();
        QString keepFolder = dir.filePath("kept");
        c.arrange(volume, keepFolder);
        const CardFormatResult result = runCardFormat(system, volume, keepFolder);
        EXPECT_EQ(result.outcome, c.outcome) << result.errorMessage.toStdString();
        EXPECT_TRUE(system.isMounted()) << "never unmounted";
        EXPECT_EQ(readBytes(image, 0, 512), boot) << "never formatted";
        EXPECT_TRUE(result.keptSettingsPath.isEmpty());
        ASSERT_TRUE(system.unmount(volume).isEmpty());
        QFile::remove(dir.filePath("mnt/config.bin")); // the FIFO, which unmounting leaves
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
