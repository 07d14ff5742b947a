#include "drivedata/VXLNMEASentenceParser.h"

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

namespace {

struct SentenceCase
{
    const char* name;
    std::vector<const char*> sentences; // fed in order to a fresh parser
    bool lastHandled;
    std::function<void(const VXLGpsData&)> check;
};

const char* const kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
const char* const kGsaGps = "$GNGSA,A,3,01,03,07,08,11,14,22,,,,,,1.8,0.9,1.5*2A";
const char* const kGsaGlonass = "$GNGSA,A,3,65,66,72,80,81,,,,,,,,1.8,0.9,1.5*2A";

TEST(VXLNMEASentenceParser, UpdatesTheRunningFix)
{
    const SentenceCase cases[] = {
        {"rmc: speed, course, status, millisecond time; no position",
         {"$GNRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SpeedOverGround, double(22.4f));
             EXPECT_EQ(f.CourseOverGround, double(84.4f));
             EXPECT_EQ(f.gpsValid, 1);
             EXPECT_EQ(f.Now, (_SYSTEMTIME{2094, 3, 0, 23, 12, 35, 19, 0}));
             EXPECT_EQ(f.Latitude, 0.0);
         }},
        {"rmc status V still sets speed and course",
         {"$GPRMC,123519.250,V,,,,,10.0,45.0,010124,,*00"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.gpsValid, 0);
             EXPECT_EQ(f.SpeedOverGround, 10.0);
             EXPECT_EQ(f.Now, (_SYSTEMTIME{2024, 1, 0, 1, 12, 35, 19, 250}));
         }},
        {"rmc time of 9 characters leaves the time",
         {"$GNRMC,123519.000,A,,,,,1,1,230394,,*00", "$GNRMC,083000.00,A,,,,,1,1,010124,,*00"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Now.wYear, 2094);
         }},
        {"gga: single precision, hemispheres; $GNGGA sets no count",
         {"$GNGGA,123519,3723.2475,S,12158.3416,W,1,08,0.95,545.4,M,46.9,M,,*47"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 3723.24755859375);
             EXPECT_EQ(f.NS, 'S');
             EXPECT_EQ(f.EW, 'W');
             EXPECT_EQ(f.HDOP, double(0.95f));
             EXPECT_EQ(f.SatelliteUsedCount, 0u);
         }},
        {"gga with empty fields keeps position, hemispheres and hdop",
         {kGga, "$GPGGA,123520,,,,,0,,,,M,,M,,*47"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, double(4807.038f));
             EXPECT_EQ(f.EW, 'E');
             EXPECT_EQ(f.HDOP, double(0.9f));
             EXPECT_EQ(f.SatelliteUsedCount, 0u); // an empty count field reads 0
         }},
        {"gsa pair: 7 after the first, 12 after the second",
         {kGsaGps},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 7u);
         }},
        {"gsa pair, second",
         {kGsaGps, kGsaGlonass},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 12u);
             EXPECT_EQ(f.SatelliteUsedAtIndex(4), 81);
             EXPECT_EQ(f.SatelliteUsedAtIndex(5), 0);
         }},
        {"$GPGGA gives the count only until a gsa",
         {kGga, kGsaGps, kGga},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 7u);
         }},
        {"empty first gsa slot without a valid fix clears the count",
         {kGga, "$GNGSA,A,1,,,,,,,,,,,,,99.9,99.9,99.9*2E"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 0u);
         }},
        {"empty first gsa slot with a valid fix keeps the count",
         {"$GNRMC,123519.000,A,,,,,1,1,230394,,*00", kGga, "$GNGSA,A,1,,,,,,,,,,,,,1,1,1*2E"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 8u);
         }},
        {"gns gives count and hdop from then on",
         {"$GNGNS,123519,4807.038,N,01131.000,E,AN,14,1.2,545.4,46.9,,*00", kGsaGps,
          "$GNGGA,1,4807,N,01131,E,1,08,0.7,5,M,4,M,,*47"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 14u);
             EXPECT_EQ(f.HDOP, double(1.2f));
             EXPECT_EQ(f.Latitude, 4807.0);
         }},
        {"numbers read as their longest leading part",
         {"$GPGGA,1, 12.5e1xyz,N,-7.,E,1,9abc,.5.5,1,M,1,M,,*00"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 125.0);
             EXPECT_EQ(f.Longitude, -7.0);
             EXPECT_EQ(f.SatelliteUsedCount, 9u);
             EXPECT_EQ(f.HDOP, 0.5);
         }},
        {"huge numbers saturate",
         {"$GPGGA,1,1e99,N,x,E,1,99999999999,1,1,M,1,M,,*00"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_TRUE(std::isinf(f.Latitude));
             EXPECT_EQ(f.SatelliteUsedCount, 2147483647u);
         }},
        {"missing fields read as empty",
         {"$GPRMC*00"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Now, _SYSTEMTIME{});
         }},
        {"unhandled kind",
         {kGga, "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48"},
         false,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 8u);
         }},
        {"no star",
         {"$GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,5,M,4,M,,"},
         false,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 0.0);
         }},
        {"two stars",
         {"$GPGGA,1,4807.038,N,01131.000,E,1,08,0.9*1,5,M,4,M,,*47"},
         false,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 0.0);
         }},
        {"not utf-8",
         {"$GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,5,M,\xff,M,,*47"},
         false,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 0.0);
         }},
        {"checksum not verified",
         {"$GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,5,M,4,M,,*ZZ"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, double(4807.038f));
         }},
    };
    for (const SentenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        VXLNMEASentenceParser parser;
        bool handled = false;
        for (const char* sentence : c.sentences)
            handled = parser.parse(sentence);
        EXPECT_EQ(handled, c.lastHandled);
        c.check(parser.current());
    }
}

} // namespace
