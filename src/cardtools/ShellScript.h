#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// Keys of the error record of runShellScript.
inline constexpr char kScriptErrorNumberKey[] = "NSAppleScriptErrorNumber";
inline constexpr char kScriptErrorMessageKey[] = "NSAppleScriptErrorMessage";

// Error number for a program that could not be started (not installed, or pkexec missing).
constexpr int kScriptCannotStartNumber = 127;

// The only folders a program run with administrator rights is taken from.
inline const QStringList kSystemProgramFolders = {QStringLiteral("/usr/sbin"),
                                                  QStringLiteral("/usr/bin"),
                                                  QStringLiteral("/sbin"), QStringLiteral("/bin")};

// The full path of a program to run with administrator rights: an absolute path as it is,
// a bare name looked up in kSystemProgramFolders only (never the user's PATH). Empty when
// there is none, or for a relative path.
QString administratorProgramPath(const QString& program);

// Runs `program` with `arguments` (no shell: nothing is quoted or expanded) and blocks until it
// ends; call it off the GUI thread. With `administrator` it runs through pkexec, which asks
// the user to authenticate, and both are taken from the system folders only. Answers the error
// record: empty on success, else the exit status under kScriptErrorNumberKey and the program's
// error text under kScriptErrorMessageKey. Refused or cancelled authentication comes back as
// pkexec's own status (126 or 127).
QVariantMap runShellScript(const QString& program, const QStringList& arguments,
                           bool administrator);
