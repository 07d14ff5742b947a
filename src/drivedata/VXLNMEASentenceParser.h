#pragma once

#include "VXLGpsData.h"

#include <string_view>
#include <vector>

// Updates one running fix from NMEA 0183 sentences. Only RMC, GGA, GSA and GNS change it;
// the checksum is not verified (the camera's receiver text is taken as it is), and every
// value stays until a later sentence overwrites it.
class VXLNMEASentenceParser
{
public:
    using Fields = std::vector<std::string_view>;

    // One sentence as zero-terminated text. True when a handler ran; false for text that is
    // not UTF-8, that has no "*" or more than one, or whose address is not handled.
    bool parse(const char* sentence);
    bool parse(std::string_view sentence);
    void clear() { m_Current.clear(); }

    const VXLGpsData& current() const { return m_Current; }
    VXLGpsData& current() { return m_Current; }

    bool parseGPRMC(const Fields& fields);
    bool parseGPGGA(const Fields& fields);
    bool parseGNGSA(const Fields& fields);
    bool parseGNGNS(const Fields& fields);

private:
    VXLGpsData m_Current;
};
