#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

// A temporary folder for one test, with helpers to lay files out in it.
class TempDir
{
public:
    TempDir() { EXPECT_TRUE(m_dir.isValid()); }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }

    // Creates the file (and its folders) with the given content; answers its full path.
    QString write(const QString& relative, const QByteArray& content = {}) const
    {
        const QString full = filePath(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile file(full);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << full.toStdString();
        file.write(content);
        return full;
    }

    QString mkdir(const QString& relative) const
    {
        QDir().mkpath(filePath(relative));
        return filePath(relative);
    }

private:
    QTemporaryDir m_dir;
};
