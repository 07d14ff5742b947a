#pragma once

#include "cardtools/GWUSBDiskEntity.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What the block-device listing (lsblk --json, see VolumeDiscovery.h) says about one device,
// mounted or not, and about the disk it belongs to.
struct BlockDeviceState
{
    QString type;           // "part", "disk", "loop", "rom", ...
    uint64_t size = 0;      // bytes
    bool readOnly = false;  // the device or its disk
    bool usb = false;       // the disk is attached over USB
    bool removable = false; // the disk holds removable media (card readers, most sticks)
    // Mount points of every node of the device's disk (the disk, its partitions, their
    // holders), so a disk that also holds the system is seen as such.
    QStringList diskMountPoints;
    QStringList mountPoints; // of the device itself and what sits on it
};

// The state of `devicePath` (/dev/sdb1) in a listing; nothing when the listing lacks it.
std::optional<BlockDeviceState> blockDeviceState(const QByteArray& listing,
                                                 const QString& devicePath);

// Empty when the listing's `state` of the chosen `volume` allows a format: a device (never a
// folder), still attached with the size it was chosen with, on a USB disk of removable media
// whose other volumes hold nothing of the running system. Otherwise the reason.
QString formatTargetProblem(const GWUSBDiskEntity& volume,
                            const std::optional<BlockDeviceState>& state);
