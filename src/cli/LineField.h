#pragma once

#include <QByteArray>
#include <QStringView>

#include <string>

// The line outputs (scan, volumes) separate fields by one TAB and end each line with a
// newline, so a name holding either would break its line apart. Such characters are written
// as escapes: TAB as \t, newline as \n, and the backslash itself as \\. Everything else is
// written as it is; names that are not UTF-8 keep their bytes (NativeFileName).
void appendLineField(std::string& out, QStringView text);
QByteArray lineField(QStringView text);
