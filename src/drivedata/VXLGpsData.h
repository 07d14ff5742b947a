#pragma once

#include <cstdint>

// Date and time of a fix, in the camera's field order.
struct _SYSTEMTIME
{
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;

    bool operator==(const _SYSTEMTIME&) const = default;
};

// One GPS fix as the NMEA parser builds it up sentence by sentence. A plain value: copying
// it is the snapshot the extraction keeps after every sentence. Latitude and longitude stay
// in the NMEA form (ddmm.mmmm, dddmm.mmmm) without sign; NS and EW carry the hemisphere.
// Numbers come from the text as single-precision floats, then widened.
class VXLGpsData
{
public:
    VXLGpsData() = default;

    void clear() { *this = VXLGpsData(); }
    void updateFromObject(const VXLGpsData& other) { *this = other; }
    VXLGpsData duplicate() const { return *this; }

    // Index 0-11; out-of-range indexes read 0 and write nothing.
    uint8_t SatelliteUsedAtIndex(int index) const;
    void setSatelliteUsed(uint8_t value, int index);
    uint16_t SVonChannelAtIndex(int index) const;
    void setSVonChannel(uint16_t value, int index);
    void setSVonChannelWithFirst(uint8_t first, int index);
    void setSVonChannelWithSecond(uint8_t second, int index);
    void setSVonChannelWithFirst(uint8_t first, uint8_t second, int index);

    _SYSTEMTIME Now;
    uint32_t SatelliteCount = 0;
    uint8_t SVonChannel[12][2] = {};
    uint32_t SatelliteUsedCount = 0;
    uint8_t SatelliteUsed[12] = {};
    double PDOP = 0.0;
    double HDOP = 0.0;
    double VDOP = 0.0;
    double Latitude = 0.0;
    char NS = 'N';
    double Longitude = 0.0;
    char EW = 'E';
    double SpeedOverGround = 0.0; // knots
    double CourseOverGround = 0.0;
    uint8_t Enable_GNGNS = 0;
    uint8_t Enable_GNGSA = 0;
    uint8_t Cnt_GNGSA = 0; // which GSA of a GPS/GLONASS pair comes next; 255 unknown
    uint32_t SatelliteUsedCount_GPS = 0;
    uint32_t SatelliteUsedCount_GLONASS = 0;
    uint8_t gpsValid = 0;
};
