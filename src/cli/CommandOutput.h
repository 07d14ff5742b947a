#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Small output helpers shared by the commands: results go to stdout, errors are one line on
// stderr.
namespace CommandOutput {

void writeOut(const QByteArray& bytes);
// Standard output as a device, for the writers that stream their text; it shares writeOut's
// buffer, so the two keep their order.
QIODevice& standardOutput();
void writeError(const QString& line);

// "COMMAND: MESSAGE (see vexlo-tool COMMAND --help)" on stderr; answers the exit code 2.
int usageError(const char* command, const QString& message);

// Flushes and closes stdout at the end of every command. Answers `exitCode`, or 2 after a
// message on stderr when any of the output could not be written (a full disk, /dev/full, a
// pipe that broke): a script must never take a cut output for a whole one.
int finish(int exitCode);

} // namespace CommandOutput
