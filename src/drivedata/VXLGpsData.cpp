#include "VXLGpsData.h"

namespace {

bool isSlot(int index)
{
    return index >= 0 && index < 12;
}

} // namespace

uint8_t VXLGpsData::SatelliteUsedAtIndex(int index) const
{
    return isSlot(index) ? SatelliteUsed[index] : 0;
}

void VXLGpsData::setSatelliteUsed(uint8_t value, int index)
{
    if (isSlot(index))
        SatelliteUsed[index] = value;
}

// The two bytes of an entry as one number, the first byte low (the camera's byte order).
uint16_t VXLGpsData::SVonChannelAtIndex(int index) const
{
    if (!isSlot(index))
        return 0;
    return uint16_t(SVonChannel[index][0] | (SVonChannel[index][1] << 8));
}

void VXLGpsData::setSVonChannel(uint16_t value, int index)
{
    setSVonChannelWithFirst(uint8_t(value & 0xff), uint8_t(value >> 8), index);
}

void VXLGpsData::setSVonChannelWithFirst(uint8_t first, int index)
{
    if (isSlot(index))
        SVonChannel[index][0] = first;
}

void VXLGpsData::setSVonChannelWithSecond(uint8_t second, int index)
{
    if (isSlot(index))
        SVonChannel[index][1] = second;
}

void VXLGpsData::setSVonChannelWithFirst(uint8_t first, uint8_t second, int index)
{
    setSVonChannelWithFirst(first, index);
    setSVonChannelWithSecond(second, index);
}
