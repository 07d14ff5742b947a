#include "cardtools/FormatPlan.h"

#include "cardtools/ShellScript.h"

int clusterSizeByVolumeSizeInKB(uint64_t volumeSize)
{
    return (volumeSize >> 30) < 7 ? 32 : 128;
}

int allocationUnitKB(int sectorsPerCluster)
{
    return sectorsPerCluster * kCardSectorSize / 1024;
}

uint64_t cardLayoutClusterCount(uint64_t volumeSize, int sectorsPerCluster)
{
    if (sectorsPerCluster <= 0)
        return 0;
    const uint64_t sectors = volumeSize / kCardSectorSize;
    if (sectors <= uint64_t(kCardReservedSectors))
        return 0;
    const uint64_t available = sectors - kCardReservedSectors;
    // Each cluster costs its sectors plus four bytes in each FAT, which also holds two reserved
    // entries: estimate, then settle on the largest count that fits.
    const uint64_t perCluster = uint64_t(sectorsPerCluster) * kCardSectorSize + 4 * kCardFatCount;
    const auto fits = [&](uint64_t n) {
        const uint64_t fatSectors = ((n + 2) * 4 + kCardSectorSize - 1) / kCardSectorSize;
        return kCardFatCount * fatSectors + n * uint64_t(sectorsPerCluster) <= available;
    };
    uint64_t clusters = available * kCardSectorSize / perCluster;
    while (fits(clusters + 1))
        ++clusters;
    while (clusters > 0 && !fits(clusters))
        --clusters;
    return clusters;
}

SystemCommand formatCommand(const QString& device, int sectorsPerCluster)
{
    return {QStringLiteral("mkfs.fat"),
            {QStringLiteral("-a"), QStringLiteral("-F"), QStringLiteral("32"), QStringLiteral("-n"),
             QString::fromLatin1(kCardVolumeLabel), QStringLiteral("-f"),
             QString::number(kCardFatCount), QStringLiteral("-b"),
             QString::number(kCardBackupBootSector), QStringLiteral("-R"),
             QString::number(kCardReservedSectors), QStringLiteral("-s"),
             QString::number(sectorsPerCluster), device},
            true};
}

SystemCommand unmountCommand(const QString& device, bool udisks)
{
    if (udisks)
        return {QStringLiteral("udisksctl"),
                {QStringLiteral("unmount"), QStringLiteral("-b"), device},
                false};
    return {QStringLiteral("umount"), {device}, true};
}

SystemCommand mountCommand(const QString& device, const QString& mountPoint, bool udisks,
                           int ownerUid, int ownerGid)
{
    if (udisks)
        return {QStringLiteral("udisksctl"),
                {QStringLiteral("mount"), QStringLiteral("-b"), device},
                false};
    QStringList arguments;
    if (ownerUid >= 0 && ownerGid >= 0)
        arguments << QStringLiteral("-o")
                  << QStringLiteral("uid=%1,gid=%2").arg(ownerUid).arg(ownerGid);
    arguments << device << mountPoint;
    return {QStringLiteral("mount"), arguments, true};
}

QVariantMap formatterErrorRecord(const QVariantMap& record, bool writeProtected)
{
    if (record.isEmpty())
        return record;
    const QString numberKey = QString::fromLatin1(kScriptErrorNumberKey);
    const int number = record.value(numberKey).toInt();
    if (number != 1)
        return record; // not the formatter's own failure: pkexec, a signal, a missing program
    QVariantMap mapped = record;
    mapped.insert(numberKey, writeProtected ? kFormatWriteProtectedNumber : kFormatFailedNumber);
    return mapped;
}
