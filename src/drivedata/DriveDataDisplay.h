#pragma once

#include "VXLAviGpsData.h"
#include "VXLGSensor.h"
#include "VXLGpsData.h"

#include <QList>

#include <cstdint>

// The drive data at a play position, as numbers, shared by the main window and vexlo-tool.
// The window turns them into texts and map calls; a group whose flag is not set leaves what
// the window showed before.
struct DriveDataDisplayValues
{
    // G-sensor: set when there is at least one sample.
    bool hasGSensor = false;
    VXLGSensor gSensor;

    // False when the recording carries no GPS blocks at all.
    bool hasGpsData = false;

    // Position and speed, from the fix picked by the index over the GPS blocks; set only
    // when that index lies inside the list of fixes.
    bool hasPosition = false;
    double latitude = 0.0;  // signed decimal degrees
    double longitude = 0.0; // signed decimal degrees
    int speed = 0;          // whole km/h or mi/h, truncated
    bool speedInKilometres = true;

    // HDOP and satellites, from the fix picked by the index over the fixes; set when there
    // is at least one fix.
    bool hasFix = false;
    double hdop = 0.0;
    uint32_t satellites = 0;
};

// The record picked for a play position p (0..1) in a list of n > 0 entries: p·n truncated,
// and the last entry for anything not below n (p = 1.0, or a product of -1 or below).
qsizetype recordIndexForPosition(double position, qsizetype count);

// NMEA ddmm.mmmm (or dddmm.mmmm) to decimal degrees; the sign is kept.
double nmeaPositionToDegrees(double value);

// Signed latitude and longitude of a fix in decimal degrees (S and W negative).
double latitudeDegrees(const VXLGpsData& fix);
double longitudeDegrees(const VXLGpsData& fix);

DriveDataDisplayValues driveDataDisplayValues(const QList<VXLGSensor>& gSensors,
                                              const QList<VXLGpsData>& nmeas,
                                              const QList<VXLAviGpsData>& gpsBlocks,
                                              double position);
