// libFuzzer target: arbitrary bytes as config.bin, through the record reader, its JSON view and
// the completion for saving. The record's bytes, the JSON and the checksum must agree.
#include "settings/FileData.h"
#include "settings/FileDataFields.h"
#include "settings/FileDataText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

namespace {

// The JSON object of the record: parsed, with one value per field and the checksum flag.
QJsonObject parsedJson(const _FILEDATA& record)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(fileDataJson(record), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        document.object().size() != qsizetype(fileDataFields().size()) + 1)
        std::abort();
    return document.object();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    _FILEDATA record{};
    if (!fileDataFromBytes(bytes, &record)) {
        if (size >= kFileDataSize)
            std::abort(); // a full record always reads
        return 0;
    }
    if (fileDataToBytes(record) != bytes.left(kFileDataSize))
        std::abort();

    const QJsonObject json = parsedJson(record);
    for (const FileDataField& field : fileDataFields()) {
        const QJsonValue value = json.value(QLatin1StringView(field.name));
        if (field.type == FileDataFieldType::Text) {
            // Bytes outside printable ASCII are \u00XX escapes: Latin-1 gives them back.
            if (value.toString().toLatin1() != fileDataText(record, field))
                std::abort();
        } else if (field.type == FileDataFieldType::U32Array) {
            const QJsonArray array = value.toArray();
            if (array.size() != qsizetype(field.count))
                std::abort();
            for (std::size_t i = 0; i < field.count; ++i) {
                if (array.at(qsizetype(i)).toDouble() != double(fileDataNumber(record, field, i)))
                    std::abort();
            }
        } else if (value.toDouble() != double(fileDataNumber(record, field))) {
            std::abort();
        }
    }
    if (json.value(u"checksum_valid").toBool() != (record.checksum == fileDataChecksum(record)))
        std::abort();

    completeFileDataForSave(&record);
    if (!parsedJson(record).value(u"checksum_valid").toBool())
        std::abort();
    return 0;
}
