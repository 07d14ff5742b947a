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

TEST(VXLNMEASentenceParser, UpdatesTheRunningFix)
{
    const SentenceCase cases[] = {
        {"rmc sets speed, course, status and a millisecond time",
         {"$GNRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_FLOAT_EQ(f.SpeedOverGround, 22.4f);
             EXPECT_FLOAT_EQ(f.CourseOverGround, 84.4f);
             EXPECT_EQ(f.gpsValid, 1);
             EXPECT_EQ(f.Now, (_SYSTEMTIME{2094, 3, 0, 23, 12, 35, 19, 0}));
             EXPECT_EQ(f.Latitude, 0.0); // RMC leaves the position to GGA
         }},
        {"rmc status V still sets speed and course",
         {"$GPRMC,123519.250,V,,,,,10.0,45.0,010124,,*00"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.gpsValid, 0);
             EXPECT_EQ(f.SpeedOverGround, 10.0);
             EXPECT_EQ(f.CourseOverGround, 45.0);
             EXPECT_EQ(f.Now, (_SYSTEMTIME{2024, 1, 0, 1, 12, 35, 19, 250}));
         }},
        {"rmc time of 9 characters leaves the time",
         {"$GNRMC,123519.000,A,,,,,1,1,230394,,*00", "$GNRMC,083000.00,A,,,,,1,1,010124,,*00"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Now, (_SYSTEMTIME{2094, 3, 0, 23, 12, 35, 19, 0}));
         }},
        {"gga keeps single precision and the hemispheres",
         {"$GNGGA,123519,3723.2475,S,12158.3416,W,1,08,0.95,545.4,M,46.9,M,,*47"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 3723.24755859375);
             EXPECT_EQ(f.Longitude, double(12158.3416f));
             EXPECT_EQ(f.NS, 'S');
             EXPECT_EQ(f.EW, 'W');
             EXPECT_EQ(f.HDOP, double(0.95f));
             EXPECT_EQ(f.SatelliteUsedCount, 0u); // $GNGGA never sets the count
         }},
        {"gga with empty position fields keeps the previous position",
         {kGga, "$GPGGA,123520,,,,,0,00,,,M,,M,,*47"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, double(4807.038f));
             EXPECT_EQ(f.Longitude, 1131.0);
             EXPECT_EQ(f.NS, 'N');
             EXPECT_EQ(f.HDOP, double(0.9f)); // empty HDOP keeps it too
             EXPECT_EQ(f.SatelliteUsedCount, 0u);
         }},
        {"gpgga gives the count until a gsa",
         {kGga},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 8u);
         }},
        {"gsa pair adds gps and glonass",
         {"$GNGSA,A,3,01,03,07,08,11,14,22,,,,,,1.8,0.9,1.5*2A",
          "$GNGSA,A,3,65,66,72,80,81,,,,,,,,1.8,0.9,1.5*2A"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount_GPS, 7u);
             EXPECT_EQ(f.SatelliteUsedCount_GLONASS, 5u);
             EXPECT_EQ(f.SatelliteUsedCount, 12u);
             EXPECT_EQ(f.SatelliteUsedAtIndex(4), 81);
             EXPECT_EQ(f.SatelliteUsedAtIndex(5), 0);
             EXPECT_EQ(f.Cnt_GNGSA, 0);
         }},
        {"first gsa of a pair gives the gps count",
         {"$GNGSA,A,3,01,03,07,08,11,14,22,,,,,,1.8,0.9,1.5*2A"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 7u);
             EXPECT_EQ(f.Cnt_GNGSA, 1);
         }},
        {"gpgga after a gsa no longer sets the count",
         {"$GNGSA,A,3,01,03,07,,,,,,,,,,1.8,0.9,1.5*2A", kGga},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 3u);
         }},
        {"gsa with an empty first slot and no valid fix clears the count",
         {kGga, "$GNGSA,A,1,,,,,,,,,,,,,99.9,99.9,99.9*2E"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 0u);
             EXPECT_EQ(f.Cnt_GNGSA, 255);
         }},
        {"gsa with an empty first slot and a valid fix keeps the count",
         {"$GNRMC,123519.000,A,,,,,1,1,230394,,*00", kGga, "$GNGSA,A,1,,,,,,,,,,,,,1,1,1*2E"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 8u);
         }},
        {"gns gives count and hdop from then on",
         {"$GNGNS,123519,4807.038,N,01131.000,E,AN,14,1.2,545.4,46.9,,*00",
          "$GNGSA,A,3,01,03,,,,,,,,,,,1.8,0.9,1.5*2A",
          "$GNGGA,1,4807,N,01131,E,1,08,0.7,5,M,4,M,,*47"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Enable_GNGNS, 1);
             EXPECT_EQ(f.Enable_GNGSA, 1);
             EXPECT_EQ(f.SatelliteUsedCount, 14u);
             EXPECT_EQ(f.HDOP, double(1.2f));
             EXPECT_EQ(f.Latitude, 4807.0);           // GGA still moves the position
             EXPECT_EQ(f.SatelliteUsedAtIndex(0), 0); // GSA stopped early
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
             EXPECT_EQ(f.Longitude, 0.0);
             EXPECT_EQ(f.SatelliteUsedCount, 2147483647u);
         }},
        {"missing fields read as empty",
         {"$GPRMC*00"},
         true,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.gpsValid, 0);
             EXPECT_EQ(f.Now, _SYSTEMTIME{});
         }},
        {"unhandled kind is rejected and changes nothing",
         {kGga, "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48"},
         false,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.SatelliteUsedCount, 8u);
         }},
        {"no star is rejected",
         {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"},
         false,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 0.0);
         }},
        {"two stars are rejected",
         {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9*1,545.4,M,46.9,M,,*47"},
         false,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 0.0);
         }},
        {"bad utf-8 is rejected",
         {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,\xff,*47"},
         false,
         [](const VXLGpsData& f) {
             EXPECT_EQ(f.Latitude, 0.0);
         }},
        {"checksum is not verified",
         {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*ZZ"},
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

TEST(VXLNMEASentenceParser, ClearRestoresDefaults)
{
    VXLNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse("$GNGNS,1,1,S,1,W,AN,14,1.2,5,4,,*00"));
    ASSERT_TRUE(parser.parse("$GPGGA,1,3723.2475,S,12158.3416,W,1,08,0.9,5,M,4,M,,*47"));
    parser.clear();
    const VXLGpsData& fix = parser.current();
    EXPECT_EQ(fix.NS, 'N');
    EXPECT_EQ(fix.EW, 'E');
    EXPECT_EQ(fix.Latitude, 0.0);
    EXPECT_EQ(fix.Enable_GNGNS, 0);
    EXPECT_EQ(fix.SatelliteUsedCount, 0u);
}

} // namespace
