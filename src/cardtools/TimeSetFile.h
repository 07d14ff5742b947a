#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The camera sets its clock from timeset.cfg at the root of its card: 19 ASCII bytes
// "yyyy/MM/dd HH:mm:ss" in local time, with no line end.
inline constexpr char kTimeSetFileName[] = "timeset.cfg";
constexpr qsizetype kTimeSetFileSize = 19;

// The file's text from the date part of `date` and the time part of `time`, both taken in the
// computer's local time.
QByteArray timeSetFileText(const QDateTime& date, const QDateTime& time);
QByteArray timeSetFileText(QDate date, QTime time);

// Writes the text to `path` so that the file holds exactly these 19 bytes afterwards (a longer
// old file does not leave a tail), or keeps the old file whole on failure; a device or a FIFO
// of that name is refused. Answers an empty text on success, else the reason.
QString writeTimeSetFile(const QString& path, QDate date, QTime time);
QString writeTimeSetFile(const QString& path, const QDateTime& date, const QDateTime& time);
