#include "VXLNMEASentenceParser.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool isValidUtf8(std::string_view text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        unsigned char low = 0x80;
        unsigned char high = 0xbf;
        if (c >= 0xc2 && c <= 0xdf) {
            length = 2;
        } else if (c >= 0xe0 && c <= 0xef) {
            length = 3;
            if (c == 0xe0)
                low = 0xa0; // overlong
            else if (c == 0xed)
                high = 0x9f; // surrogates
        } else if (c >= 0xf0 && c <= 0xf4) {
            length = 4;
            if (c == 0xf0)
                low = 0x90;
            else if (c == 0xf4)
                high = 0x8f;
        } else {
            return false;
        }
        if (n - i < length)
            return false;
        if (s[i + 1] < low || s[i + 1] > high)
            return false;
        for (size_t k = 2; k < length; ++k) {
            if (s[i + k] < 0x80 || s[i + k] > 0xbf)
                return false;
        }
        i += length;
    }
    return true;
}

// Length in UTF-16 units, as the receiver's text counts characters (valid UTF-8 only).
size_t characterLength(std::string_view text)
{
    size_t length = 0;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c & 0xc0) != 0x80)
            length += c >= 0xf0 ? 2 : 1;
    }
    return length;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Skips leading blanks and an optional sign; answers the index after them.
size_t skipBlanksAndSign(std::string_view text, bool& negative)
{
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    return i;
}

// The longest leading decimal number (after blanks) as a single-precision float; 0 when
// there is none. Out-of-range numbers give infinity or zero.
float floatValue(std::string_view text)
{
    bool negative = false;
    size_t i = skipBlanksAndSign(text, negative);
    const size_t start = i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0f;
    size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            end = j;
        }
    }
    float value = 0.0f;
    const char* first = text.data() + start;
    const char* last = text.data() + end;
    const auto [ptr, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        double wide = 0.0;
        std::from_chars(first, last, wide, std::chars_format::general);
        value = std::fabs(wide) >= 1.0 ? HUGE_VALF : 0.0f;
    } else if (error != std::errc()) {
        value = 0.0f;
    }
    return negative ? -value : value;
}

// The leading integer (after blanks), saturated to the 32-bit range; 0 when there is none.
int32_t intValue(std::string_view text)
{
    bool negative = false;
    size_t i = skipBlanksAndSign(text, negative);
    int64_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1)
            value = int64_t(INT32_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    return int32_t(value);
}

std::string_view field(const VXLNMEASentenceParser::Fields& fields, size_t index)
{
    return index < fields.size() ? fields[index] : std::string_view();
}

VXLNMEASentenceParser::Fields split(std::string_view text, char separator)
{
    VXLNMEASentenceParser::Fields parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

} // namespace

bool VXLNMEASentenceParser::parse(const char* sentence)
{
    if (!sentence)
        return false;
    return parse(std::string_view(sentence));
}

bool VXLNMEASentenceParser::parse(std::string_view sentence)
{
    if (!isValidUtf8(sentence))
        return false;
    // Exactly one "*": the text before it holds the fields; the checksum after it is not read.
    const size_t star = sentence.find('*');
    if (star == std::string_view::npos || sentence.find('*', star + 1) != std::string_view::npos)
        return false;
    const Fields fields = split(sentence.substr(0, star), ',');
    const std::string_view address = fields.front();
    if (address == "$GPRMC" || address == "$GNRMC")
        return parseGPRMC(fields);
    if (address == "$GPGGA" || address == "$GNGGA")
        return parseGPGGA(fields);
    if (address == "$GNGSA")
        return parseGNGSA(fields);
    if (address == "$GNGNS")
        return parseGNGNS(fields);
    return false;
}

bool VXLNMEASentenceParser::parseGPRMC(const Fields& fields)
{
    VXLGpsData& fix = m_Current;
    fix.SpeedOverGround = floatValue(field(fields, 7));
    fix.CourseOverGround = floatValue(field(fields, 8));
    fix.gpsValid = field(fields, 2) == "A" ? 1 : 0;

    const std::string_view time = field(fields, 1);
    const std::string_view date = field(fields, 9);
    // Only hhmmss.sss with a six-digit date sets the time; receivers that send hhmmss.ss
    // leave it as it was.
    if (characterLength(date) == 6 && characterLength(time) == 10) {
        int hour = 0, minute = 0, second = 0, milliseconds = 0;
        int day = 0, month = 0, year = 0;
        std::sscanf(std::string(time).c_str(), "%02d%02d%02d.%03d", &hour, &minute, &second,
                    &milliseconds);
        std::sscanf(std::string(date).c_str(), "%02d%02d%02d", &day, &month, &year);
        fix.Now.wYear = uint16_t(2000 + year);
        fix.Now.wMonth = uint16_t(month);
        fix.Now.wDayOfWeek = 0;
        fix.Now.wDay = uint16_t(day);
        fix.Now.wHour = uint16_t(hour);
        fix.Now.wMinute = uint16_t(minute);
        fix.Now.wSecond = uint16_t(second);
        fix.Now.wMilliseconds = uint16_t(milliseconds);
    }
    fix.Cnt_GNGSA = 0;
    return true;
}

bool VXLNMEASentenceParser::parseGPGGA(const Fields& fields)
{
    VXLGpsData& fix = m_Current;
    if (!field(fields, 2).empty())
        fix.Latitude = floatValue(field(fields, 2));
    if (!field(fields, 3).empty())
        fix.NS = field(fields, 3).front();
    if (!field(fields, 4).empty())
        fix.Longitude = floatValue(field(fields, 4));
    if (!field(fields, 5).empty())
        fix.EW = field(fields, 5).front();
    // GNS or GSA, once seen, give a better satellite count than a GPS-only GGA.
    if (fields.front() == "$GPGGA" && !fix.Enable_GNGNS && !fix.Enable_GNGSA)
        fix.SatelliteUsedCount = uint32_t(intValue(field(fields, 7)));
    if (!fix.Enable_GNGNS && !field(fields, 8).empty())
        fix.HDOP = floatValue(field(fields, 8));
    fix.Cnt_GNGSA = 0;
    return true;
}

bool VXLNMEASentenceParser::parseGNGNS(const Fields& fields)
{
    VXLGpsData& fix = m_Current;
    fix.Enable_GNGNS = 1;
    fix.SatelliteUsedCount = uint32_t(intValue(field(fields, 7)));
    if (!field(fields, 8).empty())
        fix.HDOP = floatValue(field(fields, 8));
    return true;
}

// A two-constellation receiver sends GSA in pairs, GPS first; the pair's counts add up.
bool VXLNMEASentenceParser::parseGNGSA(const Fields& fields)
{
    VXLGpsData& fix = m_Current;
    fix.Enable_GNGSA = 1;
    if (fix.Enable_GNGNS)
        return true;

    uint32_t used = 0;
    for (int slot = 0; slot < 12; ++slot) {
        const std::string_view text = field(fields, size_t(3 + slot));
        fix.SatelliteUsed[slot] = text.empty() ? 0 : uint8_t(intValue(text) & 0xff);
        if (fix.SatelliteUsed[slot] != 0)
            ++used;
    }

    const uint8_t first = fix.SatelliteUsed[0];
    if (first >= 1 && first <= 64)
        fix.Cnt_GNGSA = 0;
    else if (first >= 65)
        fix.Cnt_GNGSA = 1;
    else
        fix.Cnt_GNGSA = 255;

    switch (fix.Cnt_GNGSA) {
    case 0:
        fix.SatelliteUsedCount_GPS = used;
        fix.Cnt_GNGSA = 1;
        fix.SatelliteUsedCount = fix.SatelliteUsedCount_GPS;
        break;
    case 1:
        fix.SatelliteUsedCount_GLONASS = used;
        fix.Cnt_GNGSA = 0;
        fix.SatelliteUsedCount = fix.SatelliteUsedCount_GPS + fix.SatelliteUsedCount_GLONASS;
        break;
    default:
        if (fix.gpsValid == 0)
            fix.SatelliteUsedCount = 0;
        break;
    }
    return true;
}
