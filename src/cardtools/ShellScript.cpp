#include "cardtools/ShellScript.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>

namespace {

Q_LOGGING_CATEGORY(lcShell, "vexlo.cardtools", QtWarningMsg)

QVariantMap errorRecord(int number, const QString& message)
{
    return {{QString::fromLatin1(kScriptErrorNumberKey), number},
            {QString::fromLatin1(kScriptErrorMessageKey), message}};
}

QVariantMap runProcess(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1))
        return errorRecord(kScriptCannotStartNumber, process.errorString());
    // Formatting a large card or waiting for the password takes as long as it takes.
    process.waitForFinished(-1);
    const QString errorText = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit)
        return errorRecord(-1, errorText.isEmpty() ? process.errorString() : errorText);
    if (process.exitCode() == 0)
        return {};
    QString message = errorText;
    if (message.isEmpty())
        message = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (message.isEmpty())
        message = QStringLiteral("%1 exited with status %2").arg(program).arg(process.exitCode());
    return errorRecord(process.exitCode(), message);
}

// The disk tools live in /usr/sbin, which a desktop user's PATH lacks on Debian; pkexec also
// wants the program's full path.
QString resolveProgram(const QString& program)
{
    if (program.contains(u'/'))
        return program;
    QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(program, {QStringLiteral("/usr/local/sbin"),
                                                         QStringLiteral("/usr/sbin"),
                                                         QStringLiteral("/sbin")});
    return found.isEmpty() ? program : found;
}

} // namespace

QString administratorProgramPath(const QString& program)
{
    if (program.startsWith(u'/'))
        return program;
    if (program.contains(u'/'))
        return {};
    return QStandardPaths::findExecutable(program, kSystemProgramFolders);
}

QVariantMap runShellScript(const QString& program, const QStringList& arguments, bool administrator)
{
    QVariantMap record;
    if (administrator) {
        // Both the program and pkexec itself come from the system folders only: a folder the
        // user can write to, early in PATH, must not decide what runs as root or what asks
        // for the password.
        const QString path = administratorProgramPath(program);
        const QString pkexec = administratorProgramPath(QStringLiteral("pkexec"));
        if (path.isEmpty() || pkexec.isEmpty())
            record = errorRecord(kScriptCannotStartNumber,
                                 QStringLiteral("%1 is not installed in %2")
                                     .arg(path.isEmpty() ? program : QStringLiteral("pkexec"),
                                          kSystemProgramFolders.join(QStringLiteral(", "))));
        else
            record = runProcess(pkexec, QStringList(path) + arguments);
    } else {
        record = runProcess(resolveProgram(program), arguments);
    }
    qCInfo(lcShell, "ERROR=%s",
           QJsonDocument(QJsonObject::fromVariantMap(record))
               .toJson(QJsonDocument::Compact)
               .constData());
    return record;
}
