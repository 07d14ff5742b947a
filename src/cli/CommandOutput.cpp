#include "CommandOutput.h"

#include <cstdio>

namespace CommandOutput {

void writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void writeError(const QString& line)
{
    std::fflush(stdout);
    const QByteArray text = line.toLocal8Bit() + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

int usageError(const char* command, const QString& message)
{
    const QString name = QString::fromLatin1(command);
    writeError(QStringLiteral("%1: %2 (see vexlo-tool %1 --help)").arg(name, message));
    return 2;
}

} // namespace CommandOutput
