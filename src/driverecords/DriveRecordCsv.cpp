#include "driverecords/DriveRecordCsv.h"

#include <QIODevice>

namespace {

constexpr qsizetype kBufferSize = 64 * 1024;

} // namespace

DriveRecordCsvWriter::DriveRecordCsvWriter(DriveRecordKind kind, Sink sink)
    : m_sink(std::move(sink)), m_columnCount(int(driveRecordColumns(kind).size())),
      m_lineRoom(qsizetype(m_columnCount) * (DriveRecordText::kMaxCellTextSize + 1) + 1),
      m_buffer(kBufferSize, Qt::Uninitialized)
{
}

bool DriveRecordCsvWriter::writeHeader(const QStringList& titles)
{
    const QByteArray line = titles.join(u',').toUtf8() + '\n';
    if (m_failed || !flush())
        return false;
    if (!m_sink(line.constData(), line.size()))
        m_failed = true;
    return !m_failed;
}

bool DriveRecordCsvWriter::flush()
{
    if (m_failed)
        return false;
    if (m_used > 0 && !m_sink(m_buffer.constData(), m_used))
        m_failed = true;
    m_used = 0;
    return !m_failed;
}

bool DriveRecordCsvWriter::finish()
{
    return flush();
}

QStringList englishDriveRecordTitles(DriveRecordKind kind)
{
    QStringList titles;
    for (const DriveRecordColumn& column : driveRecordColumns(kind))
        titles << QString::fromLatin1(column.englishTitle);
    return titles;
}

DriveRecordCsvWriter::Sink deviceSink(QIODevice* device)
{
    return [device](const char* data, qsizetype size) {
        return device->write(data, size) == size;
    };
}
