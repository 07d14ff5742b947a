#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstring>

// Hand-made recordings in the camera's layout, small enough to build per test case:
// ftyp (brand avc1), mdat with the drive records, moov whose fifth child is the data track
// trak > mdia > minf > stbl > stco. Every piece can be spoiled on purpose.
namespace testrecording {

struct Record
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 256;
    char unit = '9';
    QByteArray nmea; // at most 128 bytes; the rest of the field is zero
};

inline void appendBigEndian(QByteArray& bytes, uint32_t value)
{
    const char b[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    bytes.append(b, 4);
}

inline void appendLittleEndian(QByteArray& bytes, int32_t value)
{
    const auto v = uint32_t(value);
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    bytes.append(b, 4);
}

// The 155 bytes of one chunk: 2-byte header, time stamp, G-sensor block, GPS block.
inline QByteArray chunk(const Record& record)
{
    QByteArray bytes("\x01\x02", 2);
    bytes.append("TIMESTMP", 8);
    appendLittleEndian(bytes, record.x);
    appendLittleEndian(bytes, record.y);
    appendLittleEndian(bytes, record.z);
    bytes.append(4, '\x7f'); // not interpreted
    bytes.append(record.unit);
    QByteArray text = record.nmea.left(128);
    text.append(128 - text.size(), '\0');
    bytes.append(text);
    return bytes;
}

inline QByteArray box(const char* type, const QByteArray& payload)
{
    QByteArray bytes;
    appendBigEndian(bytes, uint32_t(8 + payload.size()));
    bytes.append(type, 4);
    bytes.append(payload);
    return bytes;
}

struct Options
{
    const char* ftypType = "ftyp";
    const char* brand = "avc1";
    const char* moovType = "moov";
    const char* stcoType = "stco";
    bool countOverride = false;
    uint32_t count = 0;             // written instead of the number of entries
    QList<uint32_t> leadingOffsets; // table entries before the records' own
};

struct Recording
{
    QByteArray bytes;
    qsizetype stcoOffset = 0;
};

inline Recording recording(const QList<Record>& records, const Options& options = {})
{
    Recording result;
    QByteArray ftypPayload(options.brand, 4);
    ftypPayload.append(QByteArray(4, '\0') + "avc1isom");
    result.bytes = box(options.ftypType, ftypPayload);

    const qsizetype mdatStart = result.bytes.size();
    QByteArray mdatPayload;
    QList<uint32_t> offsets = options.leadingOffsets;
    for (const Record& record : records) {
        mdatPayload.append(QByteArray(40, 'v')); // stands in for video between records
        offsets.append(uint32_t(mdatStart + 8 + mdatPayload.size()));
        mdatPayload.append(chunk(record));
    }
    result.bytes.append(box("mdat", mdatPayload));

    QByteArray stcoPayload(4, '\0');
    appendBigEndian(stcoPayload, options.countOverride ? options.count : uint32_t(offsets.size()));
    for (const uint32_t offset : offsets)
        appendBigEndian(stcoPayload, offset);

    const QByteArray filler(20, 'f');
    const QByteArray stbl =
        box("stbl", box("stsd", filler) + box("stts", filler) + box("stsc", filler) +
                        box("stsz", filler) + box(options.stcoType, stcoPayload));
    const QByteArray minf = box("minf", box("nmhd", filler) + box("dinf", filler) + stbl);
    const QByteArray mdia = box("mdia", box("mdhd", filler) + box("hdlr", filler) + minf);
    const QByteArray trak = box("trak", box("tkhd", filler) + box("edts", filler) + mdia);
    const QByteArray moov =
        box(options.moovType, box("mvhd", filler) + box("trak", filler) + box("trak", filler) +
                                  box("udta", filler) + trak);
    const qsizetype moovStart = result.bytes.size();
    result.bytes.append(moov);
    result.stcoOffset = result.bytes.indexOf(QByteArray(options.stcoType, 4), moovStart) - 4;

    return result;
}

} // namespace testrecording
