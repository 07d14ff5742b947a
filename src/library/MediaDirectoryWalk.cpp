#include "MediaDirectoryWalk.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace MediaDirectoryWalk {

bool acceptsMediaName(QStringView name)
{
    if (!VXLMedia::hasRecordingNameLength(name.size()))
        return false;
    int values[6];
    if (name.startsWith(QLatin1StringView("alwa_"))) {
        if (!VXLMedia::readTimeField(name, 5, values))
            return false;
    } else if (name.startsWith(QLatin1StringView("motion_"))) {
        if (!VXLMedia::readTimeField(name, 7, values))
            return false;
    } else if (name.startsWith(QLatin1StringView("event_"))) {
        if (!VXLMedia::readTimeField(name, 6, values))
            return false;
    }
    // A name without a known prefix skips the time test: it is listed as an always
    // recording without time (the camera's "._" resource-fork companions look like this).
    return name.endsWith(QLatin1StringView("_F")) || name.endsWith(QLatin1StringView("_R"));
}

namespace {

QStringView baseNameOf(QStringView fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

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
        struct Entry
        {
            std::string name;
            unsigned char type;
        };
        std::vector<Entry> entries;
        while (const dirent* entry = ::readdir(handle)) {
            const char* n = entry->d_name;
            if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
                continue;
            entries.push_back({n, entry->d_type});
        }
        ::closedir(handle);
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.name < b.name; });

        for (const Entry& entry : entries) {
            if (cancelled && cancelled())
                return;
            const std::string path =
                (directory == "/" ? std::string() : directory) + '/' + entry.name;
            bool isDirectory = entry.type == DT_DIR;
            bool isFile = entry.type == DT_REG;
            if (entry.type == DT_LNK || entry.type == DT_UNKNOWN) {
                struct stat target;
                if (::stat(path.c_str(), &target) != 0)
                    continue; // dangling link
                isDirectory = S_ISDIR(target.st_mode);
                isFile = !isDirectory;
            }
            if (isDirectory) {
                walk(path, childPath(directoryText, QFile::decodeName(entry.name.c_str())));
                continue;
            }
            if (!isFile || !hasMp4Extension(entry.name.data(), entry.name.size()))
                continue;
            const QString fileName = QFile::decodeName(entry.name.c_str());
            if (!acceptsMediaName(baseNameOf(fileName)))
                continue;
            medias.append(VXLMedia::mediaWithPath(childPath(directoryText, fileName)));
            // Only this directory stops here; the walks above stop after their next append.
            if (medias.size() >= kMaxMedias)
                return;
        }
    }
};

} // namespace

VXLMediaPtr createMediaByPath(const QString& path)
{
    const QStringView lastComponent = QStringView(path).mid(path.lastIndexOf(u'/') + 1);
    if (!acceptsMediaName(baseNameOf(lastComponent)))
        return nullptr;
    return VXLMedia::mediaWithPath(path);
}

void eachDir(const QString& directory, QList<VXLMediaPtr>& medias,
             const std::function<bool()>& cancelled)
{
    const QString root = QDir::cleanPath(QDir(directory).absolutePath());
    Walker walker{medias, cancelled, {}};
    walker.walk(QFile::encodeName(root).toStdString(), root);
}

} // namespace MediaDirectoryWalk
