#include "driverecords/DriveRecordFile.h"

#include "fileio/SafeFileReader.h"

#include <QtEndian>

#include <cstring>

namespace {

// At most this many records are read in one go, whatever a caller asks for: the buffer
// stays a few megabytes.
constexpr qsizetype kMostRecordsPerRead = 65536;

} // namespace

DriveRecordFileReader::DriveRecordFileReader(qsizetype recordSize) : m_recordSize(recordSize) {}

DriveRecordFileReader::~DriveRecordFileReader() = default;

bool DriveRecordFileReader::open(const QString& path)
{
    m_file = std::make_unique<SafeFileReader>(path);
    if (!m_file->isOpen()) {
        m_error = m_file->errorString();
        m_file.reset();
        return false;
    }
    const qint64 size = qint64(qMin<uint64_t>(m_file->size(), uint64_t(1) << 62));
    if (!readHeader())
        return false;
    m_expected =
        qMin<qint64>(m_announced, qMax<qint64>(0, size - kDriveRecordHeaderSize) / m_recordSize);
    return true;
}

bool DriveRecordFileReader::openBytes(QByteArrayView bytes)
{
    m_bytes = bytes;
    if (!readHeader())
        return false;
    m_expected = qMin<qint64>(m_announced, (bytes.size() - kDriveRecordHeaderSize) / m_recordSize);
    return true;
}

bool DriveRecordFileReader::readHeader()
{
    char header[kDriveRecordHeaderSize];
    const qint64 got = readFully(header, kDriveRecordHeaderSize);
    if (got < kDriveRecordHeaderSize) {
        m_error = QStringLiteral("only %1 bytes, shorter than the %2-byte header of a "
                                 "drive-record file")
                      .arg(got)
                      .arg(kDriveRecordHeaderSize);
        return false;
    }
    m_announced = qFromLittleEndian<quint32>(header);
    return true;
}

// Reads until `size` bytes or the end of the file (a read error ends it too); answers the
// bytes read.
qint64 DriveRecordFileReader::readFully(char* into, qint64 size)
{
    qint64 done = 0;
    if (m_file) {
        done = qint64(m_file->readAt(uint64_t(m_offset), into, size_t(size)));
    } else {
        done = qMax<qint64>(0, qMin<qint64>(size, m_bytes.size() - m_offset));
        std::memcpy(into, m_bytes.data() + m_offset, size_t(done));
    }
    m_offset += done;
    return done;
}

qsizetype DriveRecordFileReader::readRecords(QByteArray& bytes, qsizetype maxRecords)
{
    const qint64 left = qint64(m_announced) - m_read;
    // What the file's size says it holds bounds the buffer too (a growing file is still read
    // to its end, a record at a time past what it held when opened).
    const qint64 held = qMax<qint64>(m_expected - m_read, 1);
    const qsizetype wanted = qsizetype(
        qMin<qint64>(qMin<qint64>(left, maxRecords), qMin<qint64>(held, kMostRecordsPerRead)));
    if (m_atEnd || wanted <= 0 || (!m_file && m_bytes.isNull())) {
        bytes.clear();
        return 0;
    }
    bytes.resize(wanted * m_recordSize);
    const qint64 got = readFully(bytes.data(), bytes.size());
    const qsizetype records = qsizetype(got / m_recordSize);
    if (records < wanted)
        m_atEnd = true; // the file ends (a partial record at its end is not one)
    bytes.resize(records * m_recordSize);
    m_read += records;
    return records;
}
