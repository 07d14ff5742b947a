#include "fileio/SafeFileReader.h"

#include "fileio/NativeFileName.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString nonRegularFileProblem(unsigned mode)
{
    if (S_ISREG(mode))
        return {};
    const char* kind = S_ISFIFO(mode)                   ? "a FIFO (named pipe)"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                       : S_ISDIR(mode)                  ? "a folder"
                       : S_ISSOCK(mode)                 ? "a socket"
                                                        : nullptr;
    if (!kind)
        return QStringLiteral("it is not a regular file");
    return QStringLiteral("it is %1, not a regular file").arg(QLatin1StringView(kind));
}

SafeFileReader::SafeFileReader(const QString& path)
{
    open(NativeFileName::fileNameToBytes(path).constData());
}

SafeFileReader::SafeFileReader(const char* nativePath)
{
    open(nativePath);
}

SafeFileReader::~SafeFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void SafeFileReader::open(const char* nativePath)
{
    if (!nativePath || !*nativePath) {
        m_error = QStringLiteral("no file named");
        return;
    }
    // A look before opening: opening some devices has effects of its own (a tape rewinds).
    struct stat status;
    if (::stat(nativePath, &status) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_error = nonRegularFileProblem(status.st_mode);
    if (!m_error.isEmpty())
        return;
    // Checked again on the open file: the name may have been swapped for a FIFO in between.
    const int fd = ::open(nativePath, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    if (::fstat(fd, &status) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return;
    }
    m_error = nonRegularFileProblem(status.st_mode);
    if (!m_error.isEmpty()) {
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_size = uint64_t(status.st_size);
}

size_t SafeFileReader::readAt(uint64_t offset, void* buffer, size_t length) const
{
    if (m_fd < 0)
        return 0;
    size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(m_fd, static_cast<char*>(buffer) + done, length - done, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += size_t(n);
    }
    return done;
}

QByteArray SafeFileReader::read(qsizetype maxSize) const
{
    // Never more than the file holds: the size decides the allocation, not the caller's bound.
    const auto wanted =
        qsizetype(std::min<uint64_t>(uint64_t(std::max<qsizetype>(maxSize, 0)), m_size));
    QByteArray bytes(wanted, Qt::Uninitialized);
    bytes.resize(qsizetype(readAt(0, bytes.data(), size_t(wanted))));
    return bytes;
}
