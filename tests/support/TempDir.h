#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <ftw.h>

// A temporary folder for one test, with helpers to lay files out in it.
class TempDir
{
public:
    TempDir() { EXPECT_TRUE(m_dir.isValid()); }
    // Removes the folder by the bytes of its names first: QTemporaryDir cannot spell a name
    // that is not UTF-8, and would leave such a file and its folders behind.
    ~TempDir()
    {
        if (m_dir.isValid())
            ::nftw(QFile::encodeName(m_dir.path()).constData(), removeEntry, 16,
                   FTW_DEPTH | FTW_PHYS);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

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
    static int removeEntry(const char* path, const struct stat*, int, struct FTW*)
    {
        ::remove(path);
        return 0;
    }

    QTemporaryDir m_dir;
};
