#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace samplecard {

// One drive record as the camera stores it in a chunk of the data track: a 2-byte chunk
// header, then 153 bytes (time stamp, G-sensor block, unit marker, 128 bytes of NMEA text).
// All multi-byte numbers are little-endian.
struct DriveRecord
{
    // Milliseconds since 1970-01-01 UTC; the player does not interpret it.
    quint64 timeStamp = 0;
    // G-sensor sample in counts of 1/256 g.
    qint32 x = 0;
    qint32 y = 0;
    qint32 z = 0;
    // '9' makes the player show km/h; any other byte mi/h.
    char unitMarker = '9';
    // Raw NMEA text, at most 128 bytes; the rest of the field is zero. Sentences are normally
    // each ended by CR LF, but any bytes may be given (tests write broken text on purpose).
    QByteArray nmea;
};

inline constexpr int kChunkHeaderSize = 2;
inline constexpr int kRecordSize = 153;
inline constexpr int kChunkSize = kChunkHeaderSize + kRecordSize;
inline constexpr int kNmeaFieldSize = 128;
inline constexpr int kRecordsPerSecond = 10;

// The 155 bytes of one chunk. NMEA text longer than 128 bytes is cut at 128.
QByteArray driveChunkBytes(const DriveRecord& record);

// Packs whole sentences (each already ended by CR LF) into the NMEA fields of consecutive
// records, as many as fit in 128 bytes each, starting at records[first]; a sentence is never
// split across records. Answers the index after the last record used, or -1 when a sentence
// is longer than 128 bytes or the records run out.
qsizetype packSentences(QList<DriveRecord>& records, qsizetype first,
                        const QList<QByteArray>& sentences);

// "$BODY*HH\r\n" with the NMEA checksum (XOR of the body's bytes) in upper-case hex.
QByteArray nmeaSentence(const QByteArray& body);

} // namespace samplecard
