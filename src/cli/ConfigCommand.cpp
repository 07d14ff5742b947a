#include "CommandOutput.h"
#include "Commands.h"

#include "settings/FileData.h"
#include "settings/FileDataFields.h"

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

QByteArray jsonText(const QByteArray& bytes)
{
    QByteArray out = "\"";
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (c == '"' || c == '\\')
            out += '\\' + QByteArray(1, c);
        else if (u < 0x20 || u >= 0x7f) // camera text is ASCII: escape anything else as a byte
            out += "\\u00" + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            out += c;
    }
    return out + '"';
}

QByteArray showRecord(const _FILEDATA& record)
{
    QByteArray out = "{\n";
    for (const FileDataField& field : fileDataFields()) {
        out += "  \"" + QByteArray(field.name) + "\": ";
        if (field.type == FileDataFieldType::Text) {
            out += jsonText(fileDataText(record, field));
        } else if (field.type == FileDataFieldType::U32Array) {
            out += '[';
            for (std::size_t i = 0; i < field.count; ++i)
                out += (i ? ", " : "") + QByteArray::number(fileDataNumber(record, field, i));
            out += ']';
        } else {
            out += QByteArray::number(fileDataNumber(record, field));
        }
        out += ",\n";
    }
    const bool valid = record.checksum == fileDataChecksum(record);
    out += QByteArray("  \"checksum_valid\": ") + (valid ? "true" : "false") + "\n}\n";
    return out;
}

bool parseNumber(QStringView text, qint64* value)
{
    bool ok = false;
    if (text.startsWith(u"0x") || text.startsWith(u"0X"))
        *value = text.mid(2).toLongLong(&ok, 16);
    else
        *value = text.toLongLong(&ok, 10);
    return ok;
}

bool isAsciiText(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

// Stores one NAME=VALUE into the record; answers an empty text, or what is wrong.
QString applyAssignment(const QString& assignment, _FILEDATA* record)
{
    const qsizetype equals = assignment.indexOf(u'=');
    if (equals <= 0)
        return QStringLiteral("expected NAME=VALUE, got \"%1\"").arg(assignment);
    const QString name = assignment.left(equals);
    const QString value = assignment.mid(equals + 1);
    const FileDataField* field = findFileDataField(name);
    if (!field)
        return QStringLiteral("unknown field \"%1\"").arg(name);
    const QString bad = QStringLiteral("bad value \"%1\" for %2").arg(value, name);

    switch (field->type) {
    case FileDataFieldType::Text:
        if (!isAsciiText(value))
            return bad + QStringLiteral(" (printable ASCII expected)");
        setFileDataText(record, *field, value.toLatin1());
        return {};
    case FileDataFieldType::U32Array: {
        const QStringList parts = value.split(u',');
        if (parts.size() != qsizetype(field->count))
            return bad + QStringLiteral(" (%1 comma-separated numbers expected)").arg(field->count);
        _FILEDATA changed = *record;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            qint64 number = 0;
            if (!parseNumber(parts[i].trimmed(), &number) ||
                !setFileDataNumber(&changed, *field, number, std::size_t(i)))
                return bad;
        }
        *record = changed;
        return {};
    }
    default: {
        qint64 number = 0;
        if (!parseNumber(value, &number) || !setFileDataNumber(record, *field, number))
            return bad;
        return {};
    }
    }
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
    CommandOutput::writeOut(showRecord(record));
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
        const QString problem = applyAssignment(args[i], &record);
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
    if (!rest.isEmpty() && !CommandOutput::acceptsFileName("config", rest.first()))
        return 2;
    if (action == u"defaults")
        return runDefaults(rest);
    if (action == u"show")
        return runShow(rest);
    if (action == u"set")
        return runSet(rest);
    return usageError(QStringLiteral("unknown action \"%1\"").arg(action));
}
