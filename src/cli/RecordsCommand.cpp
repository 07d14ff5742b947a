#include "CommandOutput.h"
#include "Commands.h"

#include "driverecords/CsvFileExport.h"
#include "driverecords/DriveRecordCsv.h"
#include "driverecords/DriveRecordFile.h"

#include <QFileInfo>

const char* const kRecordsUsage =
    "Usage: vexlo-tool records FILE [--out CSV]\n"
    "\n"
    "Prints the records of a drive-record file as comma-separated text, exactly as the viewers\n"
    "export them: a line of the column titles, then one line per record. FILE is a flash-data\n"
    "file (.drv, 15 columns) or an OBD drive-info file (.obd, 26 columns), chosen by its\n"
    "extension. --out writes the text to CSV instead of standard output, replacing the file\n"
    "whole or not at all.\n"
    "A file that announces more records than it holds gives those it holds, and a warning on\n"
    "standard error says how many are missing; exit status 1 when it holds none of them.\n"
    "Exit status 2 when FILE cannot be read or the output cannot be written.\n";

namespace {

int usageError(const QString& message)
{
    return CommandOutput::usageError("records", message);
}

template <typename Record>
int printRecords(const QString& file, const QString& out, DriveRecordKind kind)
{
    DriveRecordFileReader reader(Record::kSize);
    if (!reader.open(file)) {
        CommandOutput::writeError(
            QStringLiteral("records: cannot read %1: %2").arg(file, reader.errorString()));
        return 2;
    }
    const QStringList titles = englishDriveRecordTitles(kind);
    const auto produce = [&](const DriveRecordCsvWriter::Sink& sink) {
        DriveRecordCsvWriter writer(kind, sink);
        return writer.writeHeader(titles) && streamDriveRecordsCsv<Record>(reader, writer);
    };

    if (out.isEmpty()) {
        // Written as the text comes: an export of a million records is a hundred megabytes.
        // A failed write stops the writer; the command's end reports it (exit 2).
        produce(deviceSink(&CommandOutput::standardOutput()));
    } else {
        const QString reason = writeCsvFileWhole(out, produce);
        if (!reason.isEmpty()) {
            CommandOutput::writeError(
                QStringLiteral("records: cannot write %1: %2").arg(out, reason));
            return 2;
        }
    }
    if (reader.missingCount() > 0) {
        CommandOutput::writeError(
            QStringLiteral("records: %1 announces %2 records but holds %3 (%4 missing)")
                .arg(file)
                .arg(reader.announcedCount())
                .arg(reader.recordsRead())
                .arg(reader.missingCount()));
        if (reader.recordsRead() == 0)
            return 1;
    }
    return 0;
}

} // namespace

int runRecordsCommand(const QStringList& args)
{
    QString file;
    QString out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--out") {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("--out needs a file"));
            out = args[++i];
        } else if (arg.startsWith(u"--out=")) {
            out = arg.mid(6);
        } else if (file.isEmpty() && !arg.startsWith(u'-')) {
            file = arg;
        } else {
            return usageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (file.isEmpty())
        return usageError(QStringLiteral("expected a .drv or .obd file"));
    if (out.isEmpty() && args.contains(QStringLiteral("--out=")))
        return usageError(QStringLiteral("--out needs a file"));

    const QString extension = QFileInfo(file).suffix().toLower();
    if (extension == u"drv")
        return printRecords<_FLASH_SAVE_VALUE_STRUCT>(file, out, DriveRecordKind::FlashData);
    if (extension == u"obd")
        return printRecords<_OBD_SAVE_VALUE_STRUCT>(file, out, DriveRecordKind::ObdDriveInfo);
    return usageError(
        QStringLiteral("%1 is neither a .drv nor an .obd file (the extension decides)").arg(file));
}
