#include "CommandOutput.h"

#include "fileio/NativeFileName.h"

#include <QIODevice>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace CommandOutput {

namespace {

int g_outputError = 0; // errno of the first write to stdout that failed
bool g_outputClosed = false;

void noteOutputError(int error)
{
    if (g_outputError == 0)
        g_outputError = error != 0 ? error : EIO;
}

class StandardOutputDevice final : public QIODevice
{
public:
    StandardOutputDevice() { open(WriteOnly | Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        errno = 0;
        if (std::fwrite(data, 1, size_t(size), stdout) != size_t(size)) {
            noteOutputError(errno);
            setErrorString(QString::fromLocal8Bit(std::strerror(g_outputError)));
            return -1;
        }
        return size;
    }
};

} // namespace

void writeOut(const QByteArray& bytes)
{
    standardOutput().write(bytes);
}

QIODevice& standardOutput()
{
    static StandardOutputDevice device;
    return device;
}

void writeError(const QString& line)
{
    if (!g_outputClosed)
        std::fflush(stdout);
    // Messages name files: their names are printed as the bytes they are.
    const QByteArray text = NativeFileName::fileNameToBytes(line) + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

int usageError(const char* command, const QString& message)
{
    const QString name = QString::fromLatin1(command);
    writeError(QStringLiteral("%1: %2 (see vexlo-tool %1 --help)").arg(name, message));
    return 2;
}

int finish(int exitCode)
{
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        noteOutputError(errno);
    // Closing can still report a write the system took on trust (network file systems). A
    // stdout that was never open (">&-") is no failure when nothing was written to it.
    errno = 0;
    if (std::fclose(stdout) != 0 && errno != EBADF)
        noteOutputError(errno);
    g_outputClosed = true;
    if (g_outputError == 0)
        return exitCode;
    writeError(QStringLiteral("vexlo-tool: cannot write the output: %1")
                   .arg(QString::fromLocal8Bit(std::strerror(g_outputError))));
    return 2;
}

} // namespace CommandOutput
