#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <cstdint>

// How the camera's card is formatted: the parameters of its FAT32 layout and the argument lists
// of the system commands that unmount, format and mount it.

// The label the camera looks for, and its settings file at the root of the card.
inline constexpr char kCardVolumeLabel[] = "ZUVA";
inline constexpr char kConfigFileName[] = "config.bin";

// The camera's layout: two FATs, the backup boot sector at sector 6, 32 reserved sectors.
constexpr int kCardFatCount = 2;
constexpr int kCardBackupBootSector = 6;
constexpr int kCardReservedSectors = 32;
// Cards are addressed in 512-byte sectors.
constexpr int kCardSectorSize = 512;

// Error number of a formatter run refused because the medium is write-protected; every other
// failure of the formatter itself comes back as kFormatFailedNumber.
constexpr int kFormatWriteProtectedNumber = 1;
constexpr int kFormatFailedNumber = 2;

// Sectors per cluster for a volume of `volumeSize` bytes: 32 below 7 GiB, 128 from 7 GiB on.
// (Named after the window's "allocation unit", which shows the same number.)
int clusterSizeByVolumeSizeInKB(uint64_t volumeSize);

// The allocation unit in KB that `sectorsPerCluster` gives on a card of 512-byte sectors.
int allocationUnitKB(int sectorsPerCluster);

// Clusters a FAT32 of the camera's layout has on `volumeSize` bytes. Below 65525 clusters other
// systems (and mtools) do not take the volume for FAT32 at all.
uint64_t cardLayoutClusterCount(uint64_t volumeSize, int sectorsPerCluster);
constexpr uint64_t kFat32MinimumClusters = 65525;

// One run of a system program: never a shell line, the arguments are passed as they are.
struct SystemCommand
{
    QString program;
    QStringList arguments;
    bool administrator = false;

    bool operator==(const SystemCommand&) const = default;
};

// mkfs.fat with the camera's layout. -a keeps the reserved sectors at exactly 32: without it
// mkfs.fat aligns the data area to the cluster size and raises them. The same list serves a
// partition (/dev/sdb1) and a whole medium (/dev/sdb): mkfs.fat keeps its own refusal of a
// whole disk that holds partitions.
SystemCommand formatCommand(const QString& device, int sectorsPerCluster);

// How the volume is unmounted and mounted again: through UDisks2 with the user's rights where
// its daemon runs (it also makes and removes the mount point), else with umount and mount,
// which need administrator rights. `ownerUid`/`ownerGid` (>= 0) give the files of a FAT volume
// mounted by the administrator to that user, so the user can write config.bin back.
SystemCommand unmountCommand(const QString& device, bool udisks);
SystemCommand mountCommand(const QString& device, const QString& mountPoint, bool udisks,
                           int ownerUid = -1, int ownerGid = -1);

// The error record of a formatter run, told apart as the window reports it: mkfs.fat ends with
// status 1 for every failure, so only a medium known to be write-protected keeps number 1 and
// any other failure becomes kFormatFailedNumber with the formatter's message. A refused or
// cancelled authentication (pkexec's 126/127) keeps its number. An empty record stays empty.
QVariantMap formatterErrorRecord(const QVariantMap& record, bool writeProtected);
