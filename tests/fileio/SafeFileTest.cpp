#include "fileio/SafeFileReader.h"
#include "fileio/SafeFileWriter.h"

#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct stat statOf(const QString& path)
{
    struct stat status = {};
    EXPECT_EQ(::lstat(native(path).constData(), &status), 0) << path.toStdString();
    return status;
}

// Every name in the folder, hidden ones too: a temporary file left behind shows up here.
QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs `work` in a child process whose files cannot grow past `limit` bytes, so a write past
// it fails for real (EFBIG, with SIGXFSZ ignored) as on a card that is full. Answers what
// `work` answered.
QString inChildWithFileSizeLimit(rlim_t limit, const std::function<QString()>& work)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize = {limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        const QByteArray answer = work().toUtf8();
        const bool sent = ::write(channel[1], answer.constData(), size_t(answer.size())) ==
                          ssize_t(answer.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray answer;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child died: " << status;
    return QString::fromUtf8(answer);
}

TEST(SafeFileWriter, ReplacesTheFileKeepingModeOwnerAndLinks)
{
    TempDir dir;
    const QByteArray fresh("new");
    // Read-only, and (as root) someone else's: replaced all the same, keeping both.
    const QString kept = dir.write("kept.bin", "old contents, longer than the new ones");
    ASSERT_EQ(::chmod(native(kept).constData(), 0444), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(native(kept).constData(), 1234, 5678), 0);
    }
    // A link to a link to a file in another folder; a link to a file yet to be made.
    const QString linked = dir.write("real/target.bin", "old");
    ASSERT_EQ(::chmod(native(linked).constData(), 0640), 0);
    ASSERT_EQ(::symlink("real/target.bin", native(dir.filePath("link.bin")).constData()), 0);
    ASSERT_EQ(::symlink("link.bin", native(dir.filePath("link2.bin")).constData()), 0);
    ASSERT_EQ(::symlink("real/made.bin", native(dir.filePath("dangling.bin")).constData()), 0);

    const mode_t umask = ::umask(022);
    ::umask(umask);
    const struct
    {
        QString path;    // what the writer is given
        QString written; // the regular file that must end up holding the new bytes
        unsigned mode;   // a new file gets the usual mode, not the writer's private one
    } cases[] = {
        {kept, kept, 0444},
        {dir.filePath("link2.bin"), linked, 0640},
        {dir.filePath("dangling.bin"), dir.filePath("real/made.bin"), 0666 & ~umask},
        {dir.filePath("new.bin"), dir.filePath("new.bin"), 0666 & ~umask},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ASSERT_EQ(replaceFileContents(c.path, fresh), QString());
        EXPECT_EQ(readAll(c.written), fresh);
        EXPECT_TRUE(S_ISREG(statOf(c.written).st_mode));
        EXPECT_EQ(statOf(c.written).st_mode & 07777, c.mode);
    }
    if (root) {
        EXPECT_EQ(statOf(kept).st_uid, 1234u);
        EXPECT_EQ(statOf(kept).st_gid, 5678u);
    }

    // A streaming writer that is not committed leaves the file as it was.
    {
        SafeFileWriter writer(kept);
        ASSERT_TRUE(writer.open());
        EXPECT_EQ(writer.write("abandoned"), 9);
    }
    EXPECT_EQ(readAll(kept), fresh);
    EXPECT_EQ(namesIn(dir.path()), QStringList({"dangling.bin", "kept.bin", "link.bin", "link2.bin",
                                                "new.bin", "real"}));
    EXPECT_EQ(namesIn(dir.filePath("real")), QStringList({"made.bin", "target.bin"}));
}

// A write fails for real once the file passes the limit, as on a card that is full.
TEST(SafeFileWriter, RealWriteFailuresKeepTheOldFileWhole)
{
    TempDir dir;
    const QByteArray old = QByteArray("the previous file").repeated(30);
    const QString path = dir.write("config.bin", old);
    const QString tooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));

    // The whole-bytes form, and the streaming form failing in its second block.
    EXPECT_EQ(inChildWithFileSizeLimit(
                  1000, [&] { return replaceFileContents(path, QByteArray(4000, 'x')); }),
              tooLarge);
    const QString streamed = inChildWithFileSizeLimit(1000, [&] {
        SafeFileWriter writer(path);
        if (!writer.open() || writer.write(QByteArray(600, 'a')) != 600)
            return QStringLiteral("the first block failed");
        const bool refused = writer.write(QByteArray(600, 'b')) < 0;
        const bool committed = writer.commit();
        return QStringLiteral("%1 %2 %3").arg(refused).arg(committed).arg(writer.errorString());
    });
    EXPECT_EQ(streamed, "1 0 " + tooLarge);
    EXPECT_EQ(readAll(path), old);

    // With room for it, the same writer replaces the file.
    EXPECT_EQ(inChildWithFileSizeLimit(
                  5000, [&] { return replaceFileContents(path, QByteArray(4000, 'x')); }),
              QString());
    EXPECT_EQ(readAll(path), QByteArray(4000, 'x'));
    EXPECT_EQ(namesIn(dir.path()), QStringList{"config.bin"});
}

// Neither waits on a FIFO nor takes a device or a folder for a file; the writer never
// replaces one by a regular file.
TEST(SafeFile, OnlyRegularFilesAreReadOrReplaced)
{
    TempDir dir;
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(native(fifo).constData(), 0644), 0);
    const QString linkToDevice = dir.filePath("null");
    ASSERT_EQ(::symlink("/dev/null", native(linkToDevice).constData()), 0);
    const struct
    {
        QString path;
        const char* reason;
    } cases[] = {
        {fifo, "it is a FIFO (named pipe), not a regular file"},
        {dir.path(), "it is a folder, not a regular file"},
        {linkToDevice, "it is a device, not a regular file"},
        {dir.filePath("missing/file"), "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const SafeFileReader file(c.path);
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(file.errorString(), QLatin1StringView(c.reason));
        EXPECT_TRUE(replaceFileContents(c.path, "bytes").endsWith(QLatin1StringView(c.reason)));
    }
    EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));
    EXPECT_TRUE(S_ISCHR(statOf("/dev/null").st_mode));
    EXPECT_EQ(namesIn(dir.path()), QStringList({"fifo", "null"})) << "nothing left behind";

    // A regular file is read within its size, whatever the caller asks for.
    const SafeFileReader file(dir.write("regular.bin", "0123456789"));
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), 10u);
    EXPECT_EQ(file.read(4), QByteArray("0123"));
    EXPECT_EQ(file.read(1 << 30), QByteArray("0123456789"));
}

} // namespace
