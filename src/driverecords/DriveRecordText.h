#pragma once

#include <cstdint>

// The text of each drive-record field, as the viewers' cells and their CSV exports show it.
// Every function writes its text at `out` (no terminating zero) and answers the end of what
// it wrote; no text is longer than kMaxCellTextSize bytes. Numbers are written by hand rather
// than with printf: an export of a million records formats fifteen million of them.
namespace DriveRecordText {

inline constexpr int kMaxCellTextSize = 32;

// "%d" / "%u" / "%ld": the number as it is.
char* writeInteger(char* out, int64_t value);

// "%4d/%02d/%02d" of (1900 + year byte, month byte, day byte), the bytes as stored.
char* writeDate(char* out, unsigned yearSince1900, unsigned month, unsigned day);
// "%02d:%02d:%02d".
char* writeTime(char* out, unsigned hour, unsigned minute, unsigned second);
// 0 "SUN" .. 6 "SAT", anything else "-".
char* writeWeekday(char* out, unsigned weekday);

// "%04d.%04d" (latitude) and "%05d.%04d" (longitude) of the degrees-and-minutes part and the
// four decimal digits of the minutes: 3731 and 512 give "3731.0512". No sign is stored.
char* writeLatitude(char* out, unsigned degreesMinutes, unsigned minuteDecimals);
char* writeLongitude(char* out, unsigned degreesMinutes, unsigned minuteDecimals);

// A G-sensor count of 1/256 g as "%+.2f" of its value in g: -256 "-1.00", 0 "+0.00".
char* writeGValue(char* out, int16_t count);

// Flash-data status: 1 "A", 2 "F", anything else "V".
char* writeFlashStatus(char* out, unsigned status);
// Flash-data battery voltage in tenths of a volt, "%2d.%1d": 124 "12.4", 95 " 9.5". A negative
// value keeps its sign in front ("-0.5"), where the plain formula would write " 0.-5".
char* writeTenths(char* out, int16_t tenths);
// Flash-data driving distance in tenths, "%.1f" of value / 10.
char* writeFlashDistance(char* out, uint32_t tenths);

// OBD rules.
// Count: negative "-", else "%d".
char* writeCount(char* out, int value);
// Switch: 0 "OFF", positive "ON", negative "-".
char* writeSwitch(char* out, int value);
// A value in thousandths (distance, battery): negative "-", else "%.1f" of value / 1000.
char* writeThousandths(char* out, int32_t value);
// swa: 9999 "-", anything else "%d" (negative included).
char* writeSwa(char* out, int16_t value);
// gel: positive "%d", zero or negative "-".
char* writeGel(char* out, int16_t value);
// gep: 1 "P", 2 "R", 3 "N", 4 "D", anything else "-".
char* writeGep(char* out, uint16_t value);
// sbk: 0 "OFF", 1 "ON", anything else "-".
char* writeSbk(char* out, uint16_t value);
// abt in hundredths: 9999 "-", else "%.1f" of value / 100 (-55 gives "-0.6").
char* writeAbt(char* out, int16_t value);

} // namespace DriveRecordText
