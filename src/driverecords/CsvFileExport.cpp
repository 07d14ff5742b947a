#include "driverecords/CsvFileExport.h"

#include "fileio/SafeFileWriter.h"

QString writeCsvFileWhole(const QString& path,
                          const std::function<bool(const DriveRecordCsvWriter::Sink&)>& produce)
{
    SafeFileWriter file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!produce(deviceSink(&file))) {
        const QString reason = file.errorString();
        file.discard();
        return reason.isEmpty() ? QStringLiteral("the export was not completed") : reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
