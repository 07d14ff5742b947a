#include "cardtools/TimeSetFile.h"

#include "fileio/SafeFileWriter.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcClock, "vexlo.cardtools", QtWarningMsg)

} // namespace

QByteArray timeSetFileText(QDate date, QTime time)
{
    // Fixed patterns with ASCII digits: the camera parses the bytes, not the user's locale.
    const QString text = date.toString(u"yyyy/MM/dd") + u' ' + time.toString(u"HH:mm:ss");
    return text.toUtf8();
}

QByteArray timeSetFileText(const QDateTime& date, const QDateTime& time)
{
    return timeSetFileText(date.toLocalTime().date(), time.toLocalTime().time());
}

QString writeTimeSetFile(const QString& path, const QDateTime& date, const QDateTime& time)
{
    return writeTimeSetFile(path, date.toLocalTime().date(), time.toLocalTime().time());
}

QString writeTimeSetFile(const QString& path, QDate date, QTime time)
{
    const QByteArray text = timeSetFileText(date, time);
    if (text.size() != kTimeSetFileSize)
        return QStringLiteral("no valid date and time in the range 0001 to 9999");
    const QString reason = replaceFileContents(path, text);
    if (!reason.isEmpty())
        qCWarning(lcClock, "%s: %s", qUtf8Printable(path), qUtf8Printable(reason));
    return reason;
}
