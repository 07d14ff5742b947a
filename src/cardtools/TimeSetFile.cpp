#include "cardtools/TimeSetFile.h"

#include "settings/FileReplace.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcClock, "vexlo.cardtools")

} // namespace

QByteArray timeSetFileText(const QDateTime& date, const QDateTime& time)
{
    // Fixed patterns with ASCII digits: the camera parses the bytes, not the user's locale.
    const QString text = date.toLocalTime().date().toString(u"yyyy/MM/dd") + u' ' +
                         time.toLocalTime().time().toString(u"HH:mm:ss");
    return text.toUtf8();
}

QString writeTimeSetFile(const QString& path, const QDateTime& date, const QDateTime& time,
                         const FileByteWriter& writer)
{
    const QByteArray text = timeSetFileText(date, time);
    if (text.size() != kTimeSetFileSize)
        return QStringLiteral("the date %1 cannot be written as yyyy/MM/dd")
            .arg(QString::fromUtf8(text));
    const QString reason = replaceFileContents(path, text, writer);
    if (!reason.isEmpty())
        qCWarning(lcClock, "%s: %s", qUtf8Printable(path), qUtf8Printable(reason));
    return reason;
}
