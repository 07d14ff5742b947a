// libFuzzer target: lines of text as `vexlo-tool config set` assignments on the factory record,
// and each line through the number reader. A refused assignment changes nothing; a number read
// is exactly the number written.
#include "settings/FileData.h"
#include "settings/FileDataFields.h"
#include "settings/FileDataText.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

// The text a number reads from, written the one plain way: no blanks, no '+', no leading
// zeros, lower-case hex after "0x".
QString canonicalNumberText(QStringView text)
{
    QStringView rest = text.trimmed();
    const bool hex = rest.startsWith(u"0x", Qt::CaseInsensitive);
    QString sign;
    if (hex) {
        rest = rest.mid(2);
    } else if (rest.startsWith(u'-') || rest.startsWith(u'+')) {
        if (rest.front() == u'-')
            sign = QStringLiteral("-");
        rest = rest.mid(1);
    }
    while (rest.size() > 1 && rest.front() == u'0')
        rest = rest.mid(1);
    if (rest == u"0")
        sign.clear();
    return (hex ? QStringLiteral("0x") : sign) + rest.toString().toLower();
}

void checkNumber(QStringView text)
{
    qint64 value = 0;
    if (!parseFileDataNumber(text, &value))
        return;
    const bool hex = text.trimmed().startsWith(u"0x", Qt::CaseInsensitive);
    const QString written =
        hex ? QStringLiteral("0x") + QString::number(value, 16) : QString::number(value);
    if (written != canonicalNumberText(text))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    _FILEDATA record;
    initDefaultFileData(&record);
    int lines = 0;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        if (++lines > 32)
            break;
        checkNumber(line);
        const QString assignment = line.toString();
        const QByteArray before = fileDataToBytes(record);
        const QString problem = applyFileDataAssignment(assignment, &record);
        if (!problem.isEmpty()) {
            if (fileDataToBytes(record) != before)
                std::abort();
            continue;
        }
        // An accepted number lands in its field as read.
        const qsizetype equals = assignment.indexOf(u'=');
        const FileDataField* field = findFileDataField(QStringView(assignment).left(equals));
        qint64 value = 0;
        if (!field)
            std::abort();
        if (field->type != FileDataFieldType::Text && field->type != FileDataFieldType::U32Array &&
            (!parseFileDataNumber(QStringView(assignment).mid(equals + 1), &value) ||
             fileDataNumber(record, *field) != value))
            std::abort();
    }
    completeFileDataForSave(&record);
    _FILEDATA back{};
    if (!fileDataFromBytes(fileDataToBytes(record), &back) ||
        fileDataToBytes(back) != fileDataToBytes(record))
        std::abort();
    return 0;
}
