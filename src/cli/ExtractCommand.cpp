#include "CommandOutput.h"
#include "Commands.h"

#include "drivedata/DriveDataExport.h"
#include "drivedata/VXLBlackBoxData.h"
#include "fileio/NativeFileName.h"
#include "fileio/SafeFileReader.h"

const char* const kExtractUsage =
    "Usage: vexlo-tool extract FILE [--format csv|gpx|json]\n"
    "\n"
    "Prints the drive data stored in a recording's data track.\n"
    "  csv   (default) one row per G-sensor record i of n, with what the player shows at the\n"
    "        position i/n: record,gx,gy,gz,lat,lon,speed,unit,hdop,satellites\n"
    "        (lat/lon in signed decimal degrees, unit km/h or mi/h; position and speed are\n"
    "        empty where the player shows none, hdop and satellites where there is no fix)\n"
    "  gpx   a track with one point per valid fix whose position changed\n"
    "  json  the samples, the GPS blocks and the fixes in full\n"
    "Records announced in the track's chunk table that cannot be read are counted in a\n"
    "warning on stderr; reading stops at 864000 records (a day at ten a second).\n"
    "Exit status 1 when the file has no drive data track or none of its records can be read.\n";

static_assert(VXLBlackBoxData::kRecordLimit == 864000, "the usage text names the bound");

namespace {

// Says on stderr what the output leaves out; answers false when it would hold no record.
bool reportMissingRecords(const VXLBlackBoxData& data)
{
    const qsizetype read = data.m_GSensors().size();
    const qint64 announced = data.announcedRecordCount();
    if (data.recordLimitReached()) {
        CommandOutput::writeError(
            QStringLiteral("extract: stopped after %1 records, the most this recording can hold; "
                           "%2 more are announced in its chunk table")
                .arg(read)
                .arg(announced - read));
    } else if (read == 0) {
        CommandOutput::writeError(
            announced == 0 ? QStringLiteral("extract: the drive data track holds no records")
                           : QStringLiteral("extract: none of the %1 records announced in the "
                                            "chunk table could be read")
                                 .arg(announced));
    } else if (read < announced) {
        CommandOutput::writeError(QStringLiteral("extract: %1 of %2 records announced in the "
                                                 "chunk table could not be read")
                                      .arg(announced - read)
                                      .arg(announced));
    }
    return read > 0;
}

} // namespace

int runExtractCommand(const QStringList& args)
{
    QString file;
    QString format = QStringLiteral("csv");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--format" && i + 1 < args.size()) {
            format = args[++i];
        } else if (args[i].startsWith(u"--format=")) {
            format = args[i].mid(9);
        } else if (file.isEmpty() && !args[i].startsWith(u"--")) {
            file = args[i];
        } else {
            return CommandOutput::usageError(
                "extract", QStringLiteral("unexpected argument \"%1\"").arg(args[i]));
        }
    }
    if (file.isEmpty()) {
        return CommandOutput::usageError("extract", QStringLiteral("expected one recording"));
    }
    if (format != u"csv" && format != u"gpx" && format != u"json") {
        CommandOutput::writeError(
            QStringLiteral("extract: unknown format \"%1\" (csv, gpx or json)").arg(format));
        return 2;
    }
    const QByteArray path = NativeFileName::fileNameToBytes(file);
    if (const SafeFileReader input(path.constData()); !input.isOpen()) {
        CommandOutput::writeError(
            QStringLiteral("extract: cannot read %1: %2").arg(file, input.errorString()));
        return 2;
    }

    VXLBlackBoxData data;
    if (!data.ExtractStreamInformation(path.constData())) {
        if (data.outOfMemory()) {
            CommandOutput::writeError(
                QStringLiteral("extract: not enough memory for the drive data of %1").arg(file));
            return 2;
        }
        CommandOutput::writeError(QStringLiteral("no drive data track"));
        return 1;
    }
    if (!reportMissingRecords(data))
        return 1;
    // A refused write stops the writer; the exit code and the message come from
    // CommandOutput::finish.
    QIODevice& out = CommandOutput::standardOutput();
    if (format == u"gpx")
        writeDriveDataGpx(data, out);
    else if (format == u"json")
        writeDriveDataJson(data, out);
    else
        writeDriveDataCsv(data, out);
    return 0;
}
