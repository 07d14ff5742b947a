#include "VXLMediaList.h"

#include "MediaDirectoryWalk.h"

#include <QMetaObject>

#include <algorithm>

void VXLMediaList::Content::addMedia(const VXLMediaPtr& media)
{
    medias.append(media);
    pairMedia(media);
}

void VXLMediaList::Content::pairMedia(const VXLMediaPtr& media)
{
    // pairKey() is what findMediaPairWithFileName() makes of the recording's file name.
    VXLMediaPairPtr pair = mediaPairDic.value(media->pairKey());
    if (!pair) {
        pair = VXLMediaPair::mediaPair();
        mediaPairDic.insert(media->mediaGroupName(), pair);
    }
    // A second recording of the same moment and camera replaces the first in the pair;
    // both stay in the list.
    if (media->isRearMedia())
        pair->rearMedia = media;
    else if (media->isFrontMedia())
        pair->frontMedia = media;
}

VXLMediaPairPtr VXLMediaList::Content::findMediaPairWithFileName(const QString& fileName) const
{
    QStringView name = QStringView(fileName).mid(fileName.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0)
        name = name.left(dot);
    if (name.endsWith(QLatin1StringView("_F")) || name.endsWith(QLatin1StringView("_R")))
        name.chop(2);
    return mediaPairDic.value(name.toString());
}

VXLMediaList::VXLMediaList(QObject* parent) : QObject(parent)
{
    m_scanPool.setMaxThreadCount(1);
}

VXLMediaList::~VXLMediaList()
{
    ++m_scanGeneration; // cancels a running walk
    m_scanPool.waitForDone();
}

VXLMediaPtr VXLMediaList::mediaAtIndex(size_t index) const
{
    if (index >= size_t(m_content.medias.size()))
        return nullptr;
    return m_content.medias.at(qsizetype(index));
}

VXLMediaList::Content VXLMediaList::scanDirectory(const QString& path,
                                                  const std::function<bool()>& cancelled)
{
    QList<VXLMediaPtr> found;
    const qsizetype leftOut = MediaDirectoryWalk::eachDir(path, found, cancelled);
    std::stable_sort(found.begin(), found.end(), [](const VXLMediaPtr& a, const VXLMediaPtr& b) {
        return a->compareDate(*b) < 0;
    });
    Content content;
    content.medias = std::move(found);
    content.leftOutCount = leftOut;
    content.mediaPairDic.reserve(content.medias.size());
    for (const VXLMediaPtr& media : std::as_const(content.medias))
        content.pairMedia(media);
    return content;
}

void VXLMediaList::setDirectoryPath(const QString& path)
{
    m_directoryPath = path;
    if (path.isEmpty())
        return;
    const quint64 generation = ++m_scanGeneration;
    m_scanPool.start([this, path, generation] {
        Content content = scanDirectory(path, [this, generation] {
            return m_scanGeneration.load(std::memory_order_relaxed) != generation;
        });
        QMetaObject::invokeMethod(
            this,
            [this, generation, c = std::move(content)]() mutable {
                publish(generation, std::move(c));
            },
            Qt::QueuedConnection);
    });
}

void VXLMediaList::publish(quint64 generation, Content content)
{
    if (generation != m_scanGeneration.load())
        return; // a newer scan was started: this result is stale
    m_content = std::move(content);
    Q_EMIT mediaListChanged(this);
}

void VXLMediaList::waitForScan()
{
    m_scanPool.waitForDone();
}
