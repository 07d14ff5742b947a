#pragma once

#include "cardtools/CardFormatSystem.h"
#include "cardtools/FormatPlan.h"

class BlockDeviceSource;

// The system side on a user's desktop: volumes from the block-device source, UDisks2 (or
// umount/mount) for unmounting and mounting, mkfs.fat with administrator rights (pkexec, or
// directly when already running as the administrator).
class DesktopCardFormatSystem : public CardFormatSystem
{
public:
    explicit DesktopCardFormatSystem(const BlockDeviceSource& source);

    VolumeQuery<QList<GWUSBDiskEntity>> volumes() const override;
    QString formatTargetProblem(const GWUSBDiskEntity& volume) const override;
    QVariantMap unmount(const GWUSBDiskEntity& volume) override;
    QVariantMap format(const GWUSBDiskEntity& volume, int sectorsPerCluster) override;
    QVariantMap mount(const GWUSBDiskEntity& volume) override;

private:
    const BlockDeviceSource& m_source;
};

// Runs a command of the plan through the command runner. Administrator rights are asked for
// only when the program does not already run as the administrator.
QVariantMap runSystemCommand(const SystemCommand& command);

// Whether the UDisks2 daemon answers (udisksctl installed and able to reach it).
bool udisksAvailable();
