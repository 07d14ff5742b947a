#pragma once

#include <QByteArray>
#include <QString>

// Small output helpers shared by the commands: stdout is written in one go at the end of a
// command, errors are one line on stderr.
namespace CommandOutput {

void writeOut(const QByteArray& bytes);
void writeError(const QString& line);

// "COMMAND: MESSAGE (see vexlo-tool COMMAND --help)" on stderr; answers the exit code 2.
int usageError(const char* command, const QString& message);

} // namespace CommandOutput
