#include "driverecords/SafeFileOpen.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int openRegularFileForReading(const QString& path, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(status.st_mode)) {
        *error = S_ISDIR(status.st_mode)
                     ? QStringLiteral("is a folder, not a file")
                     : QStringLiteral("is not a regular file (a FIFO, a device or a socket)");
        ::close(fd);
        return -1;
    }
    return fd;
}
