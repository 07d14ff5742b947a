#include "VXLBlackBoxData.h"

#include "fileio/NativeFileName.h"
#include "fileio/SafeFileReader.h"

#include <QLoggingCategory>

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// Off by default: the lines are for a developer following an extraction, and vexlo-tool's
// stderr is for its own messages. QT_LOGGING_RULES="vexlo.drivedata.debug=true" shows them.
Q_LOGGING_CATEGORY(lcDriveData, "vexlo.drivedata", QtWarningMsg)

// Random access to the bytes of one recording.
class DriveDataSource
{
public:
    virtual ~DriveDataSource() = default;
    virtual uint64_t size() const = 0;
    // Reads up to `length` bytes at `offset`; answers how many were read.
    virtual size_t readAt(uint64_t offset, void* buffer, size_t length) = 0;

    bool readFully(uint64_t offset, void* buffer, size_t length)
    {
        return readAt(offset, buffer, length) == length;
    }
};

namespace {

class FileSource final : public DriveDataSource
{
public:
    explicit FileSource(const char* path) : m_file(path) {}

    bool isOpen() const { return m_file.isOpen(); }
    uint64_t size() const override { return m_file.size(); }
    size_t readAt(uint64_t offset, void* buffer, size_t length) override
    {
        return m_file.readAt(offset, buffer, length);
    }

private:
    SafeFileReader m_file; // never waits on a FIFO, reads only a regular file
};

class MemorySource final : public DriveDataSource
{
public:
    explicit MemorySource(QByteArrayView bytes) : m_bytes(bytes) {}
    uint64_t size() const override { return uint64_t(m_bytes.size()); }

    size_t readAt(uint64_t offset, void* buffer, size_t length) override
    {
        if (offset >= size())
            return 0;
        const size_t n = size_t(std::min<uint64_t>(length, size() - offset));
        std::memcpy(buffer, m_bytes.data() + offset, n);
        return n;
    }

private:
    QByteArrayView m_bytes;
};

uint32_t bigEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

int32_t littleEndian32(const unsigned char* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                   uint32_t(p[3]) << 24);
}

bool readSize(DriveDataSource& source, uint32_t offset, uint32_t& size)
{
    unsigned char bytes[4];
    if (!source.readFully(offset, bytes, 4))
        return false;
    size = bigEndian32(bytes);
    return true;
}

// Moves `child` past `count` sibling boxes by their sizes. Positions wrap at 32 bits as the
// camera's own offsets do; a size of 0 simply stays in place, so the walk always ends.
bool passBoxes(DriveDataSource& source, uint32_t& child, int count)
{
    for (int k = 0; k < count; ++k) {
        uint32_t size;
        if (!readSize(source, child, size))
            return false;
        child += size;
    }
    return true;
}

// The fixed walk to the data track's chunk table: ftyp (brand avc1), one box, moov; its
// fifth child, then the third child three times down, then the fifth child, which must be
// stco. Only these three types are checked.
struct ChunkTable
{
    uint32_t stcoStart = 0;
    uint32_t stcoSize = 0;
    uint32_t entryCount = 0;
    uint32_t start = 0;
};

bool findChunkTable(DriveDataSource& source, ChunkTable& table)
{
    unsigned char head[12];
    if (!source.readFully(0, head, 12))
        return false;
    if (std::memcmp(head + 4, "ftyp", 4) != 0 || std::memcmp(head + 8, "avc1", 4) != 0)
        return false;
    const uint32_t second = bigEndian32(head);
    uint32_t secondSize;
    if (!readSize(source, second, secondSize))
        return false;
    if (!source.readFully(uint64_t(second) + 4, head, 4)) // the type, read though not checked
        return false;
    const uint32_t moov = second + secondSize;
    if (!source.readFully(moov, head, 8) || std::memcmp(head + 4, "moov", 4) != 0)
        return false;

    uint32_t child = moov + 8;
    if (!passBoxes(source, child, 4))
        return false;
    uint32_t unused;
    if (!readSize(source, child, unused))
        return false;
    uint32_t box = child + 8;
    for (int level = 0; level < 3; ++level) {
        child = box;
        if (!passBoxes(source, child, 2))
            return false;
        box = child + 8;
    }
    child = box;
    if (!passBoxes(source, child, 4))
        return false;
    if (!source.readFully(child, head, 8) || std::memcmp(head + 4, "stco", 4) != 0)
        return false;
    uint32_t count;
    if (!readSize(source, child + 12, count))
        return false;
    table.stcoStart = child;
    table.stcoSize = bigEndian32(head);
    table.entryCount = count;
    table.start = child + 16;
    return true;
}

// How many table entries can hold chunk offsets at all. The count field alone is not
// trusted: a corrupt count near 2^32 would mean billions of reads. Entries must lie inside
// the stco box and inside the file, below 4 GiB where the 32-bit offsets would wrap and
// read the table again.
uint32_t readableEntryCount(const ChunkTable& table, uint64_t fileSize)
{
    const uint64_t boxEntries = table.stcoSize >= 16 ? (uint64_t(table.stcoSize) - 16) / 4 : 0;
    uint64_t fileEntries = 0;
    if (fileSize >= 4) {
        const uint64_t last = std::min<uint64_t>(fileSize - 4, 0xffffffffu);
        if (table.start <= last)
            fileEntries = (last - table.start) / 4 + 1;
    }
    return uint32_t(std::min<uint64_t>({table.entryCount, boxEntries, fileEntries}));
}

} // namespace

bool VXLBlackBoxData::ExtractStreamInformation(const char* path)
{
    qCDebug(lcDriveData, "#############################   START");
    clear();
    if (!path || !*path)
        return false;
    FileSource source(path);
    if (!source.isOpen())
        return false;
    return extractGuarded(source);
}

bool VXLBlackBoxData::ExtractStreamInformation(const QString& path)
{
    if (path.isEmpty()) {
        clear();
        return false;
    }
    return ExtractStreamInformation(NativeFileName::fileNameToBytes(path).constData());
}

bool VXLBlackBoxData::extractFromBytes(QByteArrayView bytes)
{
    qCDebug(lcDriveData, "#############################   START");
    clear();
    MemorySource source(bytes);
    return extractGuarded(source);
}

bool VXLBlackBoxData::extractGuarded(DriveDataSource& source)
{
    try {
        return extract(source);
    } catch (const std::bad_alloc&) {
        // The lists are bounded, yet a machine short of memory can still refuse them: the
        // recording then has no drive data, and the program goes on.
        clear();
        m_outOfMemory = true;
        return false;
    }
}

bool VXLBlackBoxData::extract(DriveDataSource& source)
{
    ChunkTable table;
    if (!findChunkTable(source, table))
        return false;
    m_announcedRecords = table.entryCount;

    constexpr uint32_t kChunkSize = kChunkHeaderSize + kRecordSize;
    const uint64_t fileSize = source.size();
    const uint32_t entries = readableEntryCount(table, fileSize);
    // Each record takes its own 155 bytes in a genuine recording; more records than that
    // means a table pointing at the same bytes again and again. And none holds more than a
    // day of them: a sparse file of a few megabytes on disk can claim gigabytes of chunks.
    const uint64_t maxRecords = std::min<uint64_t>(fileSize / kChunkSize, uint64_t(kRecordLimit));

    // The table is read a window at a time; the window's chunks are read first (by two
    // threads when there are many: each one is a separate page-cache lookup, which is most
    // of the time on a long recording), then turned into records in table order.
    constexpr uint32_t kWindow = 2048;
    unsigned char offsets[kWindow * 4];
    std::vector<unsigned char> chunks(size_t(kWindow) * kChunkSize);
    bool complete[kWindow];
    char work[VXLAviGpsData::kSize];
    const auto readChunks = [&source, &offsets, &chunks, &complete](uint32_t from, uint32_t to) {
        for (uint32_t k = from; k < to; ++k)
            complete[k] = source.readFully(bigEndian32(offsets + k * 4),
                                           chunks.data() + size_t(k) * kChunkSize, kChunkSize);
    };
    for (uint32_t first = 0; first < entries && !m_recordLimitReached; first += kWindow) {
        const uint32_t batch = std::min(kWindow, entries - first);
        const size_t got =
            source.readAt(uint64_t(table.start) + uint64_t(first) * 4, offsets, size_t(batch) * 4);
        const auto count = uint32_t(got / 4);
        if (count >= 512) {
            std::thread helper;
            try {
                helper = std::thread(readChunks, count / 2, count);
            } catch (const std::system_error&) {
                // No thread to be had: read the second half here as well.
            }
            readChunks(0, count / 2);
            if (helper.joinable())
                helper.join();
            else
                readChunks(count / 2, count);
        } else {
            readChunks(0, count);
        }
        for (uint32_t k = 0; k < count; ++k) {
            if (!complete[k])
                continue;
            // Checked before a record, so a recording that ends exactly at a bound is whole.
            if (uint64_t(m_gpsBlocks.size()) >= maxRecords || m_nmeas.size() >= kSentenceLimit) {
                qCDebug(lcDriveData, "chunk table holds more records than a recording can");
                m_recordLimitReached = true;
                break;
            }
            const unsigned char* record = chunks.data() + size_t(k) * kChunkSize + kChunkHeaderSize;
            ParseGSensor(record + 8, 16);
            std::memcpy(work, record + 24, sizeof work);
            ParseNMEA(work + 1, 128);
            m_gpsBlocks.append(VXLAviGpsData(work));
            m_fixCounts.append(quint32(m_nmeas.size()));
        }
    }
    qCDebug(lcDriveData, "#############################  FINISH");
    return true;
}

void VXLBlackBoxData::clear()
{
    m_parser.clear();
    // Assigned, not cleared: QList::clear keeps (or, when shared, allocates anew) the old
    // capacity, which after a long recording is a lot of memory for nothing.
    m_nmeas = {};
    m_gSensors = {};
    m_gpsBlocks = {};
    m_fixCounts = {};
    m_announcedRecords = 0;
    m_recordLimitReached = false;
    m_outOfMemory = false;
}

void VXLBlackBoxData::appendRecords(const VXLBlackBoxData& source, qsizetype first, qsizetype end)
{
    first = std::clamp<qsizetype>(first, 0, source.m_gpsBlocks.size());
    end = std::clamp<qsizetype>(end, first, source.m_gpsBlocks.size());
    if (first == end)
        return;
    const qsizetype firstFix = first > 0 ? source.m_fixCounts.at(first - 1) : 0;
    const qsizetype endFix = source.m_fixCounts.at(end - 1);
    const qsizetype fixesBefore = m_nmeas.size();
    m_nmeas.append(source.m_nmeas.mid(firstFix, endFix - firstFix));
    m_gSensors.append(source.m_gSensors.mid(first, end - first));
    m_gpsBlocks.append(source.m_gpsBlocks.mid(first, end - first));
    for (qsizetype i = first; i < end; ++i)
        m_fixCounts.append(quint32(fixesBefore + qsizetype(source.m_fixCounts.at(i)) - firstFix));
}

bool VXLBlackBoxData::ParseGSensor(const unsigned char* buffer, uint32_t bufferSize)
{
    (void)bufferSize; // always a 16-byte block
    constexpr float kGPerCount = 0.00390625f;
    m_gSensors.append(VXLGSensor(float(littleEndian32(buffer)) * kGPerCount,
                                 float(littleEndian32(buffer + 4)) * kGPerCount,
                                 float(littleEndian32(buffer + 8)) * kGPerCount));
    return true;
}

bool VXLBlackBoxData::ParseNMEA(char* buffer, uint32_t bufferSize)
{
    if (!buffer || bufferSize == 0)
        return false;
    char* start = buffer;
    for (uint32_t i = 0; i < bufferSize; ++i) {
        const char c = buffer[i];
        if (c == 0 || c == '\n' || c == '\r') {
            buffer[i] = 0;
            // Every ended "$G" sentence leaves a snapshot, also those the parser rejects, so
            // the fixes keep one entry per sentence of the text.
            if (start[0] == '$' && start[1] == 'G') {
                m_parser.parse(std::string_view(start, size_t(buffer + i - start)));
                m_nmeas.append(m_parser.current().duplicate());
            }
            start = buffer + i + 1;
        } else if (c == '$') {
            start = buffer + i;
        }
    }
    return true;
}
