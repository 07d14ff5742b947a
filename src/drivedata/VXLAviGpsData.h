#pragma once

#include <cstdint>
#include <cstring>

// The GPS block of one drive record: the unit marker byte, then 128 bytes of NMEA text.
// After extraction the text carries zero bytes where its sentences ended (CR, LF).
struct GpsBlock
{
    char unit;
    char nmea[128];
};
static_assert(sizeof(GpsBlock) == 129);

class VXLAviGpsData
{
public:
    static constexpr int kSize = 129;
    // Byte 0 of the block; "9" selects kilometres per hour in the speed display.
    static constexpr char kKilometreMarker = '9';

    VXLAviGpsData() { std::memset(&data, 0, sizeof data); }
    // Copies kSize bytes.
    explicit VXLAviGpsData(const void* bytes) { std::memcpy(&data, bytes, sizeof data); }
    static VXLAviGpsData aviGpsDataWithData(const void* bytes) { return VXLAviGpsData(bytes); }

    bool isKilometreUnit() const { return data.unit == kKilometreMarker; }

    GpsBlock data;
};
