#pragma once

#include "cardtools/GWUSBDiskEntity.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// What lsblk printed, or why nothing could be had from it.
struct BlockDeviceListing
{
    QByteArray json;
    // Empty when lsblk ran and exited with 0; else why not (missing, failing, hung).
    QString failure;
};

// Where the facts about block devices come from: lsblk and blkid on this machine, recorded
// output in tests.
class BlockDeviceSource
{
public:
    virtual ~BlockDeviceSource() = default;
    // The output of `lsblk --json -b -o NAME,PATH,LABEL,MOUNTPOINT,RM,HOTPLUG,TRAN,MODEL,SIZE,
    // RO,TYPE,PKNAME` (tree or --list form), or the reason lsblk gave none.
    virtual BlockDeviceListing blockDeviceListing() const = 0;
    // The file-system label read from the device itself, for when lsblk has none (it takes
    // labels from udev, which may not have seen the card).
    virtual QString probeVolumeLabel(const QString& devicePath) const = 0;
    // A folder that stands in for the camera's card (vexlo --card DIR); empty for none.
    virtual QString cardFolder() const { return {}; }
};

// Runs the system's lsblk and blkid. Blocks for as long as they run, at most `timeoutMs`
// each; a tool that takes longer is stopped and counts as failed.
class SystemBlockDeviceSource : public BlockDeviceSource
{
public:
    explicit SystemBlockDeviceSource(QString lsblkProgram = QStringLiteral("lsblk"),
                                     QString blkidProgram = QStringLiteral("blkid"),
                                     int timeoutMs = 10000);
    BlockDeviceListing blockDeviceListing() const override;
    QString probeVolumeLabel(const QString& devicePath) const override;

private:
    QString m_lsblkProgram;
    QString m_blkidProgram;
    int m_timeoutMs;
};

const BlockDeviceSource& systemBlockDeviceSource();

// The volumes of another source, plus a folder used as the camera's card when no USB card is
// found (vexlo --card DIR: a card copied to disk, an image mounted by hand). The folder is one
// more entry wherever USB volumes are listed, marked not removable, so it is never formatted.
// Holds a reference to `devices`, which must outlive it.
class CardFolderBlockDeviceSource : public BlockDeviceSource
{
public:
    CardFolderBlockDeviceSource(const BlockDeviceSource& devices, const QString& folder);
    BlockDeviceListing blockDeviceListing() const override;
    QString probeVolumeLabel(const QString& devicePath) const override;
    QString cardFolder() const override { return m_folder; }

private:
    const BlockDeviceSource& m_devices;
    QString m_folder;
};

// The entry of a card folder: named after the folder, the size of its file system, writable
// when the folder is, the folder's path as key, no device and not removable.
GWUSBDiskEntity cardFolderDiskEntity(const QString& folder);

// What a volume query answers. When the system's volumes cannot be listed (lsblk missing,
// failing, hung, or printing something that is not its listing), `failure` says why, so a
// window can tell "cannot list volumes" from "no USB volume"; `found` then holds only what
// does not depend on lsblk (a card folder).
template <typename T> struct VolumeQuery
{
    T found{};
    QString failure;
    bool failed() const { return !failure.isEmpty(); }
};

// Every list is built afresh from the source at each call. The functions block while the
// source runs and may be called on any thread.

// Mount points of the mounted volumes on removable (or hot-pluggable) devices, in lsblk's
// order. A card folder is not removable and is not among them.
VolumeQuery<QList<QUrl>>
removableVolumeURLs(const BlockDeviceSource& source = systemBlockDeviceSource());
// Those of removableVolumeURLs whose disk is attached over USB, then the card folder.
VolumeQuery<QList<QUrl>> usbVolumeURLs(const BlockDeviceSource& source = systemBlockDeviceSource());
// One entity per USB volume that has a device name, then one for the card folder (not
// removable, no device).
VolumeQuery<QList<GWUSBDiskEntity>>
usbDiskEntities(const BlockDeviceSource& source = systemBlockDeviceSource());
// The first USB volume (or else the card folder) holding a file of that name at its root.
VolumeQuery<std::optional<QUrl>>
findUSBVolumeWithFile(const QString& fileName,
                      const BlockDeviceSource& source = systemBlockDeviceSource());
// The camera's card among the USB volumes and the card folder, or nothing when there is none.
VolumeQuery<std::optional<GWUSBDiskEntity>>
findCardDiskEntity(const BlockDeviceSource& source = systemBlockDeviceSource());
// The same lookup over a list the caller already has. A volume named as the camera's card
// wins; else the card folder (the one entry that is not removable); else the first writable
// volume; else the first volume.
std::optional<GWUSBDiskEntity> findCardDiskEntity(const QList<GWUSBDiskEntity>& entities);
