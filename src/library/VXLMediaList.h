#pragma once

#include "VXLMedia.h"
#include "VXLMediaPair.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <functional>

// Every recording found under one directory, sorted by time, with the front and rear file
// of each moment joined into a pair.
//
// A scan runs in the background and builds fresh containers; they replace the list's
// content whole, on the list's own thread, just before mediaListChanged is emitted. A reader
// on that thread therefore never meets a half-built list. A scan started while another runs
// wins: the older one is cancelled and its result dropped.
class VXLMediaList : public QObject
{
    Q_OBJECT

public:
    struct Content
    {
        QList<VXLMediaPtr> medias;                    // compareDate order
        QHash<QString, VXLMediaPairPtr> mediaPairDic; // mediaGroupName -> pair
        // Recordings the scan found but did not list because the list was full
        // (MediaDirectoryWalk::kMaxMedias); 0 when everything was listed.
        qsizetype leftOutCount = 0;

        void addMedia(const VXLMediaPtr& media);
        // Places a recording already in `medias` into the pair of its moment.
        void pairMedia(const VXLMediaPtr& media);
        VXLMediaPairPtr findMediaPairWithFileName(const QString& fileName) const;
    };

    explicit VXLMediaList(QObject* parent = nullptr);
    ~VXLMediaList() override;

    // Stores the path and, when it is not empty, starts a scan of it. An empty path only
    // clears the stored path.
    void setDirectoryPath(const QString& path);
    const QString& directoryPath() const { return m_directoryPath; }

    qsizetype count() const { return m_content.medias.size(); }
    // Null when the index is not below count().
    VXLMediaPtr mediaAtIndex(size_t index) const;
    const QList<VXLMediaPtr>& medias() const { return m_content.medias; }
    // The recordings with their pairs, for work that goes on beside the list (a copy is
    // cheap: the recordings are shared).
    const Content& content() const { return m_content; }
    // How many recordings of the last completed scan were left out because the list reached
    // its limit; 0 when the list holds them all. Read it when mediaListChanged arrives: the
    // window tells the user that the list is incomplete.
    qsizetype leftOutCount() const { return m_content.leftOutCount; }
    // Accepts a full path, a file name or a bare media name, of either camera.
    VXLMediaPairPtr findMediaPairWithFileName(const QString& fileName) const
    {
        return m_content.findMediaPairWithFileName(fileName);
    }
    // Appends and pairs one recording.
    void addMedia(const VXLMediaPtr& media) { m_content.addMedia(media); }

    // The whole scan, synchronously: walk, sort, pair. A missing or unreadable directory
    // gives an empty content.
    static Content scanDirectory(const QString& path, const std::function<bool()>& cancelled = {});

    // Blocks until no scan is running (for tests and shutdown).
    void waitForScan();

Q_SIGNALS:
    // Emitted once per completed scan, on the list's thread, after the content was replaced.
    void mediaListChanged(VXLMediaList* list);

private:
    void publish(quint64 generation, Content content);

    QString m_directoryPath;
    Content m_content;
    std::atomic<quint64> m_scanGeneration{0};
    QThreadPool m_scanPool;
};
