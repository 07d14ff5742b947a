#include "DriveDataDisplay.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

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

// Formatted by the C library: its rounding of exact halves (1.25 gives "1.2") is what the
// readouts have always shown; Qt's own formatting rounds them up.
template <typename... Args> QString format(const char* pattern, Args... args)
{
    char text[512];
    std::snprintf(text, sizeof text, pattern, args...);
    return QString::fromLatin1(text);
}

QString signedReadout(const char* axis, float value)
{
    return format("%s=%s%.2f", axis, value > 0 ? "+" : "", double(value));
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

DriveDataDisplayValues driveDataDisplayNumbers(const QList<VXLGSensor>& gSensors,
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
    if (!gpsBlocks.isEmpty()) {
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

DriveDataDisplayValues driveDataDisplayValues(const QList<VXLGSensor>& gSensors,
                                              const QList<VXLGpsData>& nmeas,
                                              const QList<VXLAviGpsData>& gpsBlocks,
                                              double position)
{
    DriveDataDisplayValues values = driveDataDisplayNumbers(gSensors, nmeas, gpsBlocks, position);
    if (values.hasGSensor) {
        values.gsensorXText = signedReadout("X", values.gSensor.x);
        values.gsensorYText = signedReadout("Y", values.gSensor.y);
        values.gsensorZText = signedReadout("Z", values.gSensor.z);
    }
    if (gpsBlocks.isEmpty())
        values.mapScript = QStringLiteral("VXLDebug('GPS Data Count=Zero')");
    if (values.hasPosition) {
        // The map page takes the longitude first.
        values.mapScript = format("setLatLag('%lf','%lf')", values.longitude, values.latitude);
        values.speedText = format(values.speedInKilometres ? "%d Km/h" : "%d Mi/h", values.speed);
    }
    if (!values.hasFix) {
        values.speedText = QStringLiteral("- Km/h");
        values.hdopText = QStringLiteral("-.-");
        values.satelliteText = QStringLiteral("-");
    } else {
        values.hdopText = format("%.1f", values.hdop);
        values.satelliteText = format("%d", int(values.satellites));
    }
    return values;
}
