#include "samplecard/DriveRecord.h"

#include <QList>

namespace samplecard {

namespace {

void putLittleEndian(char* out, quint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = char((value >> (8 * i)) & 0xff);
}

} // namespace

QByteArray driveChunkBytes(const DriveRecord& record)
{
    QByteArray chunk(kChunkSize, '\0');
    char* data = chunk.data();
    // The header's meaning is unknown; the record length is a plausible value for it.
    putLittleEndian(data, kRecordSize, 2);
    char* body = data + kChunkHeaderSize;
    putLittleEndian(body, record.timeStamp, 8);
    putLittleEndian(body + 8, quint32(record.x), 4);
    putLittleEndian(body + 12, quint32(record.y), 4);
    putLittleEndian(body + 16, quint32(record.z), 4);
    body[24] = record.unitMarker;
    const qsizetype textLength = qMin<qsizetype>(record.nmea.size(), kNmeaFieldSize);
    memcpy(body + 25, record.nmea.constData(), size_t(textLength));
    return chunk;
}

qsizetype packSentences(QList<DriveRecord>& records, qsizetype first,
                        const QList<QByteArray>& sentences)
{
    qsizetype index = first;
    for (const QByteArray& sentence : sentences) {
        if (sentence.size() > kNmeaFieldSize)
            return -1;
        while (index < records.size() &&
               records[index].nmea.size() + sentence.size() > kNmeaFieldSize)
            ++index;
        if (index >= records.size())
            return -1;
        records[index].nmea += sentence;
    }
    return index + 1;
}

QByteArray nmeaSentence(const QByteArray& body)
{
    quint8 checksum = 0;
    for (char c : body)
        checksum ^= quint8(c);
    return '$' + body + '*' + QByteArray::number(checksum, 16).toUpper().rightJustified(2, '0') +
           "\r\n";
}

} // namespace samplecard
