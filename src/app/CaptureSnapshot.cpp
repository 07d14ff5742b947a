#include "CaptureSnapshot.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// `folder` exists as a real folder (not a link), belongs to this user and is closed to
// everyone else; created when missing.
bool makePrivateFolder(const QString& folder)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat status = {};
    if (::lstat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::getuid()) {
        return false;
    }
    return (status.st_mode & 077) == 0 || ::chmod(native.constData(), 0700) == 0;
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
