#pragma once

#include <QByteArrayList>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs vexlo-tool as a user or a script would, and keeps what it printed.
struct ToolResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// `setup`, when given, prepares the process before it starts: a file for its stdout, limits
// set in the child.
inline ToolResult runTool(const QStringList& args, const std::function<void(QProcess&)>& setup = {})
{
    QProcess process;
    if (setup)
        setup(process);
    process.start(QStringLiteral(VEXLO_TOOL_PATH), args);
    EXPECT_TRUE(process.waitForFinished(60000));
    ToolResult result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// Runs vexlo-tool with arguments that are bytes, not text (a file name that is not UTF-8):
// QProcess would pass them through the locale's text encoding.
inline ToolResult runToolWithBytes(const QByteArrayList& args)
{
    QTemporaryDir outputs;
    const QByteArray outPath = QFile::encodeName(outputs.filePath(QStringLiteral("out")));
    const QByteArray errPath = QFile::encodeName(outputs.filePath(QStringLiteral("err")));
    std::vector<char*> argv{const_cast<char*>(VEXLO_TOOL_PATH)};
    for (const QByteArray& arg : args)
        argv.push_back(const_cast<char*>(arg.constData()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(126);
        ::execv(VEXLO_TOOL_PATH, argv.data());
        ::_exit(127);
    }
    ToolResult result;
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    QFile out(QFile::decodeName(outPath));
    QFile err(QFile::decodeName(errPath));
    if (out.open(QIODevice::ReadOnly))
        result.out = out.readAll();
    if (err.open(QIODevice::ReadOnly))
        result.err = err.readAll();
    return result;
}
