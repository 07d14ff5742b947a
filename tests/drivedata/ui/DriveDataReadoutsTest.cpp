#include "drivedata/DriveDataDisplay.h"
#include "drivedata/ui/VXLDriveDataReadouts.h"
#include "drivedata/ui/VXLMapView.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

VXLGpsData fix(double latitude, char ns, double longitude, char ew, float knots, float hdop,
               uint32_t satellites)
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

// The texts and the map call the window shows for the drive data of a position. An empty
// expected text means the field keeps what it showed.
TEST(DriveDataReadouts, TextsAndMapCallForAPosition)
{
    const QList<VXLGSensor> samples = {{0.25f, -1.5f, 0.0f}, {1, 1, 1}};
    const QList<VXLGpsData> fixes = {
        fix(3733.9800, 'S', 5830.0000, 'W', 10.0f, 0.95f, 7),
        fix(3733.9800, 'N', 12658.6800, 'E', 10.0f, 1.25f, 12),
    };
    const QList<VXLGpsData> oneFix = {fix(100, 'N', 200, 'E', 1, 2.0f, 5)};
    const QList<VXLAviGpsData> twoKm = {block('9'), block('9')};
    const QList<VXLAviGpsData> fourKm = {block('9'), block('9'), block('9'), block('9')};
    struct Case
    {
        const char* name;
        DriveDataDisplayValues values;
        const char* texts[6]; // X, Y, Z, speed, HDOP, satellites
        const char* script;
    };
    const Case cases[] = {
        {"south-west in km/h",
         driveDataDisplayValues(samples, fixes, twoKm, 0.0),
         {"X=+0.25", "Y=-1.50", "Z=0.00", "18 Km/h", "0.9", "7"},
         "setLatLag('-58.500000','-37.566333')"},
        // 1.25f is exact: "%.1f" rounds the half to even.
        {"north-east in mi/h",
         driveDataDisplayValues(samples, fixes, {block('M'), block('M')}, 1.0),
         {"X=+1.00", "Y=+1.00", "Z=+1.00", "11 Mi/h", "1.2", "12"},
         "setLatLag('126.978000','37.566333')"},
        {"index past the fixes",
         driveDataDisplayValues({}, oneFix, fourKm, 0.5),
         {"", "", "", "", "2.0", "5"},
         ""},
        {"index inside the fixes",
         driveDataDisplayValues({}, oneFix, fourKm, 0.1),
         {"", "", "", "1 Km/h", "2.0", "5"},
         "setLatLag('2.000000','1.000000')"},
        {"no drive data",
         driveDataDisplayValues({}, {}, {}, 0.5),
         {"", "", "", "- Km/h", "-.-", "-"},
         "VXLDebug('GPS Data Count=Zero')"},
        {"a fix without position",
         driveDataDisplayValues({}, {VXLGpsData()}, {block('9')}, 0.5),
         {"", "", "", "0 Km/h", "0.0", "0"},
         "setLatLag('0.000000','0.000000')"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DriveDataReadoutTexts t = driveDataReadoutTexts(c.values);
        const QString shown[] = {t.gsensorX, t.gsensorY, t.gsensorZ, t.speed, t.hdop, t.satellites};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(shown[i], QString::fromLatin1(c.texts[i])) << i;
        }
        EXPECT_EQ(VXLMapView::positionScript(c.values), QString::fromLatin1(c.script));
    }
    // Without any fix the unit is the card settings' one; a fix brings its own.
    EXPECT_EQ(driveDataReadoutTexts(cases[4].values, true).speed, QStringLiteral("- Mi/h"));
    EXPECT_EQ(driveDataReadoutTexts(cases[3].values, true).speed, QStringLiteral("1 Km/h"));
}

TEST(DriveDataReadouts, PanelKeepsFieldsWithoutNewValues)
{
    VXLDriveDataReadouts panel;
    auto field = [&](const char* name) {
        auto* label = panel.findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(field("gsensorXField"), "X=+0.00");
    EXPECT_EQ(field("speedField"), "");

    DriveDataDisplayValues values;
    values.hasFix = true;
    values.hdop = 1.5;
    values.satellites = 9;
    panel.showValues(values);
    EXPECT_EQ(field("gsensorXField"), "X=+0.00") << "no sample: the G values stay";
    EXPECT_EQ(field("hdopField"), "1.5");
    EXPECT_EQ(field("sateliteField"), "9");

    panel.reset();
    EXPECT_EQ(field("hdopField"), "");
}

} // namespace
