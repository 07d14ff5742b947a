#pragma once

#include "driverecords/DriveRecordColumns.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <limits>
#include <memory>

class SafeFileReader;

// Reads the records of a drive-record file in batches. The count in the header is only what
// the file announces: it is never used to allocate or to loop, so a damaged count of four
// billion costs nothing. Only the whole records the file really holds are read; the rest of
// the announced ones are counted as missing.
class DriveRecordFileReader
{
public:
    explicit DriveRecordFileReader(qsizetype recordSize);
    ~DriveRecordFileReader();
    DriveRecordFileReader(const DriveRecordFileReader&) = delete;
    DriveRecordFileReader& operator=(const DriveRecordFileReader&) = delete;

    // Opens a regular file without blocking (a FIFO or a device is refused, not waited on)
    // and reads its header. False with errorString() when it cannot be read or is shorter
    // than the header.
    bool open(const QString& path);
    // The same over bytes in memory, which must outlive the reader (fuzzing, tests).
    bool openBytes(QByteArrayView bytes);

    QString errorString() const { return m_error; }
    quint32 announcedCount() const { return m_announced; }
    // Whole records the file can hold after its header, at most the announced count; what a
    // progress display counts towards. The records read may still end earlier.
    qint64 expectedCount() const { return m_expected; }

    // Replaces `bytes` with the next whole records (at most `maxRecords`, each recordSize
    // bytes) and answers how many; 0 at the end. A read error (a failing card) ends the
    // records as the end of the file would: the rest count as missing.
    qsizetype readRecords(QByteArray& bytes, qsizetype maxRecords);

    qint64 recordsRead() const { return m_read; }
    // Announced records not read (so far, or in the end once readRecords answered 0).
    qint64 missingCount() const { return qint64(m_announced) - m_read; }

private:
    bool readHeader();
    qint64 readFully(char* into, qint64 size);

    qsizetype m_recordSize;
    std::unique_ptr<SafeFileReader> m_file;
    QByteArrayView m_bytes;
    qint64 m_offset = 0;
    QString m_error;
    quint32 m_announced = 0;
    qint64 m_expected = 0;
    qint64 m_read = 0;
    bool m_atEnd = false;
};

template <typename Record> struct DriveRecordFileContents
{
    QList<Record> records;
    quint32 announcedCount = 0;
    // Announced records the file does not hold (it is shorter than its count says).
    qint64 missingCount = 0;
    // Records the file holds past the limit the caller set, not read.
    qint64 leftOutCount = 0;
    bool cancelled = false;
    QString error; // empty when the file was read
};

struct DriveRecordReadOptions
{
    // Called now and then with the records read and the number expected; answer false to
    // stop (the result is then marked cancelled).
    std::function<bool(qint64 done, qint64 total)> progress;
    // Most records to keep in memory; the viewers set one, far above any real log.
    qint64 maxRecords = std::numeric_limits<qint64>::max();
};

template <typename Record>
DriveRecordFileContents<Record> readDriveRecords(DriveRecordFileReader& reader,
                                                 const DriveRecordReadOptions& options = {})
{
    DriveRecordFileContents<Record> contents;
    contents.announcedCount = reader.announcedCount();
    constexpr qsizetype kBatch = 16384;
    QByteArray batch;
    while (reader.recordsRead() < options.maxRecords) {
        const qsizetype count = reader.readRecords(
            batch, qsizetype(qMin<qint64>(kBatch, options.maxRecords - reader.recordsRead())));
        if (count == 0)
            break;
        contents.records.reserve(contents.records.size() + count);
        for (qsizetype i = 0; i < count; ++i)
            contents.records.append(
                DriveRecordTraits<Record>::fromBytes(batch.constData() + i * Record::kSize));
        if (options.progress && !options.progress(reader.recordsRead(), reader.expectedCount())) {
            contents.cancelled = true;
            break;
        }
    }
    contents.error = reader.errorString();
    if (reader.recordsRead() >= options.maxRecords && !contents.cancelled) {
        contents.leftOutCount = qMax<qint64>(0, reader.expectedCount() - reader.recordsRead());
        contents.missingCount = qint64(reader.announcedCount()) - reader.expectedCount();
    } else {
        contents.missingCount = contents.cancelled ? 0 : reader.missingCount();
    }
    return contents;
}

// The whole file: its records, or an error.
template <typename Record>
DriveRecordFileContents<Record> readDriveRecordFile(const QString& path,
                                                    const DriveRecordReadOptions& options = {})
{
    DriveRecordFileReader reader(Record::kSize);
    if (!reader.open(path)) {
        DriveRecordFileContents<Record> contents;
        contents.error = reader.errorString();
        return contents;
    }
    return readDriveRecords<Record>(reader, options);
}
