#pragma once

#include "samplecard/SimulatedDrive.h"

#include <QByteArray>
#include <QList>

namespace samplecard {

// A stretch of driving (or standing) the camera logs, as the card's recordings saw it.
struct LoggedDrive
{
    QList<DriveState> states; // 10 a second
    int utcOffsetHours = 0;   // the camera logs local time
    bool parked = false;
    bool event = false;
};

// The camera's drive-record files of these drives, two records a second: the flash-data log
// "DrvInfo/zuva_000.drv" (12-byte header, 40-byte records) and an OBD drive-info file
// (68-byte records) with the vehicle's values as an OBD reader would give them.
QByteArray flashDataLog(const QList<LoggedDrive>& drives);
QByteArray obdDriveInfoLog(const QList<LoggedDrive>& drives);

inline constexpr int kLoggedRecordsPerSecond = 2;

} // namespace samplecard
