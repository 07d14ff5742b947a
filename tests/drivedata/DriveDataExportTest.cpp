#include "drivedata/DriveDataExport.h"
#include "drivedata/VXLBlackBoxData.h"

#include "RecordingBytes.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using testrecording::Record;

namespace {

// Enough records for each writer's text to span several of its blocks.
VXLBlackBoxData longRecording(int count)
{
    QList<Record> records;
    for (int i = 0; i < count; ++i)
        records.append({i, -i, 256, '9',
                        "$GNRMC,083000.000,A,3733.98,N,12658.68,E,10.0,90.0,150423,,*00\r\n"});
    VXLBlackBoxData data;
    EXPECT_TRUE(data.extractFromBytes(testrecording::recording(records).bytes));
    return data;
}

TEST(DriveDataExport, StreamsEveryRecordOnceInOrder)
{
    const int count = 3000;
    const VXLBlackBoxData data = longRecording(count);
    ASSERT_EQ(data.m_GSensors().size(), count);

    QBuffer csv;
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    ASSERT_TRUE(writeDriveDataCsv(data, csv));
    ASSERT_GT(csv.data().size(), 2 * 64 * 1024) << "spans several blocks";
    const QList<QByteArray> rows = csv.data().split('\n');
    ASSERT_EQ(rows.size(), count + 2); // header, rows, and the empty piece after the last LF
    // Each row names its record; the values are those the player shows at i/n.
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(rows[i + 1].startsWith(QByteArray::number(i) + ",")) << i;
    EXPECT_TRUE(rows[count].startsWith("2999,11.71,-11.71,1.00,")) << rows[count].toStdString();

    QBuffer json;
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    ASSERT_TRUE(writeDriveDataJson(data, json));
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json.data(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(root.value(u"gsensors").toArray().size(), count);
    EXPECT_EQ(root.value(u"gpsBlocks").toArray().size(), count);
    EXPECT_EQ(root.value(u"fixes").toArray().size(), count);
    EXPECT_NEAR(root.value(u"gsensors").toArray().last().toObject().value(u"y").toDouble(),
                -double(count - 1) / 256.0, 1e-5);
}

} // namespace
