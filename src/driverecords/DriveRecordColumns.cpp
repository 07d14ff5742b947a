#include "driverecords/DriveRecordColumns.h"

#include "drivedata/DriveDataDisplay.h"
#include "driverecords/DriveRecordText.h"

#include <charconv>

using namespace DriveRecordText;

namespace {

const DriveRecordColumn kFlashDataColumns[] = {
    {"setting.flashdata.index", "No.", 38},
    {"setting.flashdata.seq", "Seq", 38},
    {"setting.flashdata.date", "Date", 86},
    {"setting.flashdata.time", "Time", 72},
    {"setting.flashdata.yoil", "Day", 70},
    {"setting.flashdata.lat", "Latitude", 64},
    {"setting.flashdata.lon", "Longitude", 72},
    {"setting.flashdata.driving_distance", "Distance", 60},
    {"setting.flashdata.cur_speed", "Speed", 60},
    {"setting.flashdata.max_speed", "Max Speed", 60},
    {"setting.flashdata.value", "Status", 48},
    {nullptr, "X", 48},
    {nullptr, "Y", 48},
    {nullptr, "Z", 48},
    {"setting.flashdata.battery", "Battery", 60},
};

const DriveRecordColumn kObdDriveInfoColumns[] = {
    {"setting.obdata.index", "No.", 38},
    {"setting.obdata.seq", "Seq", 38},
    {"setting.obdata.date", "Date", 86},
    {"setting.obdata.time", "Time", 72},
    {"setting.obdata.yoil", "Day", 70},
    {"setting.obdata.lat", "Latitude", 64},
    {"setting.obdata.lon", "Longitude", 72},
    {"setting.obdata.cur_speed", "Speed", 60},
    {"setting.obdata.gps_speed", "GPS Speed", 60},
    {"setting.obdata.rpm", "RPM", 60},
    {"setting.obdata.driving_distance", "Distance", 68},
    {"setting.obdata.battery", "Battery", 60},
    {"setting.obdata.acp", "ACP", 50},
    {"setting.obdata.fbk", "FBK", 66},
    {"setting.obdata.rll", "RLL", 66},
    {"setting.obdata.lll", "LLL", 66},
    {"setting.obdata.swa", "SWA", 66},
    {"setting.obdata.sbt", "SBT", 70},
    {"setting.obdata.gel", "GEL", 70},
    {"setting.obdata.gep", "GEP", 70},
    {"setting.obdata.sbk", "SBK", 70},
    {"setting.obdata.tpa", "TPA", 70},
    {"setting.obdata.abt", "ABT", 60},
    {nullptr, "X", 60},
    {nullptr, "Y", 60},
    {nullptr, "Z", 60},
};

// The latitude or longitude text of a record read back as the number ddmm.mmmm.
double positionNumber(const char* text, const char* end)
{
    double value = 0;
    std::from_chars(text, end, value);
    return value;
}

DriveRecordPosition positionOf(uint16_t latitude, uint16_t latitudeDecimals, uint16_t longitude,
                               uint16_t longitudeDecimals)
{
    char text[32];
    DriveRecordPosition position;
    char* end = writeLatitude(text, latitude, latitudeDecimals);
    position.latitude = nmeaPositionToDegrees(positionNumber(text, end));
    end = writeLongitude(text, longitude, longitudeDecimals);
    position.longitude = nmeaPositionToDegrees(positionNumber(text, end));
    return position;
}

} // namespace

std::span<const DriveRecordColumn> driveRecordColumns(DriveRecordKind kind)
{
    if (kind == DriveRecordKind::ObdDriveInfo)
        return kObdDriveInfoColumns;
    return kFlashDataColumns;
}

char* writeDriveRecordCell(char* out, const _FLASH_SAVE_VALUE_STRUCT& r, int column,
                           int64_t rowNumber)
{
    switch (column) {
    case 0:
        return writeInteger(out, rowNumber);
    case 1:
        return writeInteger(out, r.sequence);
    case 2:
        return writeDate(out, r.year, r.month, r.day);
    case 3:
        return writeTime(out, r.hour, r.minute, r.second);
    case 4:
        return writeWeekday(out, r.weekday);
    case 5:
        return writeLatitude(out, r.latitudeDegreesMinutes, r.latitudeMinuteDecimals);
    case 6:
        return writeLongitude(out, r.longitudeDegreesMinutes, r.longitudeMinuteDecimals);
    case 7:
        return writeFlashDistance(out, r.drivingDistanceTenths);
    case 8:
        return writeInteger(out, r.currentSpeed);
    case 9:
        return writeInteger(out, r.maximumSpeed);
    case 10:
        return writeFlashStatus(out, r.status);
    case 11:
        return writeGValue(out, r.gSensorX);
    case 12:
        return writeGValue(out, r.gSensorY);
    case 13:
        return writeGValue(out, r.gSensorZ);
    case 14:
        return writeTenths(out, r.batteryTenthsOfVolt);
    default:
        return out;
    }
}

char* writeDriveRecordCell(char* out, const _OBD_SAVE_VALUE_STRUCT& r, int column,
                           int64_t rowNumber)
{
    switch (column) {
    case 0:
        return writeInteger(out, rowNumber);
    case 1:
        // Unsigned: a number past 2^31 is not a negative sequence.
        return writeInteger(out, r.sequence);
    case 2:
        return writeDate(out, r.year, r.month, r.day);
    case 3:
        return writeTime(out, r.hour, r.minute, r.second);
    case 4:
        return writeWeekday(out, r.weekday);
    case 5:
        return writeLatitude(out, r.latitudeDegreesMinutes, r.latitudeMinuteDecimals);
    case 6:
        return writeLongitude(out, r.longitudeDegreesMinutes, r.longitudeMinuteDecimals);
    case 7:
        return writeCount(out, r.currentSpeed);
    case 8:
        return writeCount(out, r.gpsSpeed);
    case 9:
        return writeCount(out, r.engineSpeed);
    case 10:
        return writeThousandths(out, r.drivingDistanceThousandths);
    case 11:
        return writeThousandths(out, r.batteryThousandthsOfVolt);
    case 12:
        return writeCount(out, r.acp);
    case 13:
        return writeSwitch(out, r.fbk);
    case 14:
        return writeSwitch(out, r.rll);
    case 15:
        return writeSwitch(out, r.lll);
    case 16:
        return writeSwa(out, r.swa);
    case 17:
        return writeSwitch(out, r.sbt);
    case 18:
        return writeGel(out, r.gel);
    case 19:
        return writeGep(out, r.gep);
    case 20:
        return writeSbk(out, r.sbk);
    case 21:
        return writeCount(out, r.tpa);
    case 22:
        return writeAbt(out, r.abt);
    case 23:
        return writeGValue(out, r.gSensorX);
    case 24:
        return writeGValue(out, r.gSensorY);
    case 25:
        return writeGValue(out, r.gSensorZ);
    default:
        return out;
    }
}

DriveRecordPosition driveRecordPosition(const _FLASH_SAVE_VALUE_STRUCT& r)
{
    return positionOf(r.latitudeDegreesMinutes, r.latitudeMinuteDecimals, r.longitudeDegreesMinutes,
                      r.longitudeMinuteDecimals);
}

DriveRecordPosition driveRecordPosition(const _OBD_SAVE_VALUE_STRUCT& r)
{
    return positionOf(r.latitudeDegreesMinutes, r.latitudeMinuteDecimals, r.longitudeDegreesMinutes,
                      r.longitudeMinuteDecimals);
}
