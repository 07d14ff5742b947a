#pragma once

#include "samplecard/DriveRecord.h"

#include <QDateTime>
#include <QList>

namespace samplecard {

// A road the simulated car follows: waypoints in signed decimal degrees.
enum class Road {
    SeoulCityHall,     // northern and eastern hemispheres
    BuenosAiresCentro, // southern and western hemispheres
};

struct DriveOptions
{
    quint32 seed = 1;
    // UTC time of the first record.
    QDateTime start = QDateTime(QDate(2023, 4, 15), QTime(0, 30, 12), Qt::UTC);
    int seconds = 30;         // length of the recording
    double startDistance = 0; // metres along the road where the recording begins
    double startSpeed = -1;   // metres per second at the start; below 0 a random city speed
    Road road = Road::SeoulCityHall;
    bool parked = false;          // speed 0 all along (motion recordings while parked)
    int hardBrakingAtSecond = -1; // an event: about 0.7 g of braking from this second on
    int fixLostFromSecond = -1;   // status V, no position, no satellites ...
    int fixLostSeconds = 0;       // ... for this many seconds
    bool withGns = false;         // a $GNGNS sentence every second, after GGA
    char unitMarker = '9';
};

// The records of a simulated drive, 10 per second: G-sensor counts (gravity on z, road
// noise, bumps, braking and cornering) and, once a second, $GNRMC, $GNGGA, a $GNGSA pair (GPS
// then GLONASS) and optionally $GNGNS, spread over the second's records as 128 bytes allow.
// The same options give the same records.
QList<DriveRecord> simulateDrive(const DriveOptions& options);

// The car itself at each record of a drive (10 per second), for the camera's drive-record
// logs: the true position (not the receiver's noisy one), speed and distance, and the
// G-sensor counts of the record.
struct DriveState
{
    QDateTime time;             // UTC
    double latitude = 0;        // signed decimal degrees
    double longitude = 0;       // signed decimal degrees
    double speed = 0;           // metres per second
    double distance = 0;        // metres along the road
    double acceleration = 0;    // metres per second squared, along the road
    double lateral = 0;         // g, positive turning right
    qint32 x = 0, y = 0, z = 0; // G-sensor counts of 1/256 g
    bool fixValid = true;
};
QList<DriveState> simulateDriveStates(const DriveOptions& options);

// Where and how fast the car is when a drive of these options ends, so the next recording
// can go on from there.
struct DriveEnd
{
    double distance = 0; // metres along the road
    double speed = 0;    // metres per second
};
DriveEnd endOfDrive(const DriveOptions& options);

} // namespace samplecard
