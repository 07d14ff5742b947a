#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

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
