#pragma once

#include "VXLAviGpsData.h"
#include "VXLGSensor.h"
#include "VXLGpsData.h"
#include "VXLNMEASentenceParser.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>

class DriveDataSource;

// The drive data that the camera stores in a private track of each recording: one G-sensor
// sample and one GPS block per record, and a snapshot of the running GPS fix after every
// NMEA sentence of those blocks.
//
// Threading: ExtractStreamInformation fills the lists in place and is meant to run on a
// background thread while nobody reads them; read the lists (or copies of them: QList copies
// are cheap) only after it has returned. One object serves one extraction at a time.
class VXLBlackBoxData
{
public:
    // Bytes of a drive record after its 2-byte chunk header.
    static constexpr int kRecordSize = 153;
    static constexpr int kChunkHeaderSize = 2;

    // Bounds of one recording, far above what the camera writes (ten records and a few
    // sentences a second, a few minutes a recording), so that only a damaged or crafted chunk
    // table meets them: a day of records, and as many sentences. Reading stops at the record
    // that would pass one of them (the sentences of the last record read may pass theirs).
    static constexpr qsizetype kRecordLimit = 24 * 60 * 60 * 10;
    static constexpr qsizetype kSentenceLimit = kRecordLimit;

    // Clears, then walks the MP4 boxes to the data track's chunk table and reads every
    // record. True when the table was found and walked (the lists may still be empty);
    // false, with empty lists, for no path, an unreadable file (a FIFO or a device is not
    // waited on), a file of another layout, or when memory ran out.
    bool ExtractStreamInformation(const char* path);
    bool ExtractStreamInformation(const QString& path);
    // The same on a recording held in memory (tests, fuzzing).
    bool extractFromBytes(QByteArrayView bytes);

    // Clears the parser's running fix, empties the lists and forgets what the last
    // extraction met.
    void clear();

    // What the last extraction met, for a caller that reports partial results. The entry
    // count of the chunk table as stored (records announced; 0 without a table).
    uint32_t announcedRecordCount() const { return m_announcedRecords; }
    // Reading stopped at a bound with readable records left: kRecordLimit, kSentenceLimit,
    // or one 155-byte chunk per record in the file's size.
    bool recordLimitReached() const { return m_recordLimitReached; }
    // Memory ran out; the lists are empty and the extraction answered false.
    bool outOfMemory() const { return m_outOfMemory; }

    // Hands each "$G" sentence of the text to the parser and keeps a snapshot of the fix after
    // each. Sentence ends (CR, LF, 0) are overwritten with 0 in place. False for no text.
    bool ParseNMEA(char* buffer, uint32_t bufferSize);
    // Appends the sample of a 16-byte G-sensor block (x, y, z little-endian in 1/256 g).
    bool ParseGSensor(const unsigned char* buffer, uint32_t bufferSize);

    const VXLNMEASentenceParser& m_NMEAParser() const { return m_parser; }
    // One snapshot per "$G" sentence, in file order.
    const QList<VXLGpsData>& m_NMEAs() const { return m_nmeas; }
    // One sample per record read.
    const QList<VXLGSensor>& m_GSensors() const { return m_gSensors; }
    // One GPS block per record read; same length as m_GSensors.
    const QList<VXLAviGpsData>& m_vGpsData() const { return m_gpsBlocks; }

    // How many fixes there are once record `record` has been read, so the fix in effect while
    // that record plays is m_NMEAs()[fixCountAfterRecord(record) - 1] (none while it is 0).
    // The fixes count sentences, not records: several or none can come with one record.
    // Kept by the extraction and appendRecords (ParseNMEA alone does not know records).
    qsizetype fixCountAfterRecord(qsizetype record) const { return m_fixCounts.at(record); }

    // Appends records [first, end) of `source` (an extracted recording) with the fixes of
    // their sentences: the drive data of a span of one recording, or of consecutive ones.
    // The first record's fixes begin after the fix the source had before it.
    void appendRecords(const VXLBlackBoxData& source, qsizetype first, qsizetype end);

private:
    bool extractGuarded(DriveDataSource& source);
    bool extract(DriveDataSource& source);

    VXLNMEASentenceParser m_parser;
    QList<VXLGpsData> m_nmeas;
    QList<VXLGSensor> m_gSensors;
    QList<VXLAviGpsData> m_gpsBlocks;
    QList<quint32> m_fixCounts; // one per record: m_nmeas.size() once it was read
    uint32_t m_announcedRecords = 0;
    bool m_recordLimitReached = false;
    bool m_outOfMemory = false;
};
