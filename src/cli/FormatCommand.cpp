#include "CommandOutput.h"
#include "Commands.h"

#include "cardtools/CardFormat.h"
#include "cardtools/DesktopCardFormatSystem.h"
#include "cardtools/FormatPlan.h"
#include "cardtools/FormatTarget.h"
#include "cardtools/ImageCardFormatSystem.h"
#include "cardtools/VolumeDiscovery.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <sys/stat.h>

const char* const kFormatUsage =
    "Usage: vexlo-tool format TARGET --yes\n"
    "\n"
    "Formats TARGET as the camera's card: FAT32 labelled ZUVA, two FATs, the backup boot\n"
    "sector at 6, 32 reserved sectors, 32 sectors per cluster below 7 GiB and 128 from 7 GiB\n"
    "on. The card's config.bin is kept first (in ~/.local/share/Vexlo/kept-settings) and put\n"
    "back afterwards; a card without one gets the factory file.\n"
    "\n"
    "TARGET is one of:\n"
    "  a mounted USB volume, by its device (/dev/sdb1) or its mount point: it is unmounted,\n"
    "    formatted with administrator rights and mounted again;\n"
    "  a card image: a regular file of at least about 1 GiB (truncate -s 2G card.img), or a\n"
    "    loop device over one; config.bin is read and written inside it with mtools.\n"
    "Any other target (a fixed disk, the system's disk, a folder) is refused. Without --yes\n"
    "nothing is changed.\n";

namespace {

int usageError(const QString& message)
{
    return CommandOutput::usageError("format", message);
}

int refuse(const QString& target, const QString& reason)
{
    CommandOutput::writeError(QStringLiteral("format: %1 %2").arg(target, reason));
    return 2;
}

bool isBlockDevice(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISBLK(info.st_mode);
}

// The removable volume mounted at (or on the device) `target`, or why the volumes could not
// be listed.
VolumeQuery<std::optional<GWUSBDiskEntity>> usbVolumeAt(const QString& target, bool byMountPoint)
{
    const QString wanted = QFileInfo(target).canonicalFilePath();
    const VolumeQuery<QList<GWUSBDiskEntity>> volumes = usbDiskEntities();
    for (const GWUSBDiskEntity& volume : volumes.found) {
        const QString path =
            byMountPoint ? volume.mountedURL().toLocalFile() : volume.deviceFilePath();
        if (volume.removable() && QFileInfo(path).canonicalFilePath() == wanted)
            return {volume, {}};
    }
    return {std::nullopt, volumes.failure};
}

QString unlistedReason(const QString& failure)
{
    return QStringLiteral("cannot be checked: the volumes could not be listed (%1)").arg(failure);
}

QString outcomeText(const CardFormatResult& result)
{
    using Outcome = CardFormatResult::Outcome;
    switch (result.outcome) {
    case Outcome::Completed:
        return {};
    case Outcome::WriteProtected:
        return QStringLiteral("is write-protected; nothing was changed");
    case Outcome::TargetRefused:
        return result.errorMessage + QStringLiteral("; nothing was changed");
    case Outcome::SettingsNotKept:
        return QStringLiteral("was not formatted: its config.bin could not be kept (%1)")
            .arg(result.errorMessage);
    case Outcome::FormatFailed:
        return result.errorNumber == kFormatWriteProtectedNumber
                   ? QStringLiteral("could not be formatted: it is write-protected (%1)")
                         .arg(result.errorMessage)
                   : QStringLiteral("could not be formatted: %1").arg(result.errorMessage);
    case Outcome::VolumeNotFound:
        return QStringLiteral("was formatted but not found again, so config.bin was not put back");
    case Outcome::SettingsNotPutBack:
        return QStringLiteral("was formatted but config.bin could not be put back: %1")
            .arg(result.errorMessage);
    }
    return {};
}

int report(const QString& target, const CardFormatResult& result, int sectorsPerCluster)
{
    if (result.outcome != CardFormatResult::Outcome::Completed) {
        QString line = QStringLiteral("format: %1 %2").arg(target, outcomeText(result));
        if (!result.keptSettingsPath.isEmpty())
            line += QStringLiteral("\nformat: the card's config.bin is kept in %1")
                        .arg(result.keptSettingsPath);
        CommandOutput::writeError(line);
        return 2;
    }
    QString out = QStringLiteral("%1: FAT32, label %2, %3 sectors per cluster (%4 KB)\n")
                      .arg(target, QString::fromLatin1(kCardVolumeLabel))
                      .arg(sectorsPerCluster)
                      .arg(allocationUnitKB(sectorsPerCluster));
    out += result.keptSettingsPath.isEmpty()
               ? QStringLiteral("config.bin: the factory file\n")
               : QStringLiteral("config.bin: put back from the card (kept in %1)\n")
                     .arg(result.keptSettingsPath);
    CommandOutput::writeOut(out.toUtf8());
    return 0;
}

void printProgress(const QString& message)
{
    CommandOutput::writeError(message);
}

int formatImage(const QString& target, bool confirmed)
{
    if (!confirmed)
        return refuse(target, QStringLiteral("would be erased: run again with --yes to format it"));
    QTemporaryDir mountFolder;
    if (!mountFolder.isValid())
        return refuse(target, QStringLiteral("cannot be read: no temporary folder"));
    ImageCardFormatSystem system(target, mountFolder.path(), systemBlockDeviceSource());
    // A blank image holds no file system yet: then there is simply no config.bin to keep.
    system.mount(system.volume());
    const GWUSBDiskEntity volume = system.volume();
    CardFormatResult result =
        runCardFormat(system, volume, defaultKeptSettingsFolder(), printProgress);
    const QVariantMap written = system.unmount(volume);
    if (!written.isEmpty() && result.outcome == CardFormatResult::Outcome::Completed) {
        result.outcome = CardFormatResult::Outcome::SettingsNotPutBack;
        result.errorMessage = written.value(QStringLiteral("NSAppleScriptErrorMessage")).toString();
    }
    return report(target, result, clusterSizeByVolumeSizeInKB(volume.volumeSize()));
}

int formatUsbVolume(const QString& target, const GWUSBDiskEntity& volume, bool confirmed)
{
    if (!confirmed)
        return refuse(target, QStringLiteral("(%1) would be erased: run again with --yes to "
                                             "format it")
                                  .arg(volume.displayString().trimmed()));
    DesktopCardFormatSystem system(systemBlockDeviceSource());
    const CardFormatResult result =
        runCardFormat(system, volume, defaultKeptSettingsFolder(), printProgress);
    return report(target, result, clusterSizeByVolumeSizeInKB(volume.volumeSize()));
}

} // namespace

int runFormatCommand(const QStringList& args)
{
    QString target;
    bool confirmed = false;
    for (const QString& arg : args) {
        if (arg == u"--yes")
            confirmed = true;
        else if (target.isEmpty() && !arg.startsWith(u'-'))
            target = arg;
        else
            return usageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
    }
    if (target.isEmpty())
        return usageError(QStringLiteral("expected a USB volume, a card image or a loop device"));
    // Failures are printed with their reason; the log would only repeat them.
    QLoggingCategory::setFilterRules(QStringLiteral("vexlo.*=false"));

    const QFileInfo info(target);
    if (!info.exists())
        return refuse(target, QStringLiteral("does not exist"));
    if (info.isDir()) {
        const auto volume = usbVolumeAt(target, true);
        if (volume.found)
            return formatUsbVolume(target, *volume.found, confirmed);
        if (volume.failed())
            return refuse(target, unlistedReason(volume.failure));
        return refuse(target, QStringLiteral("is a folder, not a card: give a USB volume's "
                                             "device or mount point, or a card image"));
    }
    if (info.isFile())
        return formatImage(target, confirmed);
    if (!isBlockDevice(target))
        return refuse(target, QStringLiteral("is not a card, a card image or a loop device"));

    const QString device = info.canonicalFilePath();
    const BlockDeviceListing listing = systemBlockDeviceSource().blockDeviceListing();
    if (!listing.failure.isEmpty())
        return refuse(target, unlistedReason(listing.failure));
    const auto state = blockDeviceState(listing.json, device);
    if (state && state->type == u"loop") {
        if (!state->mountPoints.isEmpty())
            return refuse(target,
                          QStringLiteral("is mounted at %1").arg(state->mountPoints.first()));
        return formatImage(device, confirmed);
    }
    if (const auto volume = usbVolumeAt(device, false).found) {
        const QString problem = formatTargetProblem(*volume, state);
        if (!problem.isEmpty())
            return refuse(target, problem);
        return formatUsbVolume(target, *volume, confirmed);
    }
    // Not a mounted USB volume: say why, in the words of the format's own check.
    const GWUSBDiskEntity unlisted({}, {}, device, {}, state ? state->size : 0, true, false, {});
    const QString problem = formatTargetProblem(unlisted, state);
    return refuse(target,
                  problem.isEmpty() ? QStringLiteral("is not a mounted USB volume") : problem);
}
