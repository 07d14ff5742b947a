#include "fileio/SafeFileWriter.h"

#include "fileio/NativeFileName.h"
#include "fileio/SafeFileReader.h"

#include <QLoggingCategory>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcFileIo, "vexlo.fileio", QtWarningMsg)

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Follows symbolic links to the path they finally name. A missing last file is fine: that is
// where the new file goes (also through a link that names a file yet to be made).
bool followLinks(QByteArray& path, QString* reason)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status;
        if (::lstat(path.constData(), &status) != 0) {
            if (errno == ENOENT)
                return true;
            *reason = systemReason(errno);
            return false;
        }
        if (!S_ISLNK(status.st_mode))
            return true;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size()) {
            *reason = systemReason(n < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        target.truncate(n);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = target;
    }
    *reason = systemReason(ELOOP);
    return false;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

} // namespace

SafeFileWriter::SafeFileWriter(const QString& path) : m_path(NativeFileName::fileNameToBytes(path))
{
}

SafeFileWriter::SafeFileWriter(const QByteArray& nativePath) : m_path(nativePath) {}

SafeFileWriter::~SafeFileWriter()
{
    discard();
}

bool SafeFileWriter::fail(const QString& reason)
{
    // The first reason is the one that counts; later steps only fail because of it.
    if (!m_failed)
        setErrorString(reason);
    m_failed = true;
    return false;
}

bool SafeFileWriter::open(OpenMode mode)
{
    // Truncate and Unbuffered change nothing: the new file starts empty and is never buffered.
    if (isOpen() || (mode | Truncate | Unbuffered) != (WriteOnly | Truncate | Unbuffered)) {
        setErrorString(QStringLiteral("only a fresh write-only open is possible"));
        return false;
    }
    QString reason;
    m_target = m_path;
    if (m_target.isEmpty() || m_target.endsWith('/')) {
        setErrorString(QStringLiteral("no file name"));
        return false;
    }
    if (!followLinks(m_target, &reason)) {
        setErrorString(reason);
        return false;
    }

    struct stat status;
    m_targetExists = ::stat(m_target.constData(), &status) == 0;
    if (m_targetExists) {
        reason = nonRegularFileProblem(status.st_mode);
        if (!reason.isEmpty()) {
            setErrorString(reason);
            return false;
        }
        m_targetMode = status.st_mode & 07777;
        m_targetOwner = status.st_uid;
        m_targetGroup = status.st_gid;
    }

    // Hidden, beside the target (the rename must stay inside one file system), and ours alone:
    // O_EXCL never opens a file someone else made. Private until commit() gives it the old
    // file's mode; a new target gets the usual mode of a new file.
    const QByteArray folder = folderOf(m_target);
    const QByteArray base = m_target.mid(m_target.lastIndexOf('/') + 1).left(200);
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        QByteArray name = folder + "/." + base + ".vexlo-";
        for (int i = 0; i < 8; ++i)
            name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
        m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                      m_targetExists ? 0600 : 0666);
        if (m_fd >= 0)
            m_temporary = name;
        else if (errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        setErrorString(QStringLiteral("cannot create a new file in %1: %2")
                           .arg(NativeFileName::fileNameFromBytes(folder), systemReason(errno)));
        return false;
    }
    m_failed = false;
    return QIODevice::open(mode);
}

qint64 SafeFileWriter::readData(char*, qint64)
{
    return -1;
}

qint64 SafeFileWriter::writeData(const char* data, qint64 size)
{
    if (m_failed || m_fd < 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A file-size limit or a full medium can take part of a block before refusing.
            fail(systemReason(n < 0 ? errno : EIO));
            return -1;
        }
        done += n;
    }
    return done;
}

bool SafeFileWriter::finishNewFile()
{
    struct stat status;
    if (::fstat(m_fd, &status) != 0)
        return fail(systemReason(errno));
    if (m_targetExists) {
        const bool otherOwner = status.st_uid != m_targetOwner || status.st_gid != m_targetGroup;
        if (otherOwner && ::fchown(m_fd, m_targetOwner, m_targetGroup) != 0)
            return fail(
                QStringLiteral("cannot keep the file's owner: %1").arg(systemReason(errno)));
        // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
        if ((otherOwner || (status.st_mode & 07777) != m_targetMode) &&
            ::fchmod(m_fd, m_targetMode) != 0)
            return fail(QStringLiteral("cannot keep the file's mode: %1").arg(systemReason(errno)));
    }
    if (::fsync(m_fd) != 0)
        return fail(systemReason(errno));
    const int fd = m_fd;
    m_fd = -1;
    // close() can still report a write the medium refused late (network file systems).
    if (::close(fd) != 0)
        return fail(systemReason(errno));
    return true;
}

bool SafeFileWriter::commit()
{
    if (!isOpen() || m_temporary.isEmpty()) {
        setErrorString(QStringLiteral("the file is not open"));
        return false;
    }
    if (m_failed || !finishNewFile() ||
        ::rename(m_temporary.constData(), m_target.constData()) != 0) {
        if (!m_failed)
            fail(systemReason(errno));
        const QString reason = errorString();
        discard();
        setErrorString(reason);
        return false;
    }
    m_temporary.clear();
    QIODevice::close();

    // The rename reaches the medium with the folder. The new file is in place and whole by
    // now, so a folder that cannot be flushed is logged, not reported as a lost write; some
    // file systems do not flush folders at all (EINVAL).
    const QByteArray folder = folderOf(m_target);
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0 || (::fsync(folderFd) != 0 && errno != EINVAL))
        qCWarning(lcFileIo, "%s: cannot flush the folder: %s", folder.constData(),
                  std::strerror(errno));
    if (folderFd >= 0)
        ::close(folderFd);
    return true;
}

void SafeFileWriter::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
    if (isOpen())
        QIODevice::close();
}

QString replaceFileContents(const QString& path, QByteArrayView bytes)
{
    SafeFileWriter file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.discard();
        return reason;
    }
    return {};
}
