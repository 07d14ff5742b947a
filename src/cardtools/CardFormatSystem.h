#pragma once

#include "cardtools/GWUSBDiskEntity.h"
#include "cardtools/VolumeDiscovery.h"

#include <QList>
#include <QString>
#include <QVariantMap>

// The system side of a card format: the volume list, unmounting and mounting, and the
// formatter. The sequence (CardFormat.h) drives it from a worker thread, one call at a time.
// Each command answers the error record of the command runner: empty on success.
class CardFormatSystem
{
public:
    virtual ~CardFormatSystem() = default;

    // The mounted USB volumes as the format window lists them, built afresh, or why they
    // could not be listed.
    virtual VolumeQuery<QList<GWUSBDiskEntity>> volumes() const = 0;

    // Empty when `volume` may be formatted now: it is still the same removable medium the user
    // chose. Otherwise the reason, for the user ("is a fixed disk, not a removable card").
    virtual QString formatTargetProblem(const GWUSBDiskEntity& volume) const = 0;

    virtual QVariantMap unmount(const GWUSBDiskEntity& volume) = 0;
    // Formats with the camera's layout (FormatPlan.h); the record is told apart as
    // formatterErrorRecord does.
    virtual QVariantMap format(const GWUSBDiskEntity& volume, int sectorsPerCluster) = 0;
    virtual QVariantMap mount(const GWUSBDiskEntity& volume) = 0;
};
