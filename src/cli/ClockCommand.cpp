#include "CommandOutput.h"
#include "Commands.h"

#include "cardtools/TimeSetFile.h"

#include <QLoggingCategory>

const char* const kClockUsage =
    "Usage: vexlo-tool clock OUT [--date YYYY-MM-DD] [--time HH:MM:SS]\n"
    "\n"
    "Writes the camera's clock file (timeset.cfg) to OUT: the 19 bytes \"yyyy/MM/dd HH:mm:ss\"\n"
    "in local time, from which the camera sets its clock when the card goes back in. The\n"
    "date and the time default to now.\n";

namespace {

int usageError(const QString& message)
{
    return CommandOutput::usageError("clock", message);
}

} // namespace

int runClockCommand(const QStringList& args)
{
    // The reason of a failure is printed below; the log would only repeat it.
    QLoggingCategory::setFilterRules(QStringLiteral("vexlo.*=false"));
    const QDateTime now = QDateTime::currentDateTime();
    QDate date = now.date();
    QTime time = now.time();
    QString path;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--date" || arg == u"--time") {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("%1 needs a value").arg(arg));
            const QString& value = args[++i];
            if (arg == u"--date") {
                date = QDate::fromString(value, u"yyyy-MM-dd");
                if (!date.isValid())
                    return usageError(QStringLiteral("bad date \"%1\"").arg(value));
            } else {
                time = QTime::fromString(value, u"HH:mm:ss");
                if (!time.isValid())
                    return usageError(QStringLiteral("bad time \"%1\"").arg(value));
            }
        } else if (path.isEmpty() && !arg.startsWith(u'-')) {
            path = arg;
        } else {
            return usageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (path.isEmpty())
        return usageError(QStringLiteral("expected an output file"));
    const QString reason = writeTimeSetFile(path, date, time);
    if (!reason.isEmpty()) {
        CommandOutput::writeError(QStringLiteral("clock: cannot write %1: %2").arg(path, reason));
        return 2;
    }
    return 0;
}
