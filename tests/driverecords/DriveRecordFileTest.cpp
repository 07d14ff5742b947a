#include "RecordBytes.h"

#include "driverecords/DriveRecordCsv.h"
#include "driverecords/DriveRecordFile.h"
#include "support/TempDir.h"

#include <QDir>
#include <QSet>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace recordbytes;

namespace {

QByteArray twoFlashRecords()
{
    Flash first;
    first.seq = 1;
    first.status = 1;
    first.lat = 3733;
    first.latDecimals = 9870;
    first.lon = 12658;
    first.lonDecimals = 6800;
    first.speed = 42;
    first.distanceTenths = 12345;
    first.maxSpeed = 60;
    first.x = -256;
    first.z = 64;
    first.battery = 124;
    Flash second;
    second.seq = 2;
    second.weekday = 7;
    second.second = 13;
    second.distanceTenths = 5;
    second.x = 1;
    second.y = -1;
    second.z = 128;
    second.battery = 95;
    return file(2, {flashRecord(first), flashRecord(second)});
}

TEST(DriveRecordFile, ReadsOnlyTheWholeRecordsTheFileHolds)
{
    const QByteArray record = flashRecord(Flash{});
    struct Case
    {
        const char* name;
        QByteArray bytes;
        qsizetype records;
        qint64 missing;
    };
    const Case cases[] = {
        {"header only, count 0", file(0), 0, 0},
        {"count as held", file(2, {record, record}), 2, 0},
        {"count larger than the file", file(5, {record, record}), 2, 3},
        {"a partial record is none", file(3, {record, record, record.left(39)}), 2, 1},
        {"count of four billion", file(0xffffffff, {record}), 1, 4294967294LL},
        {"nothing after the counted records", file(1, {record, record}), 1, 0},
        {"count 0 ignores what follows", file(0, {record}), 0, 0},
    };
    for (const Case& c : cases) {
        DriveRecordFileReader reader(_FLASH_SAVE_VALUE_STRUCT::kSize);
        ASSERT_TRUE(reader.openBytes(c.bytes)) << c.name;
        const auto contents = readDriveRecords<_FLASH_SAVE_VALUE_STRUCT>(reader);
        EXPECT_EQ(contents.records.size(), c.records) << c.name;
        EXPECT_EQ(contents.missingCount, c.missing) << c.name;
        EXPECT_TRUE(contents.error.isEmpty()) << c.name;
    }

    // The same through a real file, and a limit on what is kept.
    TempDir dir;
    const QString path = dir.write("big.drv", file(0xffffffff, {record, record, record}));
    DriveRecordReadOptions options;
    options.maxRecords = 2;
    const auto limited = readDriveRecordFile<_FLASH_SAVE_VALUE_STRUCT>(path, options);
    EXPECT_TRUE(limited.error.isEmpty()) << limited.error.toStdString();
    EXPECT_EQ(limited.records.size(), 2);
    EXPECT_EQ(limited.leftOutCount, 1);
    EXPECT_EQ(limited.missingCount, 4294967292LL);
    EXPECT_EQ(limited.announcedCount, 0xffffffffu);
}

TEST(DriveRecordFile, WhatCannotBeReadSaysWhy)
{
    TempDir dir;
    const QString shortFile = dir.write("short.drv", QByteArray(11, '\0'));
    const QString fifo = dir.filePath("fifo.obd");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case
    {
        QString path;
        const char* reason;
    };
    const Case cases[] = {
        {shortFile, "header"},
        {fifo, "not a regular file"}, // at once: nothing waits for a writer
        {dir.mkdir("folder.drv"), "folder"},
        {dir.filePath("missing.drv"), "No such file"},
    };
    for (const Case& c : cases) {
        const auto contents = readDriveRecordFile<_OBD_SAVE_VALUE_STRUCT>(c.path);
        EXPECT_TRUE(contents.error.contains(QLatin1String(c.reason)))
            << c.path.toStdString() << ": " << contents.error.toStdString();
        EXPECT_TRUE(contents.records.isEmpty());
    }
}

TEST(DriveRecordCsv, TwoFlashRecordsGiveTheHeaderAndTwoLines)
{
    const QByteArray bytes = twoFlashRecords();
    DriveRecordFileReader reader(_FLASH_SAVE_VALUE_STRUCT::kSize);
    ASSERT_TRUE(reader.openBytes(bytes));
    QByteArray out;
    DriveRecordCsvWriter writer(DriveRecordKind::FlashData, [&](const char* d, qsizetype n) {
        out.append(d, n);
        return true;
    });
    ASSERT_TRUE(writer.writeHeader(englishDriveRecordTitles(DriveRecordKind::FlashData)));
    ASSERT_TRUE(streamDriveRecordsCsv<_FLASH_SAVE_VALUE_STRUCT>(reader, writer));
    EXPECT_EQ(out, "No.,Seq,Date,Time,Day,Latitude,Longitude,Distance,Speed,Max Speed,Status,X,Y,Z,"
                   "Battery\n"
                   "1,1,2023/04/15,09:30:12,SUN,3733.9870,12658.6800,1234.5,42,60,A,-1.00,+0.00,"
                   "+0.25,12.4\n"
                   "2,2,2023/04/15,09:30:13,-,0000.0000,00000.0000,0.5,0,0,V,+0.00,-0.00,+0.50,"
                   " 9.5\n");
    for (const QByteArray& line : out.split('\n').mid(0, 3))
        EXPECT_EQ(line.count(','), 14) << line.toStdString();
}

// A sink that fails part-way stops the writer, which says so: nothing reports success.
TEST(DriveRecordCsv, AFailingSinkStopsTheExport)
{
    const QByteArray bytes = obdRecord(Obd{});
    const QList<_OBD_SAVE_VALUE_STRUCT> many(20000, obdRecordFromBytes(bytes.constData()));
    int calls = 0;
    DriveRecordCsvWriter failing(DriveRecordKind::ObdDriveInfo,
                                 [&](const char*, qsizetype) { return ++calls < 2; });
    EXPECT_FALSE(writeDriveRecordsCsv(
        failing, englishDriveRecordTitles(DriveRecordKind::ObdDriveInfo), many));
    EXPECT_TRUE(failing.failed());
    EXPECT_EQ(calls, 2) << "nothing more is written after the failure";
}

// The sample card's logs, which the viewers and the screenshots show: whole, in Seoul, with
// every status and the gear positions of driving and parking.
TEST(DriveRecordFile, SampleCardLogsReadWhole)
{
    const QDir card(qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card"));
    const auto flash =
        readDriveRecordFile<_FLASH_SAVE_VALUE_STRUCT>(card.filePath("DrvInfo/zuva_000.drv"));
    ASSERT_TRUE(flash.error.isEmpty()) << flash.error.toStdString();
    EXPECT_GE(flash.records.size(), 200);
    EXPECT_EQ(flash.missingCount, 0);
    QSet<int> statuses;
    for (const _FLASH_SAVE_VALUE_STRUCT& r : flash.records) {
        statuses.insert(r.status);
        const DriveRecordPosition p = driveRecordPosition(r);
        if (r.status == 0) {
            EXPECT_FALSE(p.isKnown());
            continue;
        }
        EXPECT_NEAR(p.latitude, 37.57, 0.02);
        EXPECT_NEAR(p.longitude, 126.99, 0.03);
    }
    EXPECT_EQ(statuses, QSet<int>({0, 1, 2}));

    const auto obd =
        readDriveRecordFile<_OBD_SAVE_VALUE_STRUCT>(card.filePath("DrvInfo/zuva_000.obd"));
    ASSERT_TRUE(obd.error.isEmpty()) << obd.error.toStdString();
    EXPECT_EQ(obd.records.size(), flash.records.size());
    QSet<int> gears;
    for (const _OBD_SAVE_VALUE_STRUCT& r : obd.records)
        gears.insert(r.gep);
    EXPECT_EQ(gears, QSet<int>({1, 4}));
}

} // namespace
