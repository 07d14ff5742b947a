// libFuzzer target: the input describes a folder tree, which is built in a scratch folder and
// walked with a small limit and without one. One line per entry:
//   d PATH            a folder
//   f PATH            an empty file
//   l PATH<TAB>PATH   a symbolic link to another place in the tree (which may not exist)
// PATH is components separated by '/'; any other byte, UTF-8 or not, is part of a name.
// The limited walk lists a prefix of the full one, and what it leaves out is counted exactly.
#include "fileio/NativeFileName.h"
#include "library/MediaDirectoryWalk.h"

#include <QByteArrayList>
#include <QSet>

#include <cstdint>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxEntries = 48;
constexpr int kMaxDepth = 6;
constexpr qsizetype kMaxNameLength = 64;

const std::string& scratchRoot()
{
    static const std::string root = [] {
        char folder[] = "/tmp/vexlo-walk-fuzz-XXXXXX";
        if (!::mkdtemp(folder))
            std::abort();
        return std::string(folder) + "/tree";
    }();
    return root;
}

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    ::remove(path);
    return 0;
}

// The components of PATH that can be names; ".", ".." and empty ones are dropped, so nothing
// leaves the tree.
QByteArrayList components(const QByteArray& path)
{
    QByteArrayList kept;
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty() || part == "." || part == ".." || kept.size() == kMaxDepth)
            continue;
        kept.append(part.left(kMaxNameLength));
    }
    return kept;
}

void makeFolders(const std::string& root, const QByteArrayList& parts)
{
    std::string path = root;
    for (const QByteArray& part : parts) {
        path += '/' + part.toStdString();
        ::mkdir(path.c_str(), 0755);
    }
}

void build(const std::string& root, const QByteArray& description)
{
    int entries = 0;
    for (const QByteArray& line : description.split('\n')) {
        if (line.size() < 3 || line[1] != ' ' || ++entries > kMaxEntries)
            continue;
        const QByteArray rest = line.mid(2);
        const qsizetype tab = rest.indexOf('\t');
        QByteArrayList parts = components(line[0] == 'l' && tab >= 0 ? rest.left(tab) : rest);
        if (parts.isEmpty())
            continue;
        if (line[0] == 'd') {
            makeFolders(root, parts);
            continue;
        }
        const QByteArray name = parts.takeLast();
        makeFolders(root, parts);
        const std::string path = root + '/' + parts.join('/').toStdString() +
                                 (parts.isEmpty() ? "" : "/") + name.toStdString();
        if (line[0] == 'f') {
            const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
        } else if (line[0] == 'l' && tab >= 0) {
            // Relative to the link's folder, so it stays inside the tree.
            std::string target;
            for (qsizetype i = 0; i < parts.size(); ++i)
                target += "../";
            const QByteArrayList targetParts = components(rest.mid(tab + 1));
            target +=
                targetParts.isEmpty() ? std::string(".") : targetParts.join('/').toStdString();
            ::symlink(target.c_str(), path.c_str());
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& root = scratchRoot();
    ::nftw(root.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    if (::mkdir(root.c_str(), 0755) != 0)
        std::abort();
    build(root, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

    const QString rootText = NativeFileName::fileNameFromBytes(QByteArray::fromStdString(root));
    QList<VXLMediaPtr> all;
    if (MediaDirectoryWalk::eachDir(rootText, all, {}, 1 << 20) != 0)
        std::abort();
    QSet<QString> paths;
    for (const VXLMediaPtr& media : all) {
        // Listed once, by a path that reaches a file, and by a name the list accepts.
        struct stat status;
        if (paths.contains(media->path()) || !MediaDirectoryWalk::isListedRecording(*media) ||
            ::stat(NativeFileName::fileNameToBytes(media->path()).constData(), &status) != 0 ||
            !S_ISREG(status.st_mode))
            std::abort();
        paths.insert(media->path());
    }

    const qsizetype limit = qsizetype(size % 5) + 1;
    QList<VXLMediaPtr> limited;
    const qsizetype leftOut = MediaDirectoryWalk::eachDir(rootText, limited, {}, limit);
    if (limited.size() + leftOut != all.size() || (limited.size() < limit && leftOut != 0))
        std::abort();
    for (qsizetype i = 0; i < std::min(limit, limited.size()); ++i) {
        if (limited[i]->path() != all[i]->path())
            std::abort();
    }
    return 0;
}
