#pragma once

#include "VXLAviGpsData.h"
#include "VXLGSensor.h"
#include "VXLGpsData.h"

#include <QList>
#include <QString>

#include <cstdint>

// What the main window shows of the drive data at a play position, shared by the window
// and vexlo-tool. The window applies a group of texts only when its flag is set; otherwise
// those fields keep what they showed before.
struct DriveDataDisplayValues
{
    // G-sensor readouts: set when there is at least one sample.
    bool hasGSensor = false;
    VXLGSensor gSensor;
    QString gsensorXText; // "X=+0.25", "Y=-1.50", "Z=0.00"
    QString gsensorYText;
    QString gsensorZText;

    // Position and speed, from the fix picked by the index over the GPS blocks; set only
    // when that index lies inside the list of fixes.
    bool hasPosition = false;
    double latitude = 0.0;  // signed decimal degrees
    double longitude = 0.0; // signed decimal degrees
    int speed = 0;          // whole km/h or mi/h, truncated
    bool speedInKilometres = true;

    // Script for the map page: "setLatLag('LON','LAT')" with the position above,
    // "VXLDebug('GPS Data Count=Zero')" when there are no GPS blocks, empty for none.
    QString mapScript;

    // Speed, HDOP and satellite texts. speedText is set with the position ("18 Km/h",
    // "11 Mi/h") or, when there is no fix at all, "- Km/h"; empty means unchanged.
    QString speedText;
    // From the fix picked by the index over the fixes; set when there is at least one fix.
    bool hasFix = false;
    double hdop = 0.0;
    uint32_t satellites = 0;
    QString hdopText;      // "%.1f", or "-.-" without fixes
    QString satelliteText; // "%d", or "-" without fixes
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

// The same numbers and flags without the texts (mapScript and the texts stay empty), for
// callers that format the values themselves.
DriveDataDisplayValues driveDataDisplayNumbers(const QList<VXLGSensor>& gSensors,
                                               const QList<VXLGpsData>& nmeas,
                                               const QList<VXLAviGpsData>& gpsBlocks,
                                               double position);
