#include "cardtools/DesktopCardFormatSystem.h"

#include "cardtools/FormatTarget.h"
#include "cardtools/ShellScript.h"
#include "cardtools/VolumeDiscovery.h"

#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

QVariantMap runSystemCommand(const SystemCommand& command)
{
    const bool elevate = command.administrator && geteuid() != 0;
    return runShellScript(command.program, command.arguments, elevate);
}

bool udisksAvailable()
{
    if (QStandardPaths::findExecutable(QStringLiteral("udisksctl")).isEmpty())
        return false;
    // "status" asks the daemon for its drives: it fails at once when no daemon can be reached.
    QProcess process;
    process.start(QStringLiteral("udisksctl"), {QStringLiteral("status")});
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

DesktopCardFormatSystem::DesktopCardFormatSystem(const BlockDeviceSource& source) : m_source(source)
{
}

VolumeQuery<QList<GWUSBDiskEntity>> DesktopCardFormatSystem::volumes() const
{
    VolumeQuery<QList<GWUSBDiskEntity>> listed = usbDiskEntities(m_source);
    // A card folder stands in for a card but is never formatted.
    listed.found.removeIf([](const GWUSBDiskEntity& volume) { return !volume.removable(); });
    return listed;
}

QString DesktopCardFormatSystem::formatTargetProblem(const GWUSBDiskEntity& volume) const
{
    return ::formatTargetProblem(
        volume, blockDeviceState(m_source.blockDeviceListing().json, volume.deviceFilePath()));
}

QVariantMap DesktopCardFormatSystem::unmount(const GWUSBDiskEntity& volume)
{
    return runSystemCommand(unmountCommand(volume.deviceFilePath(), udisksAvailable()));
}

QVariantMap DesktopCardFormatSystem::format(const GWUSBDiskEntity& volume, int sectorsPerCluster)
{
    const QVariantMap record =
        runSystemCommand(formatCommand(volume.deviceFilePath(), sectorsPerCluster));
    if (record.isEmpty())
        return record;
    // mkfs.fat gives no sign of a write-protected card other than failing: ask the listing.
    const auto state =
        blockDeviceState(m_source.blockDeviceListing().json, volume.deviceFilePath());
    return formatterErrorRecord(record, state && state->readOnly);
}

QVariantMap DesktopCardFormatSystem::mount(const GWUSBDiskEntity& volume)
{
    const bool udisks = udisksAvailable();
    // A FAT volume mounted by the administrator belongs to root unless told otherwise, and the
    // user could not put config.bin back.
    const bool forUser = geteuid() != 0;
    return runSystemCommand(mountCommand(volume.deviceFilePath(), volume.mountedURL().toLocalFile(),
                                         udisks, forUser ? int(getuid()) : -1,
                                         forUser ? int(getgid()) : -1));
}
