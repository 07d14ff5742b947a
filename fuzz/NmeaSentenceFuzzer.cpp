// libFuzzer target: one sentence into the parser, as zero-terminated text and as a 128-byte
// GPS block; then the position and display of the resulting fix.
#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"
#include "drivedata/VXLNMEASentenceParser.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    VXLNMEASentenceParser parser;
    parser.parse(text.c_str());
    parser.parse(text.c_str()); // a second time, on the fix the first one left
    latitudeDegrees(parser.current());
    longitudeDegrees(parser.current());

    char block[128] = {};
    std::memcpy(block, data, size < sizeof block ? size : sizeof block);
    VXLBlackBoxData blackBox;
    blackBox.ParseNMEA(block, sizeof block);
    VXLAviGpsData gpsBlock;
    gpsBlock.data.unit = size > 0 ? char(data[0]) : '9';
    driveDataDisplayValues({}, blackBox.m_NMEAs(), {gpsBlock}, 0.0);
    return 0;
}
