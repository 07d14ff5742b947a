#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// A file opened for reading that can never make the reader wait: open() does not block (a FIFO
// would otherwise wait for a writer), and only a regular file is accepted, so a device or a
// pipe named by mistake cannot feed endless bytes either. Every reader of a file the user
// names goes through this.
class SafeFileReader
{
public:
    explicit SafeFileReader(const QString& path);
    // A path in the file system's own bytes.
    explicit SafeFileReader(const char* nativePath);
    ~SafeFileReader();
    SafeFileReader(const SafeFileReader&) = delete;
    SafeFileReader& operator=(const SafeFileReader&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // Why the file is not open: the system's reason ("No such file or directory") or what the
    // path names instead of a regular file ("it is a FIFO (named pipe), not a regular file").
    QString errorString() const { return m_error; }

    // Size when opened; 0 when not open.
    uint64_t size() const { return m_size; }

    // Reads up to `length` bytes at `offset`; answers how many were read (fewer at the end of
    // the file or on a read error).
    size_t readAt(uint64_t offset, void* buffer, size_t length) const;
    // The first `maxSize` bytes, or the whole file when it is shorter.
    QByteArray read(qsizetype maxSize) const;

private:
    void open(const char* nativePath);

    int m_fd = -1;
    uint64_t m_size = 0;
    QString m_error;
};

// What a file of mode `mode` (st_mode) is when it is not a regular file, for messages:
// "it is a folder, not a regular file"; empty for a regular file.
QString nonRegularFileProblem(unsigned mode);
