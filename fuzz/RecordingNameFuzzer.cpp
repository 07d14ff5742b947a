// libFuzzer target: arbitrary bytes as a recording's file name, through the byte-to-text
// mapping, the name parser, the list's acceptance test and the sort order.
#include "fileio/NativeFileName.h"
#include "library/MediaDirectoryWalk.h"
#include "library/VXLMedia.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

void checkMedia(const VXLMedia& media, const QString& name)
{
    const VXLMedia reference(QStringLiteral("/card"), QStringLiteral("alwa_20230415_093012_F.MP4"));
    if (media.compareDate(media) != 0 ||
        media.compareDate(reference) != -reference.compareDate(media))
        std::abort();
    if (media.fileName() != name &&
        !(media.extension().isEmpty() && media.fileName() == name + u'.'))
        std::abort();
    if (media.yyyymmddhhmiss().size() != 14)
        std::abort();
    const bool noTime = media.year() == 0 && media.month() == 0 && media.day() == 0 &&
                        media.hour() == 0 && media.minute() == 0 && media.second() == 0;
    const bool validTime = inRange(media.year(), 1970, 2700) && inRange(media.month(), 1, 12) &&
                           inRange(media.day(), 1, 31) && inRange(media.hour(), 0, 24) &&
                           inRange(media.minute(), 0, 60) && inRange(media.second(), 0, 60);
    if (!noTime && !validTime)
        std::abort();
    if (MediaDirectoryWalk::isListedRecording(media)) {
        // A listed recording is front or rear, and its pair key is its name less the letter.
        if (!VXLMedia::hasRecordingNameLength(media.mediaNameLength()) ||
            media.pairKey() != media.mediaGroupName() ||
            (!media.isFrontMedia() && !media.isRearMedia()))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = NativeFileName::fileNameFromBytes(bytes);
    if (NativeFileName::fileNameToBytes(text) != bytes)
        std::abort();

    // As a name found by the walk (one path component) and as a path given by a caller.
    QString name = text;
    name.replace(u'/', u'_').replace(QChar(0), u'_');
    if (!name.isEmpty() && name != u"." && name != u"..") {
        const VXLMedia media(QStringLiteral("/card"), name);
        checkMedia(media, name);
        const VXLMediaPtr created =
            MediaDirectoryWalk::createMediaByPath(QStringLiteral("/card/") + name);
        if (bool(created) != MediaDirectoryWalk::isListedRecording(media))
            std::abort();
    }
    const VXLMedia fromPath(text);
    fromPath.compareDate(fromPath);
    mediaDirectionForPath(text);
    return 0;
}
