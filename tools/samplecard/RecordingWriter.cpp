#include "samplecard/RecordingWriter.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace samplecard {

namespace {

constexpr quint32 kRecordDurationMs = 1000 / kRecordsPerSecond;

quint32 readU32(const QByteArray& bytes, qint64 at)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

quint64 readU64(const QByteArray& bytes, qint64 at)
{
    return (quint64(readU32(bytes, at)) << 32) | readU32(bytes, at + 4);
}

void writeU32(QByteArray& bytes, qint64 at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (24 - 8 * i)) & 0xff);
}

void writeU64(QByteArray& bytes, qint64 at, quint64 value)
{
    writeU32(bytes, at, quint32(value >> 32));
    writeU32(bytes, at + 4, quint32(value));
}

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, '\0');
    writeU32(bytes, 0, value);
    return bytes;
}

QByteArray u16(quint16 value)
{
    return QByteArray{} + char(value >> 8) + char(value & 0xff);
}

QByteArray box(const char* type, const QByteArray& payload)
{
    return u32(quint32(8 + payload.size())) + QByteArray(type, 4) + payload;
}

QByteArray fullBox(const char* type, quint32 versionAndFlags, const QByteArray& payload)
{
    return box(type, u32(versionAndFlags) + payload);
}

// One box inside a byte range: where it starts, its header length and its total size.
struct Box
{
    QByteArray type;
    qint64 offset = 0;
    qint64 headerSize = 8;
    qint64 size = 0;

    qint64 payloadOffset() const { return offset + headerSize; }
    qint64 end() const { return offset + size; }
};

// The boxes of [begin, end), or nothing when a size is malformed. Understands the 64-bit
// size form and size 0 (to the end) because ffmpeg may write them.
std::optional<QList<Box>> childBoxes(const QByteArray& bytes, qint64 begin, qint64 end)
{
    QList<Box> boxes;
    qint64 at = begin;
    while (at < end) {
        if (end - at < 8)
            return std::nullopt;
        Box b;
        b.offset = at;
        b.size = readU32(bytes, at);
        b.type = bytes.mid(at + 4, 4);
        if (b.size == 1) {
            if (end - at < 16)
                return std::nullopt;
            b.size = qint64(readU64(bytes, at + 8));
            b.headerSize = 16;
        } else if (b.size == 0) {
            b.size = end - at;
        }
        if (b.size < b.headerSize || b.size > end - at)
            return std::nullopt;
        boxes.append(b);
        at += b.size;
    }
    return boxes;
}

std::optional<Box> findChild(const QByteArray& bytes, const Box& parent, const char* type)
{
    const auto children = childBoxes(bytes, parent.payloadOffset(), parent.end());
    if (!children)
        return std::nullopt;
    for (const Box& child : *children) {
        if (child.type == type)
            return child;
    }
    return std::nullopt;
}

// A chunk-offset table of one track: where its entries are in moov and how wide they are.
struct ChunkTable
{
    qint64 entriesOffset = 0; // inside the moov copy
    quint32 count = 0;
    int entryWidth = 4;
};

struct ParsedInput
{
    QByteArray ftyp;
    qint64 payloadBegin = 0; // mdat payload, input offsets
    qint64 payloadEnd = 0;
    QByteArray moov;         // the whole moov box, chunk tables still in input offsets
    QList<Box> moovChildren; // offsets relative to `moov`
    QList<ChunkTable> chunkTables;
    qint64 mvhdOffset = -1; // inside `moov`
    qint64 mvhdSize = 0;
};

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool parseInput(const QByteArray& input, ParsedInput* parsed, QString* error)
{
    const auto top = childBoxes(input, 0, input.size());
    if (!top)
        return fail(error, QStringLiteral("input MP4: malformed top-level box sizes"));
    std::optional<Box> ftyp, mdat, moov;
    for (const Box& b : *top) {
        if (b.type == "ftyp" && !ftyp)
            ftyp = b;
        else if (b.type == "mdat" && !mdat)
            mdat = b;
        else if (b.type == "moov" && !moov)
            moov = b;
    }
    if (!ftyp || !mdat || !moov)
        return fail(error, QStringLiteral("input MP4: needs ftyp, mdat and moov boxes"));
    if (ftyp->size < 12 || input.mid(ftyp->offset + 8, 4) != "avc1")
        return fail(error, QStringLiteral("input MP4: major brand is not avc1"));
    parsed->ftyp = input.mid(ftyp->offset, ftyp->size);
    parsed->payloadBegin = mdat->payloadOffset();
    parsed->payloadEnd = mdat->end();
    if (moov->headerSize != 8)
        return fail(error, QStringLiteral("input MP4: 64-bit moov size"));
    parsed->moov = input.mid(moov->offset, moov->size);

    const QByteArray& m = parsed->moov;
    const auto children = childBoxes(m, 8, m.size());
    if (!children)
        return fail(error, QStringLiteral("input MP4: malformed moov"));
    parsed->moovChildren = *children;
    for (const Box& child : *children) {
        if (child.type == "mvhd") {
            parsed->mvhdOffset = child.offset;
            parsed->mvhdSize = child.size;
        }
        if (child.type != "trak")
            continue;
        std::optional<Box> stbl;
        if (auto mdia = findChild(m, child, "mdia"))
            if (auto minf = findChild(m, *mdia, "minf"))
                stbl = findChild(m, *minf, "stbl");
        if (!stbl)
            return fail(error, QStringLiteral("input MP4: a track without sample table"));
        std::optional<Box> table = findChild(m, *stbl, "stco");
        int width = 4;
        if (!table) {
            table = findChild(m, *stbl, "co64");
            width = 8;
        }
        if (!table || table->size < 16)
            return fail(error, QStringLiteral("input MP4: a track without chunk offsets"));
        ChunkTable t{table->offset + 16, readU32(m, table->offset + 12), width};
        if (qint64(t.count) * width > table->size - 16)
            return fail(error, QStringLiteral("input MP4: chunk-offset count past its box"));
        parsed->chunkTables.append(t);
    }
    if (parsed->mvhdOffset < 0 || parsed->mvhdSize < 108 || m.at(parsed->mvhdOffset + 8) != 0)
        return fail(error, QStringLiteral("input MP4: needs a version 0 mvhd"));
    return true;
}

quint64 chunkOffset(const QByteArray& moov, const ChunkTable& table, quint32 i)
{
    const qint64 at = table.entriesOffset + qint64(i) * table.entryWidth;
    return table.entryWidth == 4 ? readU32(moov, at) : readU64(moov, at);
}

void setChunkOffset(QByteArray& moov, const ChunkTable& table, quint32 i, quint64 value)
{
    const qint64 at = table.entriesOffset + qint64(i) * table.entryWidth;
    if (table.entryWidth == 4)
        writeU32(moov, at, quint32(value));
    else
        writeU64(moov, at, value);
}

QByteArray identityMatrix()
{
    return u32(0x00010000) + u32(0) + u32(0) + u32(0) + u32(0x00010000) + u32(0) + u32(0) + u32(0) +
           u32(0x40000000);
}

// The drive-data track: tkhd, edts, mdia; mdia holds mdhd, hdlr, minf; minf holds nmhd,
// dinf, stbl; stbl holds stsd, stts, stsc, stsz, stco, in that order (the player walks it by
// position).
QByteArray dataTrack(quint32 trackId, quint32 movieDuration, const QList<quint32>& offsets)
{
    const auto count = quint32(offsets.size());
    const quint32 mediaDuration = count * kRecordDurationMs;
    const QByteArray tkhd =
        fullBox("tkhd", 0x000001,
                u32(0) + u32(0) + u32(trackId) + u32(0) + u32(movieDuration) + u32(0) + u32(0) +
                    u16(0) + u16(0) + u16(0) + u16(0) + identityMatrix() + u32(0) + u32(0));
    const QByteArray edts =
        box("edts", fullBox("elst", 0, u32(1) + u32(movieDuration) + u32(0) + u32(0x00010000)));
    const QByteArray mdhd = fullBox("mdhd", 0,
                                    u32(0) + u32(0) + u32(1000) + u32(mediaDuration) +
                                        u16(0x55c4) /* "und" */ + u16(0));
    const QByteArray hdlr = fullBox("hdlr", 0,
                                    u32(0) + QByteArray("meta") + u32(0) + u32(0) + u32(0) +
                                        QByteArray("DriveDataHandler", 17));
    const QByteArray dinf = box("dinf", fullBox("dref", 0, u32(1) + fullBox("url ", 1, {})));
    // A plain sample entry: reserved bytes and the data reference index.
    const QByteArray sampleEntry = box("gsdt", QByteArray(6, '\0') + u16(1));
    const QByteArray stsd = fullBox("stsd", 0, u32(1) + sampleEntry);
    const QByteArray stts =
        fullBox("stts", 0, count ? u32(1) + u32(count) + u32(kRecordDurationMs) : u32(0));
    const QByteArray stsc = fullBox("stsc", 0, count ? u32(1) + u32(1) + u32(1) + u32(1) : u32(0));
    const QByteArray stsz = fullBox("stsz", 0, u32(kChunkSize) + u32(count));
    QByteArray stcoEntries;
    stcoEntries.reserve(offsets.size() * 4);
    for (quint32 offset : offsets)
        stcoEntries += u32(offset);
    const QByteArray stco = fullBox("stco", 0, u32(count) + stcoEntries);
    const QByteArray stbl = box("stbl", stsd + stts + stsc + stsz + stco);
    const QByteArray minf = box("minf", fullBox("nmhd", 0, {}) + dinf + stbl);
    const QByteArray mdia = box("mdia", mdhd + hdlr + minf);
    return box("trak", tkhd + edts + mdia);
}

// Places the records, fixes the chunk offsets and writes the recording to `out`.
bool writeLayout(const QByteArray& input, ParsedInput& parsed, const QList<DriveRecord>& records,
                 const RecordingLayout& layout, QIODevice& out, QString* error)
{
    // Where the records go: record i before the chunk boundaries[slot(i)], so records follow
    // the media through the file; with no media chunks all go at the end.
    QList<qint64> boundaries;
    for (const ChunkTable& table : parsed.chunkTables) {
        for (quint32 i = 0; i < table.count; ++i) {
            const quint64 offset = chunkOffset(parsed.moov, table, i);
            if (offset < quint64(parsed.payloadBegin) || offset >= quint64(parsed.payloadEnd))
                return fail(error, QStringLiteral("input MP4: chunk offset outside mdat"));
            boundaries.append(qint64(offset) - parsed.payloadBegin);
        }
    }
    std::sort(boundaries.begin(), boundaries.end());
    boundaries.erase(std::unique(boundaries.begin(), boundaries.end()), boundaries.end());
    const qint64 payloadSize = parsed.payloadEnd - parsed.payloadBegin;
    if (boundaries.isEmpty())
        boundaries.append(payloadSize);
    const qint64 recordCount = records.size();
    const auto slotOf = [&](qint64 i) {
        return i * boundaries.size() / qMax<qint64>(1, recordCount);
    };
    const qint64 slotSize = layout.fillerBeforeEachRecord + kChunkSize;

    const qint64 newPayloadBegin = parsed.ftyp.size() + 8;
    const qint64 mdatSize = 8 + payloadSize + recordCount * slotSize;
    if (newPayloadBegin + mdatSize > qint64(0xffffffff))
        return fail(error, QStringLiteral("recording would pass 4 GB (32-bit chunk offsets)"));

    // Records placed at or before boundary j (first index whose slot is above j).
    QList<qint64> recordsUpTo(boundaries.size());
    {
        qint64 i = 0;
        for (qint64 j = 0; j < boundaries.size(); ++j) {
            while (i < recordCount && slotOf(i) <= j)
                ++i;
            recordsUpTo[j] = i;
        }
    }
    for (const ChunkTable& table : parsed.chunkTables) {
        for (quint32 i = 0; i < table.count; ++i) {
            const qint64 relative =
                qint64(chunkOffset(parsed.moov, table, i)) - parsed.payloadBegin;
            const qint64 j = std::lower_bound(boundaries.begin(), boundaries.end(), relative) -
                             boundaries.begin();
            setChunkOffset(parsed.moov, table, i,
                           quint64(newPayloadBegin + relative + recordsUpTo[j] * slotSize));
        }
    }
    QList<quint32> recordOffsets;
    recordOffsets.reserve(records.size());
    for (qint64 i = 0; i < recordCount; ++i) {
        const qint64 position = boundaries[slotOf(i)];
        recordOffsets.append(
            quint32(newPayloadBegin + position + i * slotSize + layout.fillerBeforeEachRecord));
    }

    // moov: the first four children as ffmpeg wrote them (padded with free boxes), the data
    // track fifth, then the rest.
    QByteArray& m = parsed.moov;
    const qint64 mvhd = parsed.mvhdOffset;
    const quint32 timescale = readU32(m, mvhd + 20);
    const quint64 dataDuration = quint64(recordCount) * kRecordDurationMs * timescale / 1000;
    if (dataDuration > readU32(m, mvhd + 24))
        writeU32(m, mvhd + 24, quint32(dataDuration));
    const quint32 trackId = qMax<quint32>(1, readU32(m, mvhd + 104));
    writeU32(m, mvhd + 104, trackId + 1);
    QByteArray children;
    for (qsizetype i = 0; i < parsed.moovChildren.size(); ++i) {
        if (i == 4)
            children += dataTrack(trackId, quint32(dataDuration), recordOffsets);
        const Box& child = parsed.moovChildren[i];
        children += m.mid(child.offset, child.size);
    }
    for (qsizetype i = parsed.moovChildren.size(); i < 4; ++i)
        children += box("free", {});
    if (parsed.moovChildren.size() <= 4)
        children += dataTrack(trackId, quint32(dataDuration), recordOffsets);
    const QByteArray moov = box("moov", children);

    auto put = [&](const char* data, qint64 size) {
        return out.write(data, size) == size;
    };
    auto putBytes = [&](const QByteArray& bytes) {
        return put(bytes.constData(), bytes.size());
    };
    const QByteArray zeros(qMin<qint64>(layout.fillerBeforeEachRecord, 1 << 20), '\0');
    auto putFiller = [&]() {
        for (qint64 left = layout.fillerBeforeEachRecord; left > 0; left -= zeros.size()) {
            if (!put(zeros.constData(), qMin<qint64>(left, zeros.size())))
                return false;
        }
        return true;
    };
    bool ok = putBytes(parsed.ftyp) && putBytes(u32(quint32(mdatSize)) + "mdat");
    qint64 written = 0; // of the input payload
    qint64 nextRecord = 0;
    for (qint64 j = 0; ok && j < boundaries.size(); ++j) {
        ok = put(input.constData() + parsed.payloadBegin + written, boundaries[j] - written);
        written = boundaries[j];
        for (; ok && nextRecord < recordsUpTo[j]; ++nextRecord)
            ok = putFiller() && putBytes(driveChunkBytes(records[nextRecord]));
    }
    ok = ok && put(input.constData() + parsed.payloadBegin + written, payloadSize - written) &&
         putBytes(moov);
    if (!ok)
        return fail(error, QStringLiteral("cannot write: %1").arg(out.errorString()));
    return true;
}

} // namespace

bool writeRecording(const QByteArray& ffmpegMp4, const QList<DriveRecord>& records,
                    const QString& outputPath, QString* error, const RecordingLayout& layout)
{
    ParsedInput parsed;
    if (!parseInput(ffmpegMp4, &parsed, error))
        return false;
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error,
                    QStringLiteral("cannot write %1: %2").arg(outputPath, file.errorString()));
    if (!writeLayout(ffmpegMp4, parsed, records, layout, file, error))
        return false;
    if (!file.commit())
        return fail(error,
                    QStringLiteral("cannot write %1: %2").arg(outputPath, file.errorString()));
    return true;
}

QByteArray recordingBytes(const QByteArray& ffmpegMp4, const QList<DriveRecord>& records,
                          QString* error)
{
    ParsedInput parsed;
    if (!parseInput(ffmpegMp4, &parsed, error))
        return {};
    QByteArray result;
    QBuffer buffer(&result);
    buffer.open(QIODevice::WriteOnly);
    if (!writeLayout(ffmpegMp4, parsed, records, {}, buffer, error))
        return {};
    return result;
}

QByteArray recordingWithoutVideo(const QList<DriveRecord>& records)
{
    const QByteArray ftyp = box("ftyp", QByteArray("avc1") + u32(0x200) + "isomiso2avc1mp41");
    const QByteArray mvhd =
        fullBox("mvhd", 0,
                u32(0) + u32(0) + u32(1000) + u32(0) + u32(0x00010000) + u16(0x0100) +
                    QByteArray(10, '\0') + identityMatrix() + QByteArray(24, '\0') + u32(1));
    const QByteArray moov = box("moov", mvhd + box("free", {}) + box("free", {}) + box("free", {}));
    QString error;
    const QByteArray bytes = recordingBytes(ftyp + box("mdat", {}) + moov, records, &error);
    Q_ASSERT(!bytes.isEmpty());
    return bytes;
}

} // namespace samplecard
