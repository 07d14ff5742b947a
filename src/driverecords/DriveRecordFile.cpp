#include "driverecords/DriveRecordFile.h"

#include "driverecords/SafeFileOpen.h"

#include <QtEndian>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// At most this many records are read in one go, whatever a caller asks for: the buffer
// stays a few megabytes.
constexpr qsizetype kMostRecordsPerRead = 65536;

} // namespace

DriveRecordFileReader::DriveRecordFileReader(qsizetype recordSize) : m_recordSize(recordSize) {}

DriveRecordFileReader::~DriveRecordFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool DriveRecordFileReader::open(const QString& path)
{
    QString error;
    m_fd = openRegularFileForReading(path, &error);
    if (m_fd < 0) {
        m_error = error;
        return false;
    }
    struct stat status;
    const qint64 size = ::fstat(m_fd, &status) == 0 ? qint64(status.st_size) : 0;
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
    if (got < 0)
        return false;
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

qint64 DriveRecordFileReader::readSome(char* into, qint64 size)
{
    if (m_fd < 0) {
        const qint64 n = qMin<qint64>(size, m_bytes.size() - m_bytesOffset);
        std::memcpy(into, m_bytes.data() + m_bytesOffset, size_t(n));
        m_bytesOffset += n;
        return n;
    }
    for (;;) {
        const ssize_t n = ::read(m_fd, into, size_t(size));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return -1;
        }
    }
}

// Reads until `size` bytes or the end of the file; answers the bytes read, -1 on an error.
qint64 DriveRecordFileReader::readFully(char* into, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = readSome(into + done, size - done);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
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
    if (m_atEnd || wanted <= 0 || (m_fd < 0 && m_bytes.isNull())) {
        bytes.clear();
        return 0;
    }
    bytes.resize(wanted * m_recordSize);
    const qint64 got = readFully(bytes.data(), bytes.size());
    if (got < 0) {
        m_atEnd = true;
        bytes.clear();
        return 0;
    }
    const qsizetype records = qsizetype(got / m_recordSize);
    if (records < wanted)
        m_atEnd = true; // the file ends (a partial record at its end is not one)
    bytes.resize(records * m_recordSize);
    m_read += records;
    return records;
}
