#include "drivedata/DriveDataDisplay.h"

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
    EXPECT_EQ(v.gsensorXText, u"X=+0.25");
    EXPECT_EQ(v.gsensorYText, u"Y=-1.50");
    EXPECT_EQ(v.gsensorZText, u"Z=0.00");
    ASSERT_TRUE(v.hasPosition);
    EXPECT_EQ(v.mapScript, u"setLatLag('-58.500000','-37.566333')");
    EXPECT_EQ(v.speedText, u"18 Km/h");
    EXPECT_EQ(v.hdopText, u"0.9");
    EXPECT_EQ(v.satelliteText, u"7");

    v = driveDataDisplayValues(samples, fixes, {block('M'), block('M')}, 1.0);
    EXPECT_EQ(v.gsensorXText, u"X=+1.00");
    EXPECT_EQ(v.mapScript, u"setLatLag('126.978000','37.566333')");
    EXPECT_EQ(v.speedText, u"11 Mi/h");
    EXPECT_FALSE(v.speedInKilometres);
    EXPECT_EQ(v.hdopText, u"1.2"); // 1.25f is exact: "%.1f" rounds half to even
    EXPECT_EQ(v.satelliteText, u"12");
}

// The first half indexes the fixes by the count of GPS blocks and is skipped past them;
// the second half indexes by the count of fixes.
TEST(DriveDataDisplay, ListsOfDifferentLengths)
{
    const QList<VXLGpsData> oneFix = {fix(100, 'N', 200, 'E', 1, 2.0f, 5)};
    const QList<VXLAviGpsData> fourBlocks = {block('9'), block('9'), block('9'), block('9')};

    DriveDataDisplayValues v = driveDataDisplayValues({}, oneFix, fourBlocks, 0.5);
    EXPECT_FALSE(v.hasGSensor);
    EXPECT_FALSE(v.hasPosition);
    EXPECT_TRUE(v.mapScript.isEmpty());
    EXPECT_TRUE(v.speedText.isEmpty());
    EXPECT_EQ(v.hdopText, u"2.0");
    EXPECT_EQ(v.satelliteText, u"5");

    v = driveDataDisplayValues({}, oneFix, fourBlocks, 0.1);
    EXPECT_TRUE(v.hasPosition);
    EXPECT_EQ(v.mapScript, u"setLatLag('2.000000','1.000000')");

    v = driveDataDisplayValues({}, {}, {}, 0.5);
    EXPECT_EQ(v.mapScript, u"VXLDebug('GPS Data Count=Zero')");
    EXPECT_EQ(v.speedText, u"- Km/h");
    EXPECT_EQ(v.hdopText, u"-.-");
    EXPECT_EQ(v.satelliteText, u"-");

    v = driveDataDisplayValues({}, {VXLGpsData()}, {block('9')}, 0.5);
    EXPECT_EQ(v.mapScript, u"setLatLag('0.000000','0.000000')");
    EXPECT_EQ(v.speedText, u"0 Km/h");
}

} // namespace
