#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QIODevice>
#include <QString>

// The one way this program writes a file: the settings file, the clock file, every export.
//
// The bytes go to a new file beside the target, under a name of its own made with O_EXCL;
// every write is checked (POSIX write, no buffer that could hide a full card until it is too
// late); commit() flushes the file to the medium, gives it the old file's mode and owner,
// renames it over the target and flushes the folder. Until that rename the target is left as
// it was: whatever fails (a full or pulled card, a file-size limit, a permission), the old
// file stays byte for byte and the new one is removed, and errorString() says why.
//
// A symbolic link is followed: the file it names is replaced and the link stays. A target
// that exists and is not a regular file (a device, a FIFO, a folder) is refused, never
// replaced by a regular file.
//
// Write-only and sequential; write in blocks of some kilobytes, as each write is a system
// call. One writer, one thread.
class SafeFileWriter : public QIODevice
{
public:
    explicit SafeFileWriter(const QString& path);
    // A path in the file system's own bytes.
    explicit SafeFileWriter(const QByteArray& nativePath);
    ~SafeFileWriter() override; // an uncommitted file is discarded

    // Checks the target and creates the new file. Only WriteOnly is supported.
    bool open(OpenMode mode = WriteOnly) override;
    // Puts the new file in place of the target; false, with the target untouched, when any
    // write or any step of the replacement failed.
    bool commit();
    // Drops the new file; the target stays as it was. close() does the same.
    void discard();
    void close() override { discard(); }
    bool isSequential() const override { return true; }

    // The new file, between open() and commit() or discard(), for a program that writes the
    // bytes itself (an encoder given this path); commit() then flushes and renames it as it
    // does a file written through this device.
    QString temporaryPath() const { return QFile::decodeName(m_temporary); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool fail(const QString& reason);
    bool finishNewFile();

    QByteArray m_path;   // as given
    QByteArray m_target; // after following symbolic links
    QByteArray m_temporary;
    int m_fd = -1;
    bool m_failed = false;
    bool m_targetExists = false;
    unsigned m_targetMode = 0;
    unsigned m_targetOwner = 0;
    unsigned m_targetGroup = 0;
};

// Replaces the contents of `path` with `bytes` through a SafeFileWriter. Answers an empty text
// on success, else the reason (the old file is then kept whole).
QString replaceFileContents(const QString& path, QByteArrayView bytes);
