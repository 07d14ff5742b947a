#include "CaptureFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// `folder` exists as a real folder (not a link), belongs to this user and is closed to
// everyone else; created when missing.
bool makePrivateFolder(const QString& folder)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat status
    {
    };
    if (::lstat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::getuid()) {
        return false;
    }
    return (status.st_mode & 077) == 0 || ::chmod(native.constData(), 0700) == 0;
}

bool writeAll(int fd, const char* data, qsizetype size, int* error)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            *error = errno;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// What a path that is not a regular file names instead, for the message.
QString notRegularFile(mode_t mode)
{
    if (S_ISDIR(mode)) {
        return QStringLiteral("it is a folder, not a regular file");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("it is a FIFO (named pipe), not a regular file");
    }
    return QStringLiteral("it is a device or socket, not a regular file");
}

} // namespace

QString captureSnapshotPath()
{
    for (const QStandardPaths::StandardLocation location :
         {QStandardPaths::RuntimeLocation, QStandardPaths::CacheLocation}) {
        const QString base = QStandardPaths::writableLocation(location);
        if (base.isEmpty() || !QDir().mkpath(base)) {
            continue;
        }
        const QString folder = base + QStringLiteral("/vexlo-capture");
        if (makePrivateFolder(folder)) {
            return folder + QStringLiteral("/vexlo_capture.jpg");
        }
    }
    return {};
}

QString replaceFileWithBytes(const QString& path, const QByteArray& bytes)
{
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // Replace the file the link names and keep the link.
        const QString canonical = info.canonicalFilePath();
        target = canonical.isEmpty() ? info.symLinkTarget() : canonical;
    }
    const QByteArray nativeTarget = QFile::encodeName(target);
    struct stat existing
    {
    };
    const bool exists = ::stat(nativeTarget.constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return notRegularFile(existing.st_mode);
    }

    const QString folder = QFileInfo(target).absolutePath();
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temporary = QFile::encodeName(
            QStringLiteral("%1/.%2.%3.part")
                .arg(folder, QFileInfo(target).fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        // 0666 lets the umask decide a new file's mode, as for any file the user saves.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return systemError(errno);
        }
    }
    if (fd < 0) {
        return systemError(EEXIST);
    }

    int error = 0;
    bool ok = writeAll(fd, bytes.constData(), bytes.size(), &error);
    if (ok && exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        error = errno;
        ok = false;
    }
    if (ok && ::fsync(fd) != 0) {
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    if (ok && ::rename(temporary.constData(), nativeTarget.constData()) != 0) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return systemError(error);
    }
    // The new name is on the medium only once the folder is flushed too.
    const int folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}
