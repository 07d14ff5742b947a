#include "RecordBytes.h"

#include "driverecords/DriveRecordColumns.h"
#include "driverecords/DriveRecordText.h"

#include <QStringList>

#include <cstdio>
#include <functional>
#include <string>

#include <gtest/gtest.h>

using namespace DriveRecordText;
using namespace recordbytes;

namespace {

std::string text(const std::function<char*(char*)>& write)
{
    char buffer[kMaxCellTextSize + 1];
    const char* end = write(buffer);
    EXPECT_LE(end - buffer, kMaxCellTextSize);
    return std::string(buffer, size_t(end - buffer));
}

std::string printf1(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

QStringList row(const _FLASH_SAVE_VALUE_STRUCT& record, int64_t rowNumber)
{
    QStringList cells;
    for (int c = 0; c < int(driveRecordColumns(DriveRecordKind::FlashData).size()); ++c)
        cells << driveRecordCellText(record, c, rowNumber);
    return cells;
}

QStringList row(const _OBD_SAVE_VALUE_STRUCT& record, int64_t rowNumber)
{
    QStringList cells;
    for (int c = 0; c < int(driveRecordColumns(DriveRecordKind::ObdDriveInfo).size()); ++c)
        cells << driveRecordCellText(record, c, rowNumber);
    return cells;
}

TEST(DriveRecordText, EveryRuleGivesTheTextOfTheFormatTable)
{
    struct Case
    {
        std::function<char*(char*)> write;
        const char* expected;
    };
    const Case cases[] = {
        // Weekdays, with values past Saturday.
        {[](char* o) { return writeWeekday(o, 0); }, "SUN"},
        {[](char* o) { return writeWeekday(o, 3); }, "WED"},
        {[](char* o) { return writeWeekday(o, 6); }, "SAT"},
        {[](char* o) { return writeWeekday(o, 7); }, "-"},
        {[](char* o) { return writeWeekday(o, 255); }, "-"},
        // Flash status letters.
        {[](char* o) { return writeFlashStatus(o, 0); }, "V"},
        {[](char* o) { return writeFlashStatus(o, 1); }, "A"},
        {[](char* o) { return writeFlashStatus(o, 2); }, "F"},
        {[](char* o) { return writeFlashStatus(o, 3); }, "V"},
        // G values always carry their sign.
        {[](char* o) { return writeGValue(o, -256); }, "-1.00"},
        {[](char* o) { return writeGValue(o, 0); }, "+0.00"},
        {[](char* o) { return writeGValue(o, 64); }, "+0.25"},
        {[](char* o) { return writeGValue(o, -32768); }, "-128.00"},
        // Tenths of a volt: "%2d.%1d", and a negative value readable.
        {[](char* o) { return writeTenths(o, 124); }, "12.4"},
        {[](char* o) { return writeTenths(o, 95); }, " 9.5"},
        {[](char* o) { return writeTenths(o, 0); }, " 0.0"},
        {[](char* o) { return writeTenths(o, -5); }, "-0.5"},
        {[](char* o) { return writeTenths(o, -124); }, "-12.4"},
        {[](char* o) { return writeFlashDistance(o, 12345); }, "1234.5"},
        {[](char* o) { return writeFlashDistance(o, 4294967295u); }, "429496729.5"},
        // Date, time and position as stored, zero-padded.
        {[](char* o) { return writeDate(o, 123, 4, 5); }, "2023/04/05"},
        {[](char* o) { return writeDate(o, 255, 13, 0); }, "2155/13/00"},
        {[](char* o) { return writeTime(o, 9, 5, 0); }, "09:05:00"},
        {[](char* o) { return writeLatitude(o, 3731, 512); }, "3731.0512"},
        {[](char* o) { return writeLongitude(o, 12702, 4410); }, "12702.4410"},
        {[](char* o) { return writeLongitude(o, 0, 0); }, "00000.0000"},
        {[](char* o) { return writeLatitude(o, 65535, 65535); }, "65535.65535"},
        // OBD rules.
        {[](char* o) { return writeCount(o, -1); }, "-"},
        {[](char* o) { return writeCount(o, 0); }, "0"},
        {[](char* o) { return writeCount(o, 2500); }, "2500"},
        {[](char* o) { return writeSwitch(o, 0); }, "OFF"},
        {[](char* o) { return writeSwitch(o, 7); }, "ON"},
        {[](char* o) { return writeSwitch(o, -1); }, "-"},
        {[](char* o) { return writeSwa(o, -45); }, "-45"},
        {[](char* o) { return writeSwa(o, 9999); }, "-"},
        {[](char* o) { return writeGel(o, 0); }, "-"},
        {[](char* o) { return writeGel(o, -3); }, "-"},
        {[](char* o) { return writeGel(o, 4); }, "4"},
        {[](char* o) { return writeGep(o, 0); }, "-"},
        {[](char* o) { return writeGep(o, 1); }, "P"},
        {[](char* o) { return writeGep(o, 2); }, "R"},
        {[](char* o) { return writeGep(o, 3); }, "N"},
        {[](char* o) { return writeGep(o, 4); }, "D"},
        {[](char* o) { return writeGep(o, 5); }, "-"},
        {[](char* o) { return writeSbk(o, 0); }, "OFF"},
        {[](char* o) { return writeSbk(o, 1); }, "ON"},
        {[](char* o) { return writeSbk(o, 2); }, "-"},
        {[](char* o) { return writeAbt(o, -55); }, "-0.6"},
        {[](char* o) { return writeAbt(o, 2150); }, "21.5"},
        {[](char* o) { return writeAbt(o, 9999); }, "-"},
        {[](char* o) { return writeThousandths(o, -1); }, "-"},
        {[](char* o) { return writeThousandths(o, 12345); }, "12.3"},
        {[](char* o) { return writeThousandths(o, 0); }, "0.0"},
        {[](char* o) { return writeInteger(o, INT64_MIN); }, "-9223372036854775808"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(text(cases[i].write), cases[i].expected) << "case " << i;
}

// The hand-written number formatting against the C library's printf over every value a
// field can hold: rounding of exact halves and of values just off them must agree.
TEST(DriveRecordText, NumbersRoundAsPrintfDoesOverTheirWholeRange)
{
    for (int v = -32768; v <= 32767; ++v) {
        const int16_t value = int16_t(v);
        ASSERT_EQ(text([&](char* o) { return writeGValue(o, value); }),
                  printf1("%+.2f", double(float(value) * 0.00390625f)))
            << v;
        if (v != 9999) {
            ASSERT_EQ(text([&](char* o) { return writeAbt(o, value); }), printf1("%.1f", v / 100.0))
                << v;
        }
        if (v >= 0) {
            ASSERT_EQ(text([&](char* o) { return writeThousandths(o, value); }),
                      printf1("%.1f", v / 1000.0))
                << v;
            ASSERT_EQ(text([&](char* o) { return writeFlashDistance(o, uint32_t(v) * 131071u); }),
                      printf1("%.1f", double(uint32_t(v) * 131071u) / 10.0))
                << v;
        }
    }
}

TEST(DriveRecordColumns, FlashRowShowsEachFieldAtItsOffset)
{
    Flash f;
    f.seq = 65535;
    f.weekday = 6;
    f.status = 2;
    f.year = 124;
    f.month = 2;
    f.day = 29;
    f.hour = 23;
    f.minute = 59;
    f.second = 58;
    f.lat = 3733;
    f.latDecimals = 9870;
    f.lon = 12658;
    f.lonDecimals = 6800;
    f.speed = 57;
    f.distanceTenths = 4294967295;
    f.maxSpeed = 88;
    f.x = -256;
    f.y = 64;
    f.z = 300;
    f.battery = 138;
    const QByteArray bytes = flashRecord(f);
    EXPECT_EQ(row(flashRecordFromBytes(bytes.constData()), 7),
              QStringList({"7", "65535", "2024/02/29", "23:59:58", "SAT", "3733.9870", "12658.6800",
                           "429496729.5", "57", "88", "F", "-1.00", "+0.25", "+1.17", "13.8"}));
}

TEST(DriveRecordColumns, ObdRowShowsEachFieldAtItsOffset)
{
    Obd o;
    o.seq = 4294967295;
    o.weekday = 1;
    o.lat = 3731;
    o.latDecimals = 512;
    o.lon = 12702;
    o.lonDecimals = 4410;
    o.gpsSpeed = 61;
    o.speed = 60;
    o.rpm = 2100;
    o.distance = 12345;
    o.battery = 12600;
    o.acp = 35;
    o.fbk = 1;
    o.rll = 0;
    o.lll = -1;
    o.swa = -45;
    o.sbt = 1;
    o.gel = 4;
    o.gep = 4;
    o.sbk = 0;
    o.tpa = -2;
    o.abt = 2150;
    o.x = 1;
    o.y = -1;
    o.z = 256;
    const QByteArray bytes = obdRecord(o);
    EXPECT_EQ(row(obdRecordFromBytes(bytes.constData()), 1),
              QStringList(
                  {"1",   "4294967295", "2023/04/15", "09:30:12", "MON",  "3731.0512", "12702.4410",
                   "60",  "61",         "2100",       "12.3",     "12.6", "35",        "ON",
                   "OFF", "-",          "-45",        "ON",       "4",    "D",         "OFF",
                   "-",   "21.5",       "+0.00",      "-0.00",    "+1.00"}));
}

TEST(DriveRecordColumns, TitlesAndWidthsOfBothTables)
{
    const auto widths = [](DriveRecordKind kind) {
        QList<int> list;
        for (const DriveRecordColumn& column : driveRecordColumns(kind)) {
            list << column.width;
            // The export quotes nothing: a title with a comma or a line end would break it.
            EXPECT_FALSE(QByteArray(column.englishTitle).contains(',')) << column.englishTitle;
            EXPECT_FALSE(QByteArray(column.englishTitle).contains('\n')) << column.englishTitle;
        }
        return list;
    };
    EXPECT_EQ(widths(DriveRecordKind::FlashData),
              QList<int>({38, 38, 86, 72, 70, 64, 72, 60, 60, 60, 48, 48, 48, 48, 60}));
    EXPECT_EQ(widths(DriveRecordKind::ObdDriveInfo),
              QList<int>({38, 38, 86, 72, 70, 64, 72, 60, 60, 60, 68, 60, 50,
                          66, 66, 66, 66, 70, 70, 70, 70, 70, 60, 60, 60, 60}));
    EXPECT_STREQ(driveRecordColumns(DriveRecordKind::FlashData)[11].englishTitle, "X");
    EXPECT_EQ(driveRecordColumns(DriveRecordKind::FlashData)[11].titleKey, nullptr);
    EXPECT_STREQ(driveRecordColumns(DriveRecordKind::ObdDriveInfo)[16].titleKey,
                 "setting.obdata.swa");
}

TEST(DriveRecordColumns, PositionInDegreesAndTheRecordWithoutFix)
{
    Flash f;
    f.lat = 3731;
    f.latDecimals = 512;
    f.lon = 12702;
    f.lonDecimals = 4410;
    const QByteArray bytes = flashRecord(f);
    const DriveRecordPosition position =
        driveRecordPosition(flashRecordFromBytes(bytes.constData()));
    EXPECT_NEAR(position.latitude, 37 + 31.0512 / 60, 1e-9);
    EXPECT_NEAR(position.longitude, 127 + 2.4410 / 60, 1e-9);
    EXPECT_TRUE(position.isKnown());

    Obd o;
    o.lat = 3731;
    const QByteArray obd = obdRecord(o);
    const DriveRecordPosition half = driveRecordPosition(obdRecordFromBytes(obd.constData()));
    EXPECT_NEAR(half.latitude, 37 + 31.0 / 60, 1e-9);
    EXPECT_EQ(half.longitude, 0);
    EXPECT_FALSE(half.isKnown()) << "both must differ from 0";
    const QByteArray none = obdRecord(Obd{});
    EXPECT_FALSE(driveRecordPosition(obdRecordFromBytes(none.constData())).isKnown());
}

} // namespace
