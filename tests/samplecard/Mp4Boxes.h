#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// A small reader of the boxes of a whole MP4 file in memory, for checking what the sample-card
// maker writes. Bounds are checked; a malformed file gives empty answers.
namespace mp4 {

inline quint32 u32(const QByteArray& bytes, qint64 at)
{
    if (at < 0 || at + 4 > bytes.size())
        return 0;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

struct Box
{
    QByteArray type;
    qint64 offset = 0;
    qint64 size = 0;
};

inline QList<Box> children(const QByteArray& bytes, qint64 begin, qint64 end)
{
    QList<Box> boxes;
    for (qint64 at = begin; at + 8 <= end;) {
        const qint64 size = u32(bytes, at);
        if (size < 8 || at + size > end)
            return {};
        boxes.append({bytes.mid(at + 4, 4), at, size});
        at += size;
    }
    return boxes;
}

inline QList<Box> children(const QByteArray& bytes, const Box& parent)
{
    return children(bytes, parent.offset + 8, parent.offset + parent.size);
}

inline std::optional<Box> child(const QByteArray& bytes, const Box& parent, const char* type)
{
    for (const Box& b : children(bytes, parent))
        if (b.type == type)
            return b;
    return std::nullopt;
}

inline QList<quint32> stcoEntries(const QByteArray& bytes, const Box& stco)
{
    QList<quint32> entries;
    const quint32 count = u32(bytes, stco.offset + 12);
    for (quint32 i = 0;
         i < count && stco.offset + 16 + 4 * qint64(i) + 4 <= stco.offset + stco.size; ++i)
        entries.append(u32(bytes, stco.offset + 16 + 4 * qint64(i)));
    return entries;
}

// The data track's stco, reached by position as the player walks it: the fifth child of moov,
// then the third child three times (mdia, minf, stbl), then the fifth child.
inline std::optional<Box> dataTrackStco(const QByteArray& bytes)
{
    const QList<Box> top = children(bytes, 0, bytes.size());
    if (top.size() < 3)
        return std::nullopt;
    std::optional<Box> box = top[2];
    for (int index : {4, 2, 2, 2, 4}) {
        const QList<Box> level = children(bytes, *box);
        if (level.size() <= index)
            return std::nullopt;
        box = level[index];
    }
    return box->type == "stco" ? box : std::nullopt;
}

// The chunk offsets of every track, in moov order, found by name (trak/mdia/minf/stbl/stco).
inline QList<QList<quint32>> trackChunkOffsets(const QByteArray& bytes, const Box& moov)
{
    QList<QList<quint32>> tracks;
    for (const Box& trak : children(bytes, moov)) {
        if (trak.type != "trak")
            continue;
        std::optional<Box> box = trak;
        for (const char* type : {"mdia", "minf", "stbl", "stco"})
            box = box ? child(bytes, *box, type) : std::nullopt;
        tracks.append(box ? stcoEntries(bytes, *box) : QList<quint32>{});
    }
    return tracks;
}

} // namespace mp4
