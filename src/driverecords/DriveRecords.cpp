#include "driverecords/DriveRecords.h"

#include <QtEndian>

namespace {

template <typename T> T le(const char* bytes, int offset)
{
    return qFromLittleEndian<T>(bytes + offset);
}

uint8_t u8(const char* bytes, int offset)
{
    return uint8_t(bytes[offset]);
}

int8_t s8(const char* bytes, int offset)
{
    return int8_t(bytes[offset]);
}

} // namespace

_FLASH_SAVE_VALUE_STRUCT flashRecordFromBytes(const char* b)
{
    _FLASH_SAVE_VALUE_STRUCT r;
    r.sequence = le<uint16_t>(b, 0);
    r.weekday = u8(b, 2);
    r.status = u8(b, 3);
    r.year = u8(b, 4);
    r.month = u8(b, 5);
    r.day = u8(b, 6);
    r.hour = u8(b, 7);
    r.minute = u8(b, 8);
    r.second = u8(b, 9);
    r.latitudeDegreesMinutes = le<uint16_t>(b, 10);
    r.latitudeMinuteDecimals = le<uint16_t>(b, 12);
    r.longitudeDegreesMinutes = le<uint16_t>(b, 14);
    r.longitudeMinuteDecimals = le<uint16_t>(b, 16);
    r.currentSpeed = le<uint16_t>(b, 18);
    r.drivingDistanceTenths = le<uint32_t>(b, 20);
    r.reserved24 = le<uint32_t>(b, 24);
    r.maximumSpeed = le<uint16_t>(b, 28);
    r.reserved30 = s8(b, 30);
    r.reserved31 = s8(b, 31);
    r.gSensorX = le<int16_t>(b, 32);
    r.gSensorY = le<int16_t>(b, 34);
    r.gSensorZ = le<int16_t>(b, 36);
    r.batteryTenthsOfVolt = le<int16_t>(b, 38);
    return r;
}

_OBD_SAVE_VALUE_STRUCT obdRecordFromBytes(const char* b)
{
    _OBD_SAVE_VALUE_STRUCT r;
    r.sequence = le<uint32_t>(b, 0);
    r.reserved4 = u8(b, 4);
    r.year = u8(b, 5);
    r.month = u8(b, 6);
    r.day = u8(b, 7);
    r.hour = u8(b, 8);
    r.minute = u8(b, 9);
    r.second = u8(b, 10);
    r.weekday = u8(b, 11);
    r.latitudeDegreesMinutes = le<uint16_t>(b, 12);
    r.latitudeMinuteDecimals = le<uint16_t>(b, 14);
    r.longitudeDegreesMinutes = le<uint16_t>(b, 16);
    r.longitudeMinuteDecimals = le<uint16_t>(b, 18);
    r.gpsSpeed = le<int16_t>(b, 20);
    r.reserved22 = s8(b, 22);
    r.reserved23 = s8(b, 23);
    r.currentSpeed = le<int16_t>(b, 24);
    r.engineSpeed = le<int16_t>(b, 26);
    r.drivingDistanceThousandths = le<int32_t>(b, 28);
    r.batteryThousandthsOfVolt = le<int16_t>(b, 32);
    r.acp = le<int16_t>(b, 34);
    r.fbk = le<int16_t>(b, 36);
    r.rll = le<int16_t>(b, 38);
    r.lll = le<int16_t>(b, 40);
    r.swa = le<int16_t>(b, 42);
    r.sbt = le<int16_t>(b, 44);
    r.gel = le<int16_t>(b, 46);
    r.gep = le<uint16_t>(b, 48);
    r.sbk = le<uint16_t>(b, 50);
    r.tpa = le<int16_t>(b, 52);
    r.abt = le<int16_t>(b, 54);
    r.reserved56 = le<int16_t>(b, 56);
    r.reserved58 = le<int16_t>(b, 58);
    r.gSensorX = le<int16_t>(b, 60);
    r.gSensorY = le<int16_t>(b, 62);
    r.gSensorZ = le<int16_t>(b, 64);
    r.padding = le<uint16_t>(b, 66);
    return r;
}
