#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

// The camera's drive-record logs. Both forms are a 12-byte header (a little-endian 32-bit
// record count, then 8 bytes we do not interpret) followed by records back to back: 40-byte
// flash-data records in a ".drv" file, 68-byte OBD records in an ".obd" file. All numbers are
// little-endian. The structures are the in-memory form with the camera's layout; they are
// filled field by field from the bytes (never by casting), so the host's byte order does not
// matter.

inline constexpr qsizetype kDriveRecordHeaderSize = 12;

// One record of the ".drv" file (flash data).
struct _FLASH_SAVE_VALUE_STRUCT
{
    uint16_t sequence;
    uint8_t weekday; // 0 = Sunday .. 6 = Saturday
    uint8_t status;  // 1 "A", 2 "F", anything else "V"
    uint8_t year;    // years since 1900
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint16_t latitudeDegreesMinutes;  // ddmm
    uint16_t latitudeMinuteDecimals;  // four decimal digits of the minutes
    uint16_t longitudeDegreesMinutes; // dddmm
    uint16_t longitudeMinuteDecimals; // four decimal digits of the minutes
    uint16_t currentSpeed;
    uint32_t drivingDistanceTenths;
    uint32_t reserved24;
    uint16_t maximumSpeed;
    int8_t reserved30;
    int8_t reserved31;
    int16_t gSensorX; // 1/256 g
    int16_t gSensorY;
    int16_t gSensorZ;
    int16_t batteryTenthsOfVolt;

    static constexpr qsizetype kSize = 40;
};
static_assert(sizeof(_FLASH_SAVE_VALUE_STRUCT) == _FLASH_SAVE_VALUE_STRUCT::kSize);
static_assert(offsetof(_FLASH_SAVE_VALUE_STRUCT, status) == 3);
static_assert(offsetof(_FLASH_SAVE_VALUE_STRUCT, latitudeDegreesMinutes) == 10);
static_assert(offsetof(_FLASH_SAVE_VALUE_STRUCT, longitudeMinuteDecimals) == 16);
static_assert(offsetof(_FLASH_SAVE_VALUE_STRUCT, drivingDistanceTenths) == 20);
static_assert(offsetof(_FLASH_SAVE_VALUE_STRUCT, maximumSpeed) == 28);
static_assert(offsetof(_FLASH_SAVE_VALUE_STRUCT, gSensorX) == 32);
static_assert(offsetof(_FLASH_SAVE_VALUE_STRUCT, batteryTenthsOfVolt) == 38);

// One record of an ".obd" file: 66 bytes of fields and 2 of padding. The short vehicle value
// names (acp, fbk, ...) are the camera's; we only turn them into text.
struct _OBD_SAVE_VALUE_STRUCT
{
    uint32_t sequence;
    uint8_t reserved4;
    uint8_t year; // years since 1900
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint8_t weekday; // 0 = Sunday .. 6 = Saturday
    uint16_t latitudeDegreesMinutes;
    uint16_t latitudeMinuteDecimals;
    uint16_t longitudeDegreesMinutes;
    uint16_t longitudeMinuteDecimals;
    int16_t gpsSpeed;
    int8_t reserved22;
    int8_t reserved23;
    int16_t currentSpeed;
    int16_t engineSpeed;
    int32_t drivingDistanceThousandths;
    int16_t batteryThousandthsOfVolt;
    int16_t acp;
    int16_t fbk;
    int16_t rll;
    int16_t lll;
    int16_t swa; // 9999: no value
    int16_t sbt;
    int16_t gel;
    uint16_t gep;
    uint16_t sbk;
    int16_t tpa;
    int16_t abt; // hundredths; 9999: no value
    int16_t reserved56;
    int16_t reserved58;
    int16_t gSensorX; // 1/256 g
    int16_t gSensorY;
    int16_t gSensorZ;
    uint16_t padding;

    static constexpr qsizetype kSize = 68;
};
static_assert(sizeof(_OBD_SAVE_VALUE_STRUCT) == _OBD_SAVE_VALUE_STRUCT::kSize);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, weekday) == 11);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, latitudeDegreesMinutes) == 12);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, gpsSpeed) == 20);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, currentSpeed) == 24);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, drivingDistanceThousandths) == 28);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, batteryThousandthsOfVolt) == 32);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, swa) == 42);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, gep) == 48);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, abt) == 54);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, gSensorX) == 60);
static_assert(offsetof(_OBD_SAVE_VALUE_STRUCT, padding) == 66);

// The records from their bytes: `bytes` holds at least kSize bytes.
_FLASH_SAVE_VALUE_STRUCT flashRecordFromBytes(const char* bytes);
_OBD_SAVE_VALUE_STRUCT obdRecordFromBytes(const char* bytes);
