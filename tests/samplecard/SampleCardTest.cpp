#include "Mp4Boxes.h"

#include "samplecard/DriveRecord.h"
#include "samplecard/SampleCard.h"
#include "samplecard/SimulatedDrive.h"
#include "support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

using namespace samplecard;

namespace {

QString cardDir()
{
    return QDir(qEnvironmentVariable("VEXLO_BINARY_DIR")).filePath(QStringLiteral("sample-card"));
}

QStringList cardRecordings(const QString& dir)
{
    QStringList paths;
    QDirIterator it(dir, {QStringLiteral("*.MP4")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << QDir(dir).relativeFilePath(it.next());
    paths.sort();
    return paths;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

struct Record
{
    quint64 timeStamp;
    double x, y, z;
    char unitMarker;
    QByteArray nmea; // up to the first zero byte
};

// The records of the data track, found by position as the player finds them.
QList<Record> recordsOf(const QByteArray& file)
{
    QList<Record> records;
    const auto stco = mp4::dataTrackStco(file);
    if (!stco)
        return records;
    for (quint32 offset : mp4::stcoEntries(file, *stco)) {
        const QByteArray r = file.mid(offset + kChunkHeaderSize, kRecordSize);
        if (r.size() != kRecordSize)
            return {};
        const auto le32 = [&](int at) {
            qint32 v = 0;
            memcpy(&v, r.constData() + at, 4); // x86-64 is little-endian like the record
            return v;
        };
        quint64 stamp = 0;
        memcpy(&stamp, r.constData(), 8);
        const QByteArray text = r.mid(25);
        records.append({stamp, le32(8) / 256.0, le32(12) / 256.0, le32(16) / 256.0, r.at(24),
                        text.left(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0'))});
    }
    return records;
}

struct Probe
{
    int exitCode = -1;
    QString errors;
    QStringList streamTypes;
    double duration = 0;
};

Probe ffprobe(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                   QStringLiteral("format=duration:stream=codec_type"), QStringLiteral("-of"),
                   QStringLiteral("default=nw=1"), path});
    process.waitForFinished(60000);
    Probe probe;
    probe.exitCode = process.exitCode();
    probe.errors = QString::fromUtf8(process.readAllStandardError());
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QLatin1String("codec_type=")))
            probe.streamTypes << line.mid(11);
        else if (line.startsWith(QLatin1String("duration=")))
            probe.duration = line.mid(9).toDouble();
    }
    return probe;
}

// Decodes every stream to the end: a chunk table pointing at the wrong bytes reads fine
// with ffprobe but fails here ("Invalid NAL unit size", "invalid band type").
QString decodeErrors(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("ffmpeg"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                   QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardError()) +
           (process.exitCode() == 0 ? QString()
                                    : QStringLiteral("exit code %1").arg(process.exitCode()));
}

bool checksumMatches(const QByteArray& sentence)
{
    const qsizetype star = sentence.indexOf('*');
    if (!sentence.startsWith('$') || star < 0)
        return false;
    quint8 sum = 0;
    for (qsizetype i = 1; i < star; ++i)
        sum ^= quint8(sentence[i]);
    return sentence.mid(star + 1).toUpper() ==
           QByteArray::number(sum, 16).toUpper().rightJustified(2, '0');
}

} // namespace

TEST(SampleCardTest, HoldsEveryKindOfRecordingTheListShows)
{
    EXPECT_EQ(
        cardRecordings(cardDir()),
        QStringList({"DCIM/ALWA/alwa_20230415_093012_F.MP4", "DCIM/ALWA/alwa_20230415_093012_R.MP4",
                     "DCIM/ALWA/alwa_20230415_093042_F.MP4", "DCIM/ALWA/alwa_20230415_093042_R.MP4",
                     "DCIM/ALWA/alwa_20230520_141000_F.MP4", "DCIM/ALWA/alwa_20230520_141000_R.MP4",
                     "DCIM/EVENT/event_20230415_093112_F.MP4",
                     "DCIM/EVENT/event_20230415_093112_R.MP4",
                     "DCIM/MOTION/motion_20230415_101500_R.MP4",
                     "DCIM/MOTION/motion_20230415_102000_F.MP4"}));
}

// Every recording: ffprobe reads it cleanly with the right streams, the data track is on the
// player's fixed path, and it holds 10 well-formed records a second for the whole video.
TEST(SampleCardTest, EveryRecordingIsReadableAndCarriesTenRecordsASecond)
{
    const QStringList recordings = cardRecordings(cardDir());
    ASSERT_FALSE(recordings.isEmpty());
    for (const QString& name : recordings) {
        SCOPED_TRACE(name.toStdString());
        const QString path = QDir(cardDir()).filePath(name);
        const Probe probe = ffprobe(path);
        EXPECT_EQ(probe.exitCode, 0);
        EXPECT_EQ(probe.errors, QString());
        EXPECT_EQ(decodeErrors(path), QString());
        const bool front = name.endsWith(QLatin1String("_F.MP4"));
        EXPECT_EQ(probe.streamTypes,
                  front ? QStringList({"video", "audio", "data"}) : QStringList({"video", "data"}));

        const QByteArray file = readFile(path);
        const QList<mp4::Box> top = mp4::children(file, 0, file.size());
        ASSERT_EQ(top.size(), 3);
        EXPECT_EQ(top[0].type + top[1].type + top[2].type, QByteArray("ftypmdatmoov"));
        EXPECT_EQ(file.mid(8, 4), QByteArray("avc1"));

        const QList<Record> records = recordsOf(file);
        ASSERT_FALSE(records.isEmpty());
        EXPECT_EQ(records.size(), qRound(probe.duration * kRecordsPerSecond));
        int rmcCount = 0;
        for (qsizetype i = 0; i < records.size(); ++i) {
            const Record& r = records[i];
            if (i > 0) {
                ASSERT_EQ(r.timeStamp - records[i - 1].timeStamp, 100u) << "record " << i;
            }
            // Whole sentences only, each ended by CR LF, with correct checksums.
            ASSERT_TRUE(r.nmea.isEmpty() || r.nmea.endsWith("\r\n")) << r.nmea.toStdString();
            for (const QByteArray& sentence : r.nmea.split('\n')) {
                if (sentence.isEmpty())
                    continue;
                ASSERT_TRUE(sentence.endsWith('\r'));
                EXPECT_TRUE(checksumMatches(sentence.chopped(1))) << sentence.toStdString();
                rmcCount += sentence.startsWith("$GNRMC");
            }
            EXPECT_NEAR(r.z, 1.0, 0.7) << "record " << i;
        }
        EXPECT_EQ(rmcCount * kRecordsPerSecond, records.size());
    }
}

// What the players and the display are tested on: a hard stop in the events, a loss of fix,
// GNS, the southern and western hemispheres, both speed units.
TEST(SampleCardTest, DrivesShowTheSituationsTheDisplayHandles)
{
    QSet<char> markers;
    QByteArray allText;
    for (const QString& name : cardRecordings(cardDir())) {
        const QList<Record> records = recordsOf(readFile(QDir(cardDir()).filePath(name)));
        double hardestBraking = 0;
        for (const Record& r : records) {
            markers.insert(r.unitMarker);
            allText += r.nmea;
            hardestBraking = qMin(hardestBraking, r.y);
        }
        if (name.contains(QLatin1String("/event_"))) {
            EXPECT_LT(hardestBraking, -0.5) << name.toStdString();
        } else {
            EXPECT_GT(hardestBraking, -0.5) << name.toStdString();
        }
    }
    EXPECT_TRUE(markers.contains('9'));
    EXPECT_GE(markers.size(), 2);
    EXPECT_TRUE(allText.contains(",V,"));
    EXPECT_TRUE(allText.contains("$GNGNS,"));
    EXPECT_TRUE(allText.contains(",S,") && allText.contains(",W,"));
    EXPECT_TRUE(allText.contains(",N,") && allText.contains(",E,"));
}

TEST(SampleCardTest, SameSeedMakesTheSameCard)
{
    TempDir dir;
    QString error;
    const QStringList written = makeSampleCard(dir.path(), 1, &error);
    ASSERT_FALSE(written.isEmpty()) << error.toStdString();
    EXPECT_EQ(cardRecordings(dir.path()), cardRecordings(cardDir()));
    for (const QString& name : written)
        EXPECT_TRUE(readFile(dir.filePath(name)) == readFile(QDir(cardDir()).filePath(name)))
            << name.toStdString();
}

TEST(SimulatedDriveTest, SeedDecidesTheDrive)
{
    DriveOptions options;
    options.seconds = 5;
    options.start = QDateTime(QDate(2023, 4, 15), QTime(0, 30, 12), Qt::UTC);
    const auto bytes = [](const QList<DriveRecord>& records) {
        QByteArray all;
        for (const DriveRecord& r : records)
            all += driveChunkBytes(r);
        return all;
    };
    const QByteArray first = bytes(simulateDrive(options));
    EXPECT_EQ(bytes(simulateDrive(options)), first);
    options.seed = 2;
    EXPECT_NE(bytes(simulateDrive(options)), first);
}
