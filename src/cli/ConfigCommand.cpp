#include "CommandOutput.h"
#include "Commands.h"

#include "settings/FileData.h"
#include "settings/FileDataText.h"

#include <QLoggingCategory>

const char* const kConfigUsage =
    "Usage: vexlo-tool config defaults OUT\n"
    "       vexlo-tool config show FILE\n"
    "       vexlo-tool config set FILE NAME=VALUE...\n"
    "\n"
    "Reads and writes the camera's 500-byte settings file (config.bin).\n"
    "  defaults  writes the factory settings file to OUT.\n"
    "  show      prints a JSON object with every field by its name, in file order: numbers,\n"
    "            the text fields up to their first zero byte, dummy00 as an array of 19\n"
    "            numbers, and \"checksum_valid\": whether the stored checksum is right.\n"
    "  set       sets fields and saves the file as the settings window does: osd_plate_flag\n"
    "            follows szPlateNumber and the checksum is recomputed. VALUE is a number\n"
    "            (decimal, or hex with 0x), ASCII text for szPlateNumber, wifi_ssid and\n"
    "            wifi_password (cut to 8 or 16 bytes), 19 comma-separated numbers for\n"
    "            dummy00. An unknown field or a bad value changes nothing, and so does a\n"
    "            FILE that is not exactly 500 bytes.\n"
    "The file is replaced whole or not at all, keeping its mode and owner; a FIFO or a\n"
    "device is neither read nor replaced.\n";

namespace {

int usageError(const QString& message)
{
    return CommandOutput::usageError("config", message);
}

// `set` reads only a file of exactly 500 bytes, as the settings window does: a record taken
// from a longer file would be written back over it, cutting it.
bool readRecord(const QString& path, _FILEDATA* record, bool exactSize)
{
    QString reason;
    if (exactSize ? readExactFileData(path, record, &reason) : readFileData(path, record, &reason))
        return true;
    CommandOutput::writeError(
        QStringLiteral("config: cannot read %1 as a settings file: %2").arg(path, reason));
    return false;
}

int runDefaults(const QStringList& args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("defaults takes one output file"));
    QString reason;
    if (!writeDefaultFileData(args.first(), &reason).isEmpty()) {
        CommandOutput::writeError(
            QStringLiteral("config: cannot write %1: %2").arg(args.first(), reason));
        return 2;
    }
    return 0;
}

int runShow(const QStringList& args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("show takes one settings file"));
    _FILEDATA record{};
    if (!readRecord(args.first(), &record, false))
        return 2;
    CommandOutput::writeOut(fileDataJson(record));
    return 0;
}

int runSet(const QStringList& args)
{
    if (args.size() < 2)
        return usageError(QStringLiteral("set takes a settings file and NAME=VALUE..."));
    const QString& path = args.first();
    _FILEDATA record{};
    if (!readRecord(path, &record, true))
        return 2;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString problem = applyFileDataAssignment(args[i], &record);
        if (!problem.isEmpty()) {
            CommandOutput::writeError(
                QStringLiteral("config set: %1; %2 is unchanged").arg(problem, path));
            return 2;
        }
    }
    completeFileDataForSave(&record);
    QString reason;
    if (!writeFileData(record, path, &reason).isEmpty()) {
        CommandOutput::writeError(
            QStringLiteral("config set: cannot write %1: %2; the old file is kept")
                .arg(path, reason));
        return 2;
    }
    return 0;
}

} // namespace

int runConfigCommand(const QStringList& args)
{
    // The reason of a failure is printed with its message; the log would only repeat it.
    QLoggingCategory::setFilterRules(QStringLiteral("vexlo.*.info=false\nvexlo.settings=false"));
    if (args.isEmpty())
        return usageError(QStringLiteral("expected defaults, show or set"));
    const QString& action = args.first();
    const QStringList rest = args.mid(1);
    if (action == u"defaults")
        return runDefaults(rest);
    if (action == u"show")
        return runShow(rest);
    if (action == u"set")
        return runSet(rest);
    return usageError(QStringLiteral("unknown action \"%1\"").arg(action));
}
