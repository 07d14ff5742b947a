#pragma once

#include <QString>
#include <QUrl>

#include <cstdint>

// One mounted volume on a USB device, as the disk list and the card lookup see it; or a folder
// standing in for the camera's card (vexlo --card DIR), which is not removable and has no
// device. Set once, read afterwards.
class GWUSBDiskEntity
{
public:
    GWUSBDiskEntity() = default;
    GWUSBDiskEntity(const QString& volumeName, const QUrl& mountedURL,
                    const QString& deviceFilePath, const QString& deviceModel, uint64_t volumeSize,
                    bool writable, bool mediaWhole, const QString& key, bool removable = true)
        : m_volumeName(volumeName), m_mountedURL(mountedURL), m_deviceFilePath(deviceFilePath),
          m_deviceModel(deviceModel), m_volumeSize(volumeSize), m_writable(writable),
          m_mediaWhole(mediaWhole), m_key(key), m_removable(removable)
    {
    }

    const QString& volumeName() const { return m_volumeName; }
    const QUrl& mountedURL() const { return m_mountedURL; }
    // The device as the disk tools take it (/dev/sdb1): umount, mkfs.fat, fatlabel.
    const QString& deviceFilePath() const { return m_deviceFilePath; }
    // Empty when the reader reports no model.
    const QString& deviceModel() const { return m_deviceModel; }
    uint64_t volumeSize() const { return m_volumeSize; }
    bool writable() const { return m_writable; }
    bool mediaWhole() const { return m_mediaWhole; }
    // The kernel's name of the medium (sdb1); kept for diagnostics, not used for matching.
    const QString& key() const { return m_key; }
    // False only for a card folder: nothing that is not removable may be formatted.
    bool removable() const { return m_removable; }

    // "[1.8 GB] ZUVA <Card Reader>"; without a model the line ends after the name and a blank.
    QString displayString() const;

private:
    QString m_volumeName;
    QUrl m_mountedURL;
    QString m_deviceFilePath;
    QString m_deviceModel;
    uint64_t m_volumeSize = 0;
    bool m_writable = false;
    bool m_mediaWhole = false;
    QString m_key;
    bool m_removable = true;
};

// A byte count in at most seven characters: "0 B", "1023 B", "1.5 kB", "1000 MB", "16 GB".
QString sizeString(uint64_t bytes);
