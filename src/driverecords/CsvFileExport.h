#pragma once

#include "driverecords/DriveRecordCsv.h"

#include <QString>

#include <functional>

// Writes a CSV export file whole or not at all: `produce` writes the text through the sink it
// is given and answers false when anything failed. A failure leaves the file that was there
// before as it was. Answers an empty text on success, else the reason.
QString writeCsvFileWhole(const QString& path,
                          const std::function<bool(const DriveRecordCsvWriter::Sink&)>& produce);

// The export of the viewers: header and records of one table into `path`.
template <typename Record>
QString
exportDriveRecordsCsvFile(const QString& path, const QStringList& titles,
                          const QList<Record>& records,
                          const std::function<void(qint64 done, qint64 total)>& progress = {})
{
    return writeCsvFileWhole(path, [&](const DriveRecordCsvWriter::Sink& sink) {
        DriveRecordCsvWriter writer(DriveRecordTraits<Record>::kKind, sink);
        return writeDriveRecordsCsv(writer, titles, records, progress);
    });
}
