#include "Mp4Boxes.h"

#include "samplecard/RecordingWriter.h"
#include "samplecard/SampleCard.h"
#include "samplecard/SimulatedDrive.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace samplecard;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QList<DriveRecord> drive(int seconds)
{
    DriveOptions options;
    options.seconds = seconds;
    options.start = QDateTime(QDate(2023, 4, 15), QTime(0, 30, 12), Qt::UTC);
    return simulateDrive(options);
}

// Checks a rewritten recording against its input: the camera's top-level layout, the data
// track found by position with one chunk per record, and every media chunk still where its
// track says (the bytes at the new offset are those at the old one).
void expectCameraLayout(const QByteArray& input, const QByteArray& output,
                        const QList<DriveRecord>& records)
{
    const QList<mp4::Box> top = mp4::children(output, 0, output.size());
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0].type + top[1].type + top[2].type, QByteArray("ftypmdatmoov"));
    EXPECT_EQ(output.mid(8, 4), QByteArray("avc1"));
    const mp4::Box& mdat = top[1];

    const auto stco = mp4::dataTrackStco(output);
    ASSERT_TRUE(stco) << "no stco on the data track's path";
    const QList<quint32> recordOffsets = mp4::stcoEntries(output, *stco);
    ASSERT_EQ(recordOffsets.size(), records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        EXPECT_GE(recordOffsets[i], mdat.offset + 8);
        ASSERT_EQ(output.mid(recordOffsets[i], kChunkSize), driveChunkBytes(records[i]))
            << "record " << i;
    }

    const QList<mp4::Box> inputTop = mp4::children(input, 0, input.size());
    const auto inputMoov = std::find_if(inputTop.begin(), inputTop.end(),
                                        [](const mp4::Box& b) { return b.type == "moov"; });
    ASSERT_NE(inputMoov, inputTop.end());
    const auto before = mp4::trackChunkOffsets(input, *inputMoov);
    auto after = mp4::trackChunkOffsets(output, top[2]);
    ASSERT_EQ(after.size(), before.size() + 1);
    const QList<mp4::Box> moovChildren = mp4::children(output, top[2]);
    after.removeAt(std::count_if(moovChildren.begin(), moovChildren.begin() + 4,
                                 [](const mp4::Box& b) { return b.type == "trak"; }));
    for (qsizetype t = 0; t < before.size(); ++t) {
        ASSERT_EQ(after[t].size(), before[t].size());
        for (qsizetype c = 0; c < before[t].size(); ++c)
            ASSERT_EQ(output.mid(after[t][c], 64), input.mid(before[t][c], 64))
                << "track " << t << " chunk " << c;
    }
}

class RecordingWriterTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        VideoOptions options;
        options.width = 320;
        options.height = 180;
        options.seconds = 2;
        QString error;
        ASSERT_TRUE(makeTestVideo(options, s_dir->filePath("clip.mp4"), &error))
            << error.toStdString();
        s_clip = readFile(s_dir->filePath("clip.mp4"));
    }
    static void TearDownTestSuite() { delete s_dir; }

    static inline TempDir* s_dir = nullptr;
    static inline QByteArray s_clip;
};

} // namespace

TEST_F(RecordingWriterTest, RecordsAndMediaChunksAreWhereTheirTablesSay)
{
    struct Case
    {
        const char* name;
        int seconds;
        qint64 filler;
    };
    for (const Case& c : {Case{"no records", 0, 0}, Case{"records between chunks", 2, 0},
                          Case{"more records than media chunks", 9, 0},
                          Case{"filler before each record", 2, 4000}}) {
        SCOPED_TRACE(c.name);
        const QList<DriveRecord> records = drive(c.seconds);
        const QString path = s_dir->filePath(QStringLiteral("%1.MP4").arg(c.name));
        QString error;
        ASSERT_TRUE(writeRecording(s_clip, records, path, &error, RecordingLayout{c.filler}))
            << error.toStdString();
        const QByteArray output = readFile(path);
        expectCameraLayout(s_clip, output, records);
    }
}

TEST_F(RecordingWriterTest, RecordingWithoutVideoHoldsOnlyTheDataTrack)
{
    for (int seconds : {0, 1, 3}) {
        SCOPED_TRACE(seconds);
        const QList<DriveRecord> records = drive(seconds);
        const QByteArray bytes = recordingWithoutVideo(records);
        const auto stco = mp4::dataTrackStco(bytes);
        ASSERT_TRUE(stco);
        const QList<quint32> offsets = mp4::stcoEntries(bytes, *stco);
        ASSERT_EQ(offsets.size(), records.size());
        for (qsizetype i = 0; i < records.size(); ++i)
            EXPECT_EQ(bytes.mid(offsets[i], kChunkSize), driveChunkBytes(records[i]));
    }
}

TEST_F(RecordingWriterTest, RefusesInputItCannotRewrite)
{
    QByteArray otherBrand = s_clip;
    otherBrand.replace(8, 4, "isom");
    QByteArray badSize = s_clip;
    badSize[0] = char(0x7f); // ftyp claims more than the file
    struct Case
    {
        const char* name;
        QByteArray input;
    };
    for (const Case& c : {Case{"empty", {}}, Case{"not avc1", otherBrand},
                          Case{"without moov", s_clip.left(s_clip.lastIndexOf("moov") - 4)},
                          Case{"box past the end", badSize}}) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_TRUE(recordingBytes(c.input, drive(1), &error).isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(DriveRecordTest, ChunkBytesAreLittleEndianAtTheirOffsets)
{
    DriveRecord record;
    record.timeStamp = 0x0102030405060708ull;
    record.x = 256;
    record.y = -512;
    record.z = 0;
    record.unitMarker = '9';
    record.nmea = QByteArray(200, 'A'); // cut at 128
    const QByteArray chunk = driveChunkBytes(record);
    ASSERT_EQ(chunk.size(), 155);
    const QByteArray body = chunk.mid(2);
    EXPECT_EQ(body.left(8), QByteArray::fromHex("0807060504030201"));
    EXPECT_EQ(body.mid(8, 12), QByteArray::fromHex("00010000"
                                                   "00feffff"
                                                   "00000000"));
    EXPECT_EQ(body.at(24), '9');
    EXPECT_EQ(body.mid(25), QByteArray(128, 'A'));
}

TEST(DriveRecordTest, SentencesArePackedWholeIntoRecords)
{
    QList<DriveRecord> records(3);
    const QByteArray seventy = nmeaSentence(QByteArray(64, 'X'));
    ASSERT_EQ(seventy.size(), 70);
    EXPECT_EQ(packSentences(records, 0, {seventy, seventy, nmeaSentence("GNGSA,A,1")}), 2);
    EXPECT_EQ(records[0].nmea, seventy);
    EXPECT_EQ(records[1].nmea, seventy + "$GNGSA,A,1*" + records[1].nmea.right(4));
    EXPECT_TRUE(records[2].nmea.isEmpty());
    EXPECT_EQ(packSentences(records, 0, {QByteArray(129, 'X')}), -1);
    EXPECT_EQ(nmeaSentence("GPGGA,123519"), QByteArray("$GPGGA,123519*77\r\n"));
}
