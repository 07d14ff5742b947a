#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLNMEASentenceParser.h"

#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(DriveDataDisplay, RecordIndexRule)
{
    struct IndexCase
    {
        double position;
        qsizetype count;
        qsizetype index;
    };
    const IndexCase cases[] = {
        {0.0, 601, 0},
        {0.5, 601, 300},
        {1.0, 601, 600},
        {0.9999, 10, 9},
        {1.5, 10, 9},
        {-0.05, 10, 0}, // a small negative product truncates to 0
        {-0.1, 10, 9},  // -1 or below, taken as unsigned, is past the end
        {std::numeric_limits<double>::quiet_NaN(), 10, 9},
        {std::numeric_limits<double>::infinity(), 10, 9},
        {0.5, 1, 0},
    };
    for (const IndexCase& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(recordIndexForPosition(c.position, c.count), c.index);
    }
}

VXLGpsData fix(double latitude, char ns, double longitude, char ew, float knots = 0, float hdop = 0,
               uint32_t satellites = 0)
{
    VXLGpsData f;
    f.Latitude = latitude;
    f.NS = ns;
    f.Longitude = longitude;
    f.EW = ew;
    f.SpeedOverGround = knots;
    f.HDOP = hdop;
    f.SatelliteUsedCount = satellites;
    return f;
}

VXLAviGpsData block(char unit)
{
    VXLAviGpsData b;
    b.data.unit = unit;
    return b;
}

TEST(DriveDataDisplay, ValuesAtAPosition)
{
    const QList<VXLGSensor> samples = {{0.25f, -1.5f, 0.0f}, {1, 1, 1}};
    const QList<VXLGpsData> fixes = {
        fix(3733.9800, 'S', 5830.0000, 'W', 10.0f, 0.95f, 7),
        fix(3733.9800, 'N', 12658.6800, 'E', 10.0f, 1.25f, 12),
    };
    const QList<VXLAviGpsData> kmBlocks = {block('9'), block('9')};

    DriveDataDisplayValues v = driveDataDisplayValues(samples, fixes, kmBlocks, 0.0);
    ASSERT_TRUE(v.hasGSensor);
    EXPECT_EQ(v.gSensor.x, 0.25f);
    EXPECT_EQ(v.gSensor.y, -1.5f);
    ASSERT_TRUE(v.hasPosition);
    EXPECT_NEAR(v.latitude, -37.566333, 1e-6);
    EXPECT_NEAR(v.longitude, -58.5, 1e-9);
    EXPECT_EQ(v.speed, 18); // 10 knots
    EXPECT_TRUE(v.speedInKilometres);
    ASSERT_TRUE(v.hasFix);
    EXPECT_EQ(v.hdop, 0.95f);
    EXPECT_EQ(v.satellites, 7u);

    v = driveDataDisplayValues(samples, fixes, {block('M'), block('M')}, 1.0);
    EXPECT_EQ(v.gSensor.x, 1.0f);
    EXPECT_NEAR(v.longitude, 126.978, 1e-9);
    EXPECT_EQ(v.speed, 11);
    EXPECT_FALSE(v.speedInKilometres);
    EXPECT_EQ(v.satellites, 12u);
}

// The first half indexes the fixes by the count of GPS blocks and is skipped past them;
// the second half indexes by the count of fixes.
TEST(DriveDataDisplay, ListsOfDifferentLengths)
{
    const QList<VXLGpsData> oneFix = {fix(100, 'N', 200, 'E', 1, 2.0f, 5)};
    const QList<VXLAviGpsData> fourBlocks = {block('9'), block('9'), block('9'), block('9')};

    DriveDataDisplayValues v = driveDataDisplayValues({}, oneFix, fourBlocks, 0.5);
    EXPECT_FALSE(v.hasGSensor);
    EXPECT_TRUE(v.hasGpsData);
    EXPECT_FALSE(v.hasPosition);
    EXPECT_TRUE(v.hasFix);
    EXPECT_EQ(v.satellites, 5u);

    v = driveDataDisplayValues({}, oneFix, fourBlocks, 0.1);
    EXPECT_TRUE(v.hasPosition);
    EXPECT_DOUBLE_EQ(v.latitude, 1.0);
    EXPECT_DOUBLE_EQ(v.longitude, 2.0);

    v = driveDataDisplayValues({}, {}, {}, 0.5);
    EXPECT_FALSE(v.hasGpsData);
    EXPECT_FALSE(v.hasPosition);
    EXPECT_FALSE(v.hasFix);
}

// Only the letters N and E count as north and east; any other letter, lower case or blank,
// turns the position south or west. The letters come from the GGA sentence as they stand.
TEST(DriveDataDisplay, HemisphereLetters)
{
    struct LetterCase
    {
        const char* ns;
        const char* ew;
        double latitude;
        double longitude;
    };
    const LetterCase cases[] = {
        {"N", "E", 37.566333, 126.978},   {"S", "W", -37.566333, -126.978},
        {"n", "e", -37.566333, -126.978}, {"s", "w", -37.566333, -126.978},
        {" ", " ", -37.566333, -126.978}, {"E", "N", -37.566333, -126.978},
        {"N", "w", 37.566333, -126.978},  {"x", "E", -37.566333, 126.978},
    };
    for (const LetterCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.ns << "' '" << c.ew << "'");
        VXLNMEASentenceParser parser;
        const QByteArray gga = QByteArray("$GPGGA,083000,3733.98,") + c.ns + ",12658.68," + c.ew +
                               ",1,07,0.95,30,M,,M,,*00";
        ASSERT_TRUE(parser.parse(gga.constData()));
        EXPECT_NEAR(latitudeDegrees(parser.current()), c.latitude, 1e-5);
        EXPECT_NEAR(longitudeDegrees(parser.current()), c.longitude, 1e-4);
        const DriveDataDisplayValues v =
            driveDataDisplayValues({}, {parser.current()}, {block('9')}, 0.0);
        ASSERT_TRUE(v.hasPosition);
        EXPECT_NEAR(v.latitude, c.latitude, 1e-5);
        EXPECT_NEAR(v.longitude, c.longitude, 1e-4);
    }
}

} // namespace
