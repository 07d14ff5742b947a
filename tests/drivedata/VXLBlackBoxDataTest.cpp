#include "drivedata/VXLBlackBoxData.h"

#include "RecordingBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using testrecording::Options;
using testrecording::Record;
using testrecording::recording;

namespace {

const QByteArray kRmc = "$GNRMC,083000.000,A,3733.98,N,12658.68,E,10.0,90.0,150423,,*00\r\n";
const QByteArray kGga = "$GNGGA,083000,3733.98,N,12658.68,E,1,09,0.95,30,M,,M,,*00\r\n";

QList<Record> threeRecords()
{
    return {{256, -512, 0, '9', kRmc}, {1, 2, 3, '9', kGga}, {0, 0, 256, 'M', "$GPVTG*00\r\n"}};
}

TEST(VXLBlackBoxData, ReadsEveryRecordOfTheTrack)
{
    TempDir dir;
    const QString path = dir.write("alwa_20230415_083000_F.MP4", recording(threeRecords()).bytes);
    VXLBlackBoxData data;
    ASSERT_TRUE(data.ExtractStreamInformation(path));

    ASSERT_EQ(data.m_GSensors().size(), 3);
    ASSERT_EQ(data.m_vGpsData().size(), 3);
    const VXLGSensor& first = data.m_GSensors().at(0);
    EXPECT_EQ(first.x, 1.0f);
    EXPECT_EQ(first.y, -2.0f);
    EXPECT_EQ(first.z, 0.0f);
    EXPECT_EQ(data.m_GSensors().at(1).z, 3.0f / 256.0f);

    // One snapshot per "$G" sentence, the rejected VTG too; the fix runs on across records.
    ASSERT_EQ(data.m_NMEAs().size(), 3);
    EXPECT_EQ(data.m_NMEAs().at(0).gpsValid, 1);
    EXPECT_EQ(data.m_NMEAs().at(0).Latitude, 0.0);
    EXPECT_EQ(data.m_NMEAs().at(1).Latitude, double(3733.98f));
    EXPECT_EQ(data.m_NMEAs().at(2).Latitude, double(3733.98f));
    EXPECT_EQ(data.m_NMEAs().at(2).SpeedOverGround, 10.0);

    // The kept block has zeros where CR and LF were; the unit marker is untouched.
    const GpsBlock& block = data.m_vGpsData().at(0).data;
    EXPECT_EQ(block.unit, '9');
    EXPECT_EQ(block.nmea[kRmc.size() - 2], '\0');
    EXPECT_EQ(block.nmea[kRmc.size() - 1], '\0');
    EXPECT_EQ(QByteArray(block.nmea, int(kRmc.size()) - 2), kRmc.chopped(2));
    EXPECT_EQ(data.m_vGpsData().at(2).data.unit, 'M');

    // A second extraction starts afresh.
    ASSERT_TRUE(data.extractFromBytes(recording({{0, 0, 0, '9', "$GPVTG*00\r\n"}}).bytes));
    EXPECT_EQ(data.m_GSensors().size(), 1);
    ASSERT_EQ(data.m_NMEAs().size(), 1);
    EXPECT_EQ(data.m_NMEAs().at(0).Latitude, 0.0);
}

TEST(VXLBlackBoxData, SplitsTheTextIntoSentences)
{
    struct TextCase
    {
        const char* name;
        QByteArray text;
        qsizetype snapshots;
    };
    const TextCase cases[] = {
        {"rmc and gga in one record", kRmc + kGga, 2},
        {"no terminator inside 128 bytes", kRmc.chopped(2) + QByteArray(128, 'x'), 0},
        {"text running to the end of the block", QByteArray(80, ' ') + kGga.chopped(2), 0},
        {"zero byte ends a sentence", kGga.chopped(2) + '\0' + "junk", 1},
        {"dollar inside restarts the sentence", "$GPxx,1,$GNGGA,1,1,N,1,E,1,1,1*00\n", 1},
        {"text not starting with $G", "GNGGA,1*00\r\n$PUBX,00*00\r\n", 0},
        {"empty sentences between terminators", "\r\n\r\n\n\r$G\r\n", 1},
        {"bytes that are not UTF-8", "$GNGGA,1,\xff\xfe,N*00\r\n", 1},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        VXLBlackBoxData data;
        ASSERT_TRUE(data.extractFromBytes(recording({{0, 0, 0, '9', c.text}}).bytes));
        EXPECT_EQ(data.m_NMEAs().size(), c.snapshots);
        EXPECT_EQ(data.m_vGpsData().size(), 1);
    }
}

// Each failure of the box walk gives NO and empty lists.
TEST(VXLBlackBoxData, RejectsOtherLayouts)
{
    const QList<Record> records = threeRecords();
    Options wrongBrand;
    wrongBrand.brand = "isom";
    Options wrongFtyp;
    wrongFtyp.ftypType = "styp";
    Options wrongMoov;
    wrongMoov.moovType = "moof";
    Options wrongStco;
    wrongStco.stcoType = "co64";
    for (const Options& options : {wrongBrand, wrongFtyp, wrongMoov, wrongStco}) {
        VXLBlackBoxData data;
        EXPECT_FALSE(data.extractFromBytes(recording(records, options).bytes));
        EXPECT_TRUE(data.m_GSensors().isEmpty());
        EXPECT_TRUE(data.m_NMEAs().isEmpty());
        EXPECT_TRUE(data.m_vGpsData().isEmpty());
    }

    VXLBlackBoxData data;
    EXPECT_FALSE(data.ExtractStreamInformation(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(data.ExtractStreamInformation(QString()));
    EXPECT_FALSE(data.ExtractStreamInformation(QStringLiteral("/nonexistent/alwa.MP4")));
    TempDir dir;
    EXPECT_FALSE(data.ExtractStreamInformation(dir.path()));
    const QString fifo = dir.filePath(QStringLiteral("fifo.MP4"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(data.ExtractStreamInformation(fifo)); // returns instead of waiting
}

// Cut anywhere: the walk fails until the entry count is in, then each entry whose four
// bytes are present gives its record.
TEST(VXLBlackBoxData, TruncatedFiles)
{
    const testrecording::Recording full = recording(threeRecords());
    const qsizetype tableStart = full.stcoOffset + 16;
    for (qsizetype length = 0; length <= full.bytes.size(); ++length) {
        SCOPED_TRACE(length);
        VXLBlackBoxData data;
        const bool found = data.extractFromBytes(QByteArrayView(full.bytes).first(length));
        EXPECT_EQ(found, length >= tableStart);
        const qsizetype entries = length >= tableStart ? (length - tableStart) / 4 : 0;
        EXPECT_EQ(data.m_GSensors().size(), std::min<qsizetype>(entries, 3));
    }
}

TEST(VXLBlackBoxData, ChunkTableEdgeCases)
{
    const QList<Record> records = threeRecords();
    struct TableCase
    {
        const char* name;
        Options options;
        qsizetype samples; // -1: one per 155 bytes of the file
        uint32_t announced;
        bool limitReached;
    };
    Options empty;
    empty.countOverride = true;
    Options pastEnd;
    pastEnd.leadingOffsets = {0xfffffff0u, 0x7fffffffu};
    Options hugeCount;
    hugeCount.countOverride = true;
    hugeCount.count = 0xfffffff0u;
    Options sameChunk; // the file's first bytes, read as a chunk again and again
    sameChunk.leadingOffsets = QList<uint32_t>(1000, 0u);
    const TableCase cases[] = {
        {"zero entries", empty, 0, 0, false},
        {"offsets past the end add nothing; the loop goes on", pastEnd, 3, 5, false},
        {"a count near 2^32 reads the table the file holds", hugeCount, 3, 0xfffffff0u, false},
        {"no more records than the file has room for", sameChunk, -1, 1003, true},
    };
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = recording(records, c.options).bytes;
        VXLBlackBoxData data;
        EXPECT_TRUE(data.extractFromBytes(bytes));
        const qsizetype samples = c.samples >= 0 ? c.samples : bytes.size() / 155;
        EXPECT_EQ(data.m_GSensors().size(), samples);
        EXPECT_EQ(data.m_vGpsData().size(), samples);
        EXPECT_EQ(data.announcedRecordCount(), c.announced);
        EXPECT_EQ(data.recordLimitReached(), c.limitReached);
    }
}

// A span of records keeps the fixes of its own sentences and knows which fix each record
// shows; two spans appended make one, as for a clip across two recordings.
TEST(VXLBlackBoxData, SpanOfRecordsWithTheirFixes)
{
    // Records 0 and 1 each carry one sentence, record 2 none, record 3 two.
    const QList<Record> records{{256, 0, 0, '9', kRmc},
                                {512, 0, 0, '9', kGga},
                                {768, 0, 0, '9', {}},
                                {1024, 0, 0, '9', kRmc + kGga}};
    VXLBlackBoxData whole;
    ASSERT_TRUE(whole.extractFromBytes(recording(records).bytes));
    ASSERT_EQ(whole.m_NMEAs().size(), 4);
    for (const auto& [record, fixes] : {std::pair{0, 1}, {1, 2}, {2, 2}, {3, 4}})
        EXPECT_EQ(whole.fixCountAfterRecord(record), fixes) << record;

    VXLBlackBoxData span;
    span.appendRecords(whole, 1, 3); // records 1 and 2
    span.appendRecords(whole, 3, 9); // record 3; the end is clamped
    span.appendRecords(whole, 2, 2); // nothing
    ASSERT_EQ(span.m_GSensors().size(), 3);
    EXPECT_EQ(span.m_GSensors().at(0).x, 2.0f);
    EXPECT_EQ(span.m_GSensors().at(2).x, 4.0f);
    ASSERT_EQ(span.m_vGpsData().size(), 3);
    // The GGA of record 1, then the RMC and GGA of record 3.
    ASSERT_EQ(span.m_NMEAs().size(), 3);
    EXPECT_EQ(span.m_NMEAs().at(0).Latitude, double(3733.98f));
    for (const auto& [record, fixes] : {std::pair{0, 1}, {1, 1}, {2, 3}})
        EXPECT_EQ(span.fixCountAfterRecord(record), fixes) << record;
}

} // namespace
