#pragma once

#include "cardtools/CardFormatSystem.h"

#include <QString>

#include <atomic>

class BlockDeviceSource;

// A card image, a regular file or a loop device over one, standing in for a mounted card where
// nothing can be mounted: mtools reads and writes the FAT inside it. "Mounting" copies the
// image's root files into a folder that then serves as the mount point; "unmounting" copies
// that folder's files back into the image and empties it. Folders inside the image are left
// alone. Everything else of the format (keeping config.bin, the checks, mkfs.fat with the
// camera's layout, putting config.bin back) runs as on a real card.
class ImageCardFormatSystem : public CardFormatSystem
{
public:
    // `source` answers for loop devices (their size, mounts, read-only flag).
    ImageCardFormatSystem(const QString& imagePath, const QString& mountFolder,
                          const BlockDeviceSource& source);

    // The image as a volume, whether mounted or not. Its mount point is the folder.
    GWUSBDiskEntity volume() const;
    bool isMounted() const { return m_mounted; }

    VolumeQuery<QList<GWUSBDiskEntity>> volumes() const override;
    QString formatTargetProblem(const GWUSBDiskEntity& volume) const override;
    QVariantMap unmount(const GWUSBDiskEntity& volume) override;
    QVariantMap format(const GWUSBDiskEntity& volume, int sectorsPerCluster) override;
    QVariantMap mount(const GWUSBDiskEntity& volume) override;

private:
    bool isLoopDevice() const;
    uint64_t imageSize() const;
    bool imageReadOnly() const;

    QString m_imagePath;
    QString m_mountFolder;
    const BlockDeviceSource& m_source;
    std::atomic<bool> m_mounted{false};
};
