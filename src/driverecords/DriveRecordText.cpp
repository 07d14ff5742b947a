#include "driverecords/DriveRecordText.h"

#include <charconv>
#include <cstring>

namespace DriveRecordText {

namespace {

char* writeText(char* out, const char* text)
{
    const size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

char* writeUnsigned(char* out, uint64_t value)
{
    char digits[20];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// "%0Nd" of a non-negative number: at least `width` digits, zeros in front.
char* writeZeroPadded(char* out, uint64_t value, int width)
{
    char digits[20];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = count; i < width; ++i)
        *out++ = '0';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// "%.1f" of a double, with printf's rounding of the exact binary value (so -0.55, which is
// stored a little below -0.55, gives "-0.6").
char* writeOneDecimal(char* out, double value)
{
    return std::to_chars(out, out + kMaxCellTextSize, value, std::chars_format::fixed, 1).ptr;
}

} // namespace

char* writeInteger(char* out, int64_t value)
{
    if (value < 0) {
        *out++ = '-';
        return writeUnsigned(out, uint64_t(0) - uint64_t(value));
    }
    return writeUnsigned(out, uint64_t(value));
}

char* writeDate(char* out, unsigned yearSince1900, unsigned month, unsigned day)
{
    out = writeZeroPadded(out, 1900u + yearSince1900, 4); // 1900..2155: always four digits
    *out++ = '/';
    out = writeZeroPadded(out, month, 2);
    *out++ = '/';
    return writeZeroPadded(out, day, 2);
}

char* writeTime(char* out, unsigned hour, unsigned minute, unsigned second)
{
    out = writeZeroPadded(out, hour, 2);
    *out++ = ':';
    out = writeZeroPadded(out, minute, 2);
    *out++ = ':';
    return writeZeroPadded(out, second, 2);
}

char* writeWeekday(char* out, unsigned weekday)
{
    static const char* const kNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    return writeText(out, weekday < 7 ? kNames[weekday] : "-");
}

char* writeLatitude(char* out, unsigned degreesMinutes, unsigned minuteDecimals)
{
    out = writeZeroPadded(out, degreesMinutes, 4);
    *out++ = '.';
    return writeZeroPadded(out, minuteDecimals, 4);
}

char* writeLongitude(char* out, unsigned degreesMinutes, unsigned minuteDecimals)
{
    out = writeZeroPadded(out, degreesMinutes, 5);
    *out++ = '.';
    return writeZeroPadded(out, minuteDecimals, 4);
}

char* writeGValue(char* out, int16_t count)
{
    // count / 256 is exact in binary; round its hundredths half to even, as printf does.
    const unsigned magnitude = unsigned(count < 0 ? -int(count) : int(count)) * 100u;
    unsigned hundredths = magnitude >> 8;
    const unsigned rest = magnitude & 0xffu;
    if (rest > 0x80u || (rest == 0x80u && (hundredths & 1u)))
        ++hundredths;
    *out++ = count < 0 ? '-' : '+';
    out = writeUnsigned(out, hundredths / 100);
    *out++ = '.';
    return writeZeroPadded(out, hundredths % 100, 2);
}

char* writeFlashStatus(char* out, unsigned status)
{
    *out++ = status == 1 ? 'A' : status == 2 ? 'F' : 'V';
    return out;
}

char* writeTenths(char* out, int16_t tenths)
{
    if (tenths < 0) {
        const unsigned magnitude = unsigned(-int(tenths));
        *out++ = '-';
        out = writeUnsigned(out, magnitude / 10);
        *out++ = '.';
        *out++ = char('0' + magnitude % 10);
        return out;
    }
    const unsigned whole = unsigned(tenths) / 10;
    if (whole < 10)
        *out++ = ' '; // "%2d"
    out = writeUnsigned(out, whole);
    *out++ = '.';
    *out++ = char('0' + unsigned(tenths) % 10);
    return out;
}

char* writeFlashDistance(char* out, uint32_t tenths)
{
    // value / 10 printed with one decimal is exactly the digits of the whole tenths.
    out = writeUnsigned(out, tenths / 10);
    *out++ = '.';
    *out++ = char('0' + tenths % 10);
    return out;
}

char* writeCount(char* out, int value)
{
    return value < 0 ? writeText(out, "-") : writeUnsigned(out, unsigned(value));
}

char* writeSwitch(char* out, int value)
{
    return writeText(out, value == 0 ? "OFF" : value > 0 ? "ON" : "-");
}

char* writeThousandths(char* out, int32_t value)
{
    return value < 0 ? writeText(out, "-") : writeOneDecimal(out, value / 1000.0);
}

char* writeSwa(char* out, int16_t value)
{
    return value == 9999 ? writeText(out, "-") : writeInteger(out, value);
}

char* writeGel(char* out, int16_t value)
{
    return value > 0 ? writeUnsigned(out, unsigned(value)) : writeText(out, "-");
}

char* writeGep(char* out, uint16_t value)
{
    static const char kGears[] = "-PRND";
    *out++ = value >= 1 && value <= 4 ? kGears[value] : '-';
    return out;
}

char* writeSbk(char* out, uint16_t value)
{
    return writeText(out, value == 0 ? "OFF" : value == 1 ? "ON" : "-");
}

char* writeAbt(char* out, int16_t value)
{
    return value == 9999 ? writeText(out, "-") : writeOneDecimal(out, value / 100.0);
}

} // namespace DriveRecordText
