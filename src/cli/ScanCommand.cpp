#include "CommandOutput.h"
#include "Commands.h"

#include "library/VXLMediaList.h"

#include <QFileInfo>

#include <dirent.h>

const char* const kScanUsage =
    "Usage: vexlo-tool scan DIR\n"
    "\n"
    "Lists the recordings below DIR in the order the player shows them, one line each,\n"
    "fields separated by one TAB:\n"
    "  INDEX MODE CAMERA DATE TIME FILE PARTNER PATH\n"
    "INDEX counts from 0; MODE is always, motion or event; CAMERA front or rear; DATE\n"
    "YYYY-MM-DD and TIME HH:MM:SS are empty for a recording without time; PARTNER is the\n"
    "file name of the other camera's recording of the same moment, or '-'.\n";

namespace {

const char* modeText(int division)
{
    switch (division) {
    case VXLMediaDivisionMotion:
        return "motion";
    case VXLMediaDivisionEvent:
        return "event";
    default:
        return "always";
    }
}

bool isReadableDirectory(const QString& path)
{
    if (!QFileInfo(path).isDir())
        return false;
    DIR* handle = ::opendir(QFile::encodeName(path).constData());
    if (!handle)
        return false;
    ::closedir(handle);
    return true;
}

} // namespace

int runScanCommand(const QStringList& args)
{
    if (args.size() != 1) {
        CommandOutput::writeError(
            QStringLiteral("scan: expected one directory (see vexlo-tool scan --help)"));
        return 2;
    }
    const QString& directory = args.first();
    if (!isReadableDirectory(directory)) {
        CommandOutput::writeError(QStringLiteral("scan: cannot read directory %1").arg(directory));
        return 2;
    }

    const VXLMediaList::Content content = VXLMediaList::scanDirectory(directory);
    QByteArray out;
    out.reserve(content.medias.size() * 160);
    qsizetype index = 0;
    for (const VXLMediaPtr& media : content.medias) {
        QByteArray date;
        QByteArray time;
        if (media->year() >= 1) {
            date = QString::asprintf("%04d-%02d-%02d", media->year(), media->month(), media->day())
                       .toLatin1();
            time =
                QString::asprintf("%02d:%02d:%02d", media->hour(), media->minute(), media->second())
                    .toLatin1();
        }
        QString partner = QStringLiteral("-");
        if (const VXLMediaPairPtr pair = content.findMediaPairWithFileName(media->fileName())) {
            const VXLMediaPtr& other = media->isFrontMedia() ? pair->rearMedia : pair->frontMedia;
            if (other)
                partner = other->fileName();
        }
        out += QByteArray::number(index++) + '\t' + modeText(media->mediaDivision()) + '\t' +
               (media->isRearMedia() ? "rear" : "front") + '\t' + date + '\t' + time + '\t' +
               media->fileName().toUtf8() + '\t' + partner.toUtf8() + '\t' +
               media->path().toUtf8() + '\n';
    }
    CommandOutput::writeOut(out);
    return 0;
}
