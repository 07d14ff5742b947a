#pragma once

#include "cardtools/GWUSBDiskEntity.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// Where the facts about block devices come from: lsblk and blkid on this machine, recorded
// output in tests.
class BlockDeviceSource
{
public:
    virtual ~BlockDeviceSource() = default;
    // The output of `lsblk --json -b -o NAME,PATH,LABEL,MOUNTPOINT,RM,HOTPLUG,TRAN,MODEL,SIZE,
    // RO,TYPE,PKNAME` (tree or --list form); empty when lsblk cannot run.
    virtual QByteArray blockDeviceListing() const = 0;
    // The file-system label read from the device itself, for when lsblk has none (it takes
    // labels from udev, which may not have seen the card).
    virtual QString probeVolumeLabel(const QString& devicePath) const = 0;
};

// Runs the system's lsblk and blkid. Blocks for as long as they run (bounded by a timeout).
class SystemBlockDeviceSource : public BlockDeviceSource
{
public:
    QByteArray blockDeviceListing() const override;
    QString probeVolumeLabel(const QString& devicePath) const override;
};

const BlockDeviceSource& systemBlockDeviceSource();

// Every list is built afresh from the source at each call. The functions block while the
// source runs and may be called on any thread.

// Mount points of the mounted volumes on removable (or hot-pluggable) devices, in lsblk's
// order.
QList<QUrl> removableVolumeURLs(const BlockDeviceSource& source = systemBlockDeviceSource());
// Those of removableVolumeURLs whose disk is attached over USB.
QList<QUrl> usbVolumeURLs(const BlockDeviceSource& source = systemBlockDeviceSource());
// One entity per USB volume that has a device name.
QList<GWUSBDiskEntity> usbDiskEntities(const BlockDeviceSource& source = systemBlockDeviceSource());
// The first USB volume holding a file of that name at its root.
std::optional<QUrl>
findUSBVolumeWithFile(const QString& fileName,
                      const BlockDeviceSource& source = systemBlockDeviceSource());
// The camera's card among the USB volumes, or nothing when there is none.
std::optional<GWUSBDiskEntity>
findCardDiskEntity(const BlockDeviceSource& source = systemBlockDeviceSource());
// The same lookup over a list the caller already has.
std::optional<GWUSBDiskEntity> findCardDiskEntity(const QList<GWUSBDiskEntity>& entities);
