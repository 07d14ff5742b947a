#pragma once

#include "settings/FileData.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// The settings record as text: the JSON object that shows it, and the NAME=VALUE assignments
// that change it (vexlo-tool config show and set).

// Every field by name in file order: numbers, the text fields up to their first zero byte
// (bytes outside printable ASCII as \u00XX escapes), dummy00 as an array of 19 numbers, then
// "checksum_valid": whether the stored checksum is right. Ends with a newline.
QByteArray fileDataJson(const _FILEDATA& record);

// A number as decimal with an optional sign, or as hexadecimal after "0x" (digits only);
// blanks around it are ignored. False for anything else, and for values beyond 64 bits.
bool parseFileDataNumber(QStringView text, qint64* value);

// Stores one NAME=VALUE into the record: a number for number fields, printable ASCII for
// text fields (cut to the field's width), 19 comma-separated numbers for dummy00. Answers an
// empty text, or what is wrong, naming the field or the assignment; the record is then
// unchanged.
QString applyFileDataAssignment(const QString& assignment, _FILEDATA* record);
