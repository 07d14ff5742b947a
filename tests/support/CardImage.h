#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// Card images for the format tests: sparse files (cheap at any size) read back with the
// FAT tools.

struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ProgramRun runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString();
    ProgramRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A sparse file of `size` bytes, as `truncate -s` makes it.
inline void makeSparseImage(const QString& path, qint64 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_TRUE(file.resize(size));
}

inline QByteArray readBytes(const QString& path, qint64 offset, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return {};
    return file.read(size);
}

// A root file of a FAT image, read with mtools; empty when it is not there.
inline QByteArray imageFile(const QString& image, const QString& name)
{
    return runProgram(QStringLiteral("mtype"), {QStringLiteral("-i"), image, "::/" + name}).out;
}

inline void putImageFile(const QString& image, const QString& name, const QString& source)
{
    const ProgramRun run =
        runProgram(QStringLiteral("mcopy"),
                   {QStringLiteral("-o"), QStringLiteral("-i"), image, source, "::/" + name});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
}

// The loop device attached to `image`, or empty where losetup cannot attach one here.
inline QString attachLoopDevice(const QString& image, bool readOnly)
{
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("--show")};
    if (readOnly)
        arguments << QStringLiteral("-r");
    const ProgramRun run = runProgram(QStringLiteral("losetup"), arguments << image);
    return run.exitCode == 0 ? QString::fromLocal8Bit(run.out).trimmed() : QString();
}

inline void detachLoopDevice(const QString& device)
{
    if (!device.isEmpty())
        runProgram(QStringLiteral("losetup"), {QStringLiteral("-d"), device});
}
