#include "MediaDirectoryWalk.h"

#include <QDir>
#include <QFile>

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
    QList<VXLMediaPtr>& medias;
    const std::function<bool()>& cancelled;
    std::set<std::pair<dev_t, ino_t>> visited;

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
        for (const Entry& entry : entries) {
            if (cancelled && cancelled())
                return;
            const char* name = base + entry.offset;
            bool isDirectory = entry.type == DT_DIR;
            if (entry.type == DT_LNK || entry.type == DT_UNKNOWN) {
                struct stat target;
                if (::stat((prefix + '/' + name).c_str(), &target) != 0)
                    continue; // dangling link
                isDirectory = S_ISDIR(target.st_mode);
            }
            if (isDirectory) {
                walk(prefix + '/' + name, childPath(directoryText, QFile::decodeName(name)));
                continue;
            }
            if (!hasMp4Extension(name, entry.length))
                continue;
            auto media = std::make_shared<VXLMedia>(directoryText, QFile::decodeName(name));
            if (!isListedRecording(*media))
                continue;
            medias.append(std::move(media));
            // Only this directory stops here; the walks above stop after their next append.
            if (medias.size() >= kMaxMedias)
                return;
        }
    }
};

} // namespace

VXLMediaPtr createMediaByPath(const QString& path)
{
    VXLMediaPtr media = VXLMedia::mediaWithPath(path);
    return isListedRecording(*media) ? media : nullptr;
}

void eachDir(const QString& directory, QList<VXLMediaPtr>& medias,
             const std::function<bool()>& cancelled)
{
    const QString root = QDir::cleanPath(QDir(directory).absolutePath());
    Walker walker{medias, cancelled, {}};
    walker.walk(QFile::encodeName(root).toStdString(), root);
}

} // namespace MediaDirectoryWalk
