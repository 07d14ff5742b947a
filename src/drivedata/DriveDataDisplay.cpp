#include "DriveDataDisplay.h"

#include <cmath>
#include <cstdint>

namespace {

// Truncation toward zero into a signed integer of `Bits` bits. A value out of range (or NaN)
// gives the most negative number, as the x86 conversion the camera's tools were built on
// does; C++ leaves that case undefined, so it is spelled out here.
int64_t truncateTo64(double value)
{
    if (!(value > -9223372036854775808.0 && value < 9223372036854775808.0))
        return INT64_MIN;
    return int64_t(value);
}

int32_t truncateTo32(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT32_MIN;
    return int32_t(value);
}

} // namespace

qsizetype recordIndexForPosition(double position, qsizetype count)
{
    if (count <= 0)
        return 0;
    const int64_t index = truncateTo64(position * double(count));
    if (uint64_t(index) >= uint64_t(count))
        return count - 1;
    return qsizetype(index);
}

double nmeaPositionToDegrees(double value)
{
    const int32_t whole = truncateTo32(value / 100.0);
    return (value / 100.0 - whole) * 100.0 / 60.0 + whole;
}

double latitudeDegrees(const VXLGpsData& fix)
{
    const double magnitude = std::fabs(fix.Latitude);
    return nmeaPositionToDegrees(fix.NS == 'N' ? magnitude : -magnitude);
}

double longitudeDegrees(const VXLGpsData& fix)
{
    const double magnitude = std::fabs(fix.Longitude);
    return nmeaPositionToDegrees(fix.EW == 'E' ? magnitude : -magnitude);
}

DriveDataDisplayValues driveDataDisplayValues(const QList<VXLGSensor>& gSensors,
                                              const QList<VXLGpsData>& nmeas,
                                              const QList<VXLAviGpsData>& gpsBlocks,
                                              double position)
{
    DriveDataDisplayValues values;
    if (!gSensors.isEmpty()) {
        values.hasGSensor = true;
        values.gSensor = gSensors.at(recordIndexForPosition(position, gSensors.size()));
    }
    // Position and speed: the index is taken over the GPS blocks (one per record) and used
    // in the fixes (one per sentence) as it stands, as long as it is inside them.
    values.hasGpsData = !gpsBlocks.isEmpty();
    if (values.hasGpsData) {
        const qsizetype index = recordIndexForPosition(position, gpsBlocks.size());
        if (index < nmeas.size()) {
            const VXLGpsData& fix = nmeas.at(index);
            values.hasPosition = true;
            values.latitude = latitudeDegrees(fix);
            values.longitude = longitudeDegrees(fix);
            values.speedInKilometres = gpsBlocks.at(index).isKilometreUnit();
            values.speed =
                truncateTo32(fix.SpeedOverGround * (values.speedInKilometres ? 1.852 : 1.150779));
        }
    }
    if (!nmeas.isEmpty()) {
        const VXLGpsData& fix = nmeas.at(recordIndexForPosition(position, nmeas.size()));
        values.hasFix = true;
        values.hdop = fix.HDOP;
        values.satellites = fix.SatelliteUsedCount;
    }
    return values;
}
