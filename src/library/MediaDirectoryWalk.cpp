#include "MediaDirectoryWalk.h"

#include "fileio/NativeFileName.h"

#include <QDir>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace MediaDirectoryWalk {

bool isListedRecording(const VXLMedia& media)
{
    // The parse leaves the camera unknown for a bad time field or a missing camera letter,
    // and front for a name of the wrong length; a name without a known prefix skips the
    // time test and is listed as an always recording without time (the "._" companions
    // some systems write beside each file look like this).
    return VXLMedia::hasRecordingNameLength(media.mediaNameLength()) &&
           (media.isFrontMedia() || media.isRearMedia());
}

namespace {

bool hasMp4Extension(const char* name, size_t length)
{
    if (length < 5 || name[length - 4] != '.')
        return false;
    const char* ext = name + length - 3;
    return (ext[0] | 0x20) == 'm' && (ext[1] | 0x20) == 'p' && ext[2] == '4';
}

QString childPath(const QString& directory, const QString& name)
{
    return directory == u"/" ? u'/' + name : directory + u'/' + name;
}

struct Walker
{
    QList<VXLMediaPtr>* medias; // null while counting
    const std::function<bool()>& cancelled;
    qsizetype limit = kMaxMedias;
    std::set<std::pair<dev_t, ino_t>> visited;
    // The limit stopped a directory before its last entry.
    bool stoppedEarly = false;
    // Accepted recordings seen while counting.
    qsizetype counted = 0;

    void walk(const std::string& directory, const QString& directoryText)
    {
        struct stat info;
        if (::stat(directory.c_str(), &info) != 0 ||
            !visited.insert({info.st_dev, info.st_ino}).second)
            return; // unreadable, or already walked through another link

        DIR* handle = ::opendir(directory.c_str());
        if (!handle)
            return;
        // Names live in one buffer; only folders, links and ".mp4" files are kept.
        struct Entry
        {
            size_t offset;
            size_t length;
            unsigned char type;
        };
        std::string names;
        std::vector<Entry> entries;
        while (const dirent* entry = ::readdir(handle)) {
            const char* n = entry->d_name;
            if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
                continue;
            const size_t length = std::strlen(n);
            if (entry->d_type == DT_REG ? !hasMp4Extension(n, length)
                                        : entry->d_type != DT_DIR && entry->d_type != DT_LNK &&
                                              entry->d_type != DT_UNKNOWN)
                continue;
            entries.push_back({names.size(), length, entry->d_type});
            names.append(n, length + 1);
        }
        ::closedir(handle);
        const char* base = names.data();
        std::sort(entries.begin(), entries.end(), [base](const Entry& a, const Entry& b) {
            return std::strcmp(base + a.offset, base + b.offset) < 0;
        });

        const std::string prefix = directory == "/" ? std::string() : directory;
        for (size_t index = 0; index < entries.size(); ++index) {
            if (cancelled && cancelled())
                return;
            const Entry& entry = entries[index];
            const char* name = base + entry.offset;
            bool isDirectory = entry.type == DT_DIR;
            if (entry.type == DT_LNK || entry.type == DT_UNKNOWN) {
                struct stat target;
                if (::stat((prefix + '/' + name).c_str(), &target) != 0)
                    continue; // dangling link
                isDirectory = S_ISDIR(target.st_mode);
            }
            // Names are bytes: decoded without loss, so the path finds the file again.
            const QString nameText =
                NativeFileName::fileNameFromBytes(QByteArrayView(name, qsizetype(entry.length)));
            if (isDirectory) {
                walk(prefix + '/' + name, childPath(directoryText, nameText));
                continue;
            }
            if (!hasMp4Extension(name, entry.length))
                continue;
            auto media = std::make_shared<VXLMedia>(directoryText, nameText);
            if (!isListedRecording(*media))
                continue;
            if (!medias) {
                ++counted;
                continue;
            }
            medias->append(std::move(media));
            // Only this directory stops here; the walks above stop after their next append.
            if (medias->size() >= limit) {
                stoppedEarly = stoppedEarly || index + 1 < entries.size();
                return;
            }
        }
    }
};

} // namespace

VXLMediaPtr createMediaByPath(const QString& path)
{
    VXLMediaPtr media = VXLMedia::mediaWithPath(path);
    return isListedRecording(*media) ? media : nullptr;
}

qsizetype eachDir(const QString& directory, QList<VXLMediaPtr>& medias,
                  const std::function<bool()>& cancelled, qsizetype limit)
{
    const QString root = QDir::cleanPath(QDir(directory).absolutePath());
    const std::string rootBytes = NativeFileName::fileNameToBytes(root).toStdString();
    const qsizetype before = medias.size();
    Walker walker{&medias, cancelled, limit, {}};
    walker.walk(rootBytes, root);
    if (!walker.stoppedEarly || (cancelled && cancelled()))
        return 0;
    // The listing stays exactly what the limited walk gave; a second walk only counts, so the
    // user can be told how much is missing from it. Every listed recording is counted again
    // (each folder once, as in the listing), so the difference is what the limit left out.
    Walker counter{nullptr, cancelled, limit, {}};
    counter.walk(rootBytes, root);
    return std::max<qsizetype>(0, counter.counted - (medias.size() - before));
}

} // namespace MediaDirectoryWalk
