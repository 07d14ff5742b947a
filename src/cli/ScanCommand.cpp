#include "CommandOutput.h"
#include "Commands.h"

#include "LineField.h"

#include "fileio/NativeFileName.h"
#include "library/VXLMediaList.h"

#include <QFileInfo>

#include <string>
#include <thread>

#include <dirent.h>

const char* const kScanUsage =
    "Usage: vexlo-tool scan DIR\n"
    "\n"
    "Lists the recordings below DIR in the order the player shows them, one line each,\n"
    "fields separated by one TAB:\n"
    "  INDEX MODE CAMERA DATE TIME FILE PARTNER PATH\n"
    "INDEX counts from 0; MODE is always, motion or event; CAMERA front or rear; DATE\n"
    "YYYY-MM-DD and TIME HH:MM:SS are empty for a recording without time; PARTNER is the\n"
    "file name of the other camera's recording of the same moment, or '-'. In FILE,\n"
    "PARTNER and PATH a TAB is written as \\t, a newline as \\n and a backslash as \\\\;\n"
    "other bytes of a name are written as they are.\n"
    "A listing stops near 15000 recordings; how many more were found is then said on\n"
    "stderr.\n";

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

constexpr size_t kOutputBlock = 64 * 1024;

// Zero-padded decimal; the values are validated recording times, never negative.
void appendDigits(std::string& out, int value, int width)
{
    char digits[12];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 11);
    if (n < width)
        out.append(size_t(width - n), '0');
    while (n > 0)
        out += digits[--n];
}

// One line of the listing: INDEX MODE CAMERA DATE TIME FILE PARTNER PATH.
void appendListingLine(std::string& out, qsizetype index, const VXLMedia& media,
                       const VXLMediaList::Content& content)
{
    out += std::to_string(index);
    out += '\t';
    out += modeText(media.mediaDivision());
    out += media.isRearMedia() ? "\trear\t" : "\tfront\t";
    if (media.year() >= 1) {
        appendDigits(out, media.year(), 4);
        out += '-';
        appendDigits(out, media.month(), 2);
        out += '-';
        appendDigits(out, media.day(), 2);
        out += '\t';
        appendDigits(out, media.hour(), 2);
        out += ':';
        appendDigits(out, media.minute(), 2);
        out += ':';
        appendDigits(out, media.second(), 2);
    } else {
        out += '\t';
    }
    out += '\t';
    // A listed recording always has an extension, so its file name is the path's last
    // component.
    const QStringView path = media.path();
    appendLineField(out, path.mid(path.lastIndexOf(u'/') + 1));
    out += '\t';
    const VXLMediaPairPtr pair = content.mediaPairDic.value(media.pairKey());
    const VXLMedia* other = !pair                  ? nullptr
                            : media.isFrontMedia() ? pair->rearMedia.get()
                                                   : pair->frontMedia.get();
    if (other) {
        const QStringView otherPath = other->path();
        appendLineField(out, otherPath.mid(otherPath.lastIndexOf(u'/') + 1));
    } else {
        out += '-';
    }
    out += '\t';
    appendLineField(out, path);
    out += '\n';
}

bool isReadableDirectory(const QString& path)
{
    if (!QFileInfo(path).isDir())
        return false;
    DIR* handle = ::opendir(NativeFileName::fileNameToBytes(path).constData());
    if (!handle)
        return false;
    ::closedir(handle);
    return true;
}

} // namespace

int runScanCommand(const QStringList& args)
{
    if (args.size() != 1) {
        return CommandOutput::usageError("scan", QStringLiteral("expected one directory"));
    }
    const QString& directory = args.first();
    if (!isReadableDirectory(directory)) {
        CommandOutput::writeError(QStringLiteral("scan: cannot read directory %1").arg(directory));
        return 2;
    }

    // The listing is the last thing the process does, so the recordings are left to the
    // system at exit rather than freed one by one (a tenth of the command's time on a full
    // card). The pointer stays reachable, so leak checkers keep quiet.
    static const VXLMediaList::Content* content = nullptr;
    content = new VXLMediaList::Content(VXLMediaList::scanDirectory(directory));
    const QList<VXLMediaPtr>& medias = content->medias;

    // A long listing is formatted in two halves at once; the second half waits in memory
    // while the first is written in blocks.
    const qsizetype half = medias.size() >= 4096 ? medias.size() / 2 : medias.size();
    std::string secondHalf;
    std::thread secondHalfFormatter;
    if (half < medias.size()) {
        secondHalfFormatter = std::thread([&] {
            secondHalf.reserve(size_t(medias.size() - half) * 200);
            for (qsizetype i = half; i < medias.size(); ++i)
                appendListingLine(secondHalf, i, *medias[i], *content);
        });
    }
    std::string out;
    out.reserve(kOutputBlock + 1024);
    for (qsizetype i = 0; i < half; ++i) {
        appendListingLine(out, i, *medias[i], *content);
        if (out.size() >= kOutputBlock) {
            CommandOutput::writeOut(QByteArray::fromRawData(out.data(), qsizetype(out.size())));
            out.clear();
        }
    }
    CommandOutput::writeOut(QByteArray::fromRawData(out.data(), qsizetype(out.size())));
    if (secondHalfFormatter.joinable()) {
        secondHalfFormatter.join();
        CommandOutput::writeOut(
            QByteArray::fromRawData(secondHalf.data(), qsizetype(secondHalf.size())));
    }
    if (content->leftOutCount > 0) {
        // The limit bounds memory and time on a huge card; a listing cut short says so.
        CommandOutput::writeError(
            QStringLiteral("scan: recording limit reached: %1 recordings listed, %2 more left out")
                .arg(medias.size())
                .arg(content->leftOutCount));
    }
    return 0;
}
