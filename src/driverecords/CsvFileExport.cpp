#include "driverecords/CsvFileExport.h"

#include <QSaveFile>

QString writeCsvFileWhole(const QString& path,
                          const std::function<bool(const DriveRecordCsvWriter::Sink&)>& produce)
{
    QSaveFile file(path);
    // Unbuffered, so a full disk shows in the write that meets it rather than being lost in
    // the commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (!produce(deviceSink(&file))) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason.isEmpty() ? QStringLiteral("write failed") : reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
