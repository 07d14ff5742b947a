#pragma once

#include "driverecords/DriveRecordColumns.h"
#include "driverecords/DriveRecordFile.h"
#include "driverecords/DriveRecordText.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

// The comma-separated export of drive records, shared by the viewers and vexlo-tool: a first
// line of the column titles, then one line per record with exactly the cells of the viewer's
// table, in the table's column order. UTF-8, lines ended by "\n", nothing quoted or escaped
// (no title or cell holds a comma). The text goes out in pieces of 64 KiB,
// so a file of a million records is never held in memory.
class DriveRecordCsvWriter
{
public:
    // Takes each piece; answers false when it could not be written (the writer then stops).
    using Sink = std::function<bool(const char* data, qsizetype size)>;

    DriveRecordCsvWriter(DriveRecordKind kind, Sink sink);

    bool writeHeader(const QStringList& titles);

    // One line; rowNumber is the 1-based number of the first column.
    template <typename Record> bool writeRecord(const Record& record, int64_t rowNumber)
    {
        static_assert(DriveRecordTraits<Record>::kKind == DriveRecordKind::FlashData ||
                      DriveRecordTraits<Record>::kKind == DriveRecordKind::ObdDriveInfo);
        if (m_failed)
            return false;
        if (m_buffer.size() - m_used < m_lineRoom && !flush())
            return false;
        char* out = m_buffer.data() + m_used;
        for (int column = 0; column < m_columnCount; ++column) {
            if (column > 0)
                *out++ = ',';
            out = writeDriveRecordCell(out, record, column, rowNumber);
        }
        *out++ = '\n';
        m_used = out - m_buffer.constData();
        return true;
    }

    // Hands what is buffered to the sink; answers false when anything failed.
    bool finish();
    bool failed() const { return m_failed; }

private:
    bool flush();

    Sink m_sink;
    int m_columnCount;
    qsizetype m_lineRoom;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    bool m_failed = false;
};

// The English titles of a kind's columns, as vexlo-tool prints them.
QStringList englishDriveRecordTitles(DriveRecordKind kind);

// A sink writing to a device; false on a short or failed write.
DriveRecordCsvWriter::Sink deviceSink(QIODevice* device);

// Writes the header and all `records`, numbering rows from 1; `progress` (optional) is told
// the records written now and then. Answers false when the sink failed.
template <typename Record>
bool writeDriveRecordsCsv(DriveRecordCsvWriter& writer, const QStringList& titles,
                          const QList<Record>& records,
                          const std::function<void(qint64 done, qint64 total)>& progress = {})
{
    if (!writer.writeHeader(titles))
        return false;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!writer.writeRecord(records[i], int64_t(i) + 1))
            return false;
        if (progress && (i + 1) % 65536 == 0)
            progress(i + 1, records.size());
    }
    return writer.finish();
}

// Streams a file's records from `reader` into `writer` (after the header), reading a batch
// at a time: memory stays the same whatever the size of the file. Answers false when the
// sink failed.
template <typename Record>
bool streamDriveRecordsCsv(DriveRecordFileReader& reader, DriveRecordCsvWriter& writer)
{
    QByteArray batch;
    for (;;) {
        const qint64 first = reader.recordsRead() + 1;
        const qsizetype count = reader.readRecords(batch, 8192);
        if (count == 0)
            break;
        for (qsizetype i = 0; i < count; ++i) {
            const Record record =
                DriveRecordTraits<Record>::fromBytes(batch.constData() + i * Record::kSize);
            if (!writer.writeRecord(record, first + i))
                return false;
        }
    }
    return writer.finish();
}
