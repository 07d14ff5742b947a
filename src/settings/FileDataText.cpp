#include "settings/FileDataText.h"

#include "settings/FileDataFields.h"

#include <QStringList>

#include <algorithm>

namespace {

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

bool isAsciiText(const QString& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7e; });
}

} // namespace

QByteArray fileDataJson(const _FILEDATA& record)
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

bool parseFileDataNumber(QStringView text, qint64* value)
{
    // The digits are checked here: Qt's own reading also takes a sign, blanks or a second
    // "0x" after the first, and stops quietly at a zero character.
    const QStringView trimmed = text.trimmed();
    const bool hex = trimmed.startsWith(u"0x", Qt::CaseInsensitive);
    QStringView digits = hex ? trimmed.mid(2) : trimmed;
    if (!hex && (digits.startsWith(u'+') || digits.startsWith(u'-')))
        digits = digits.mid(1);
    const auto isDigit = [hex](QChar c) {
        return (c >= u'0' && c <= u'9') ||
               (hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')));
    };
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isDigit))
        return false;
    bool ok = false;
    *value = hex ? digits.toLongLong(&ok, 16) : trimmed.toLongLong(&ok, 10);
    return ok;
}

QString applyFileDataAssignment(const QString& assignment, _FILEDATA* record)
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
            if (!parseFileDataNumber(parts[i], &number) ||
                !setFileDataNumber(&changed, *field, number, std::size_t(i)))
                return bad;
        }
        *record = changed;
        return {};
    }
    default: {
        qint64 number = 0;
        if (!parseFileDataNumber(value, &number) || !setFileDataNumber(record, *field, number))
            return bad;
        return {};
    }
    }
}
