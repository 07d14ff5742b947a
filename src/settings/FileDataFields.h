#pragma once

#include "settings/FileData.h"

#include <QAnyStringView>
#include <QByteArray>

#include <span>

// The fields of _FILEDATA by name, in file order: used to read and write the record
// byte-order-independently and to show or set fields by name (vexlo-tool config).
enum class FileDataFieldType { U8, U16, U32, I32, Text, U32Array };

struct FileDataField
{
    const char* name;
    std::size_t offset;
    FileDataFieldType type;
    std::size_t count; // bytes of a Text field, elements of a U32Array, else 1

    constexpr std::size_t size() const
    {
        switch (type) {
        case FileDataFieldType::U8:
        case FileDataFieldType::Text:
            return count;
        case FileDataFieldType::U16:
            return 2;
        case FileDataFieldType::U32:
        case FileDataFieldType::I32:
            return 4;
        case FileDataFieldType::U32Array:
            return 4 * count;
        }
        return 0;
    }
};

std::span<const FileDataField> fileDataFields();
const FileDataField* findFileDataField(QAnyStringView name);

// The 500 bytes of the record as the camera stores them (little-endian).
QByteArray fileDataToBytes(const _FILEDATA& record);
// The record from its stored bytes; `bytes` must hold at least 500 bytes, further ones are
// ignored. Answers false, leaving `record` alone, for fewer.
bool fileDataFromBytes(const QByteArray& bytes, _FILEDATA* record);

// Number fields as a 64-bit value (signed for I32); element `index` of a U32Array.
qint64 fileDataNumber(const _FILEDATA& record, const FileDataField& field, std::size_t index = 0);
// Stores `value` into a number field; answers false, leaving the record alone, when the value
// does not fit the field's type.
bool setFileDataNumber(_FILEDATA* record, const FileDataField& field, qint64 value,
                       std::size_t index = 0);

// A Text field up to its first zero byte (all of it when it has none).
QByteArray fileDataText(const _FILEDATA& record, const FileDataField& field);
// Stores text into a Text field, cut to its width and padded with zero bytes.
void setFileDataText(_FILEDATA* record, const FileDataField& field, const QByteArray& text);
