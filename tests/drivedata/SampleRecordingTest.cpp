#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"

#include "samplecard/RecordingWriter.h"
#include "samplecard/SampleCard.h"
#include "samplecard/SimulatedDrive.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

qsizetype sentenceCount(const QList<samplecard::DriveRecord>& records)
{
    qsizetype count = 0;
    for (const samplecard::DriveRecord& record : records)
        count += record.nmea.count("$G");
    return count;
}

void expectRecordsRead(const VXLBlackBoxData& data, const QList<samplecard::DriveRecord>& records)
{
    ASSERT_EQ(data.m_GSensors().size(), records.size());
    ASSERT_EQ(data.m_vGpsData().size(), records.size());
    EXPECT_EQ(data.m_NMEAs().size(), sentenceCount(records));
    for (qsizetype i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(data.m_GSensors().at(i).x, float(records[i].x) / 256.0f);
        EXPECT_EQ(data.m_GSensors().at(i).z, float(records[i].z) / 256.0f);
        EXPECT_EQ(data.m_vGpsData().at(i).data.unit, records[i].unitMarker);
    }
}

// A drive of the sample maker in the southern and western hemispheres, with GNS and a loss
// of fix: every record comes back, one snapshot per sentence, the signs follow the road.
TEST(SampleRecording, DriveOfTheSampleMaker)
{
    samplecard::DriveOptions options;
    options.road = samplecard::Road::BuenosAiresCentro;
    options.unitMarker = 'M';
    options.withGns = true;
    options.fixLostFromSecond = 10;
    options.fixLostSeconds = 5;
    options.start = QDateTime(QDate(2023, 4, 15), QTime(9, 30, 12), Qt::UTC);
    options.seconds = 60; // 600 records: more than one reading thread
    const QList<samplecard::DriveRecord> records = samplecard::simulateDrive(options);
    VXLBlackBoxData data;
    ASSERT_TRUE(data.extractFromBytes(samplecard::recordingWithoutVideo(records)));
    expectRecordsRead(data, records);

    qsizetype invalid = 0;
    for (const VXLGpsData& fix : data.m_NMEAs()) {
        invalid += fix.gpsValid ? 0 : 1;
        if (fix.Latitude != 0) {
            EXPECT_NEAR(latitudeDegrees(fix), -34.6, 0.1);
            EXPECT_NEAR(longitudeDegrees(fix), -58.4, 0.1);
        }
    }
    EXPECT_GT(invalid, 0);
}

// A real recording (H.264 and sound around the data track) as the card holds it.
TEST(SampleRecording, PlayableRecording)
{
    TempDir dir;
    samplecard::VideoOptions video;
    video.width = 320;
    video.height = 240;
    video.seconds = 3;
    video.kilobitsPerSecond = 200;
    QString error;
    const QString clipPath = dir.filePath(QStringLiteral("clip.mp4"));
    ASSERT_TRUE(samplecard::makeTestVideo(video, clipPath, &error)) << error.toStdString();
    QFile clip(clipPath);
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));

    samplecard::DriveOptions options;
    options.start = QDateTime(QDate(2023, 4, 15), QTime(9, 30, 12), Qt::UTC);
    options.seconds = 3;
    const QList<samplecard::DriveRecord> records = samplecard::simulateDrive(options);
    const QString path = dir.filePath(QStringLiteral("alwa_20230415_093012_F.MP4"));
    ASSERT_TRUE(samplecard::writeRecording(clip.readAll(), records, path, &error))
        << error.toStdString();

    VXLBlackBoxData data;
    ASSERT_TRUE(data.ExtractStreamInformation(path));
    expectRecordsRead(data, records);

    // The plain ffmpeg clip (ftyp free mdat moov, two tracks) has no data track.
    EXPECT_FALSE(data.ExtractStreamInformation(clipPath));
    EXPECT_TRUE(data.m_GSensors().isEmpty());
}

} // namespace
