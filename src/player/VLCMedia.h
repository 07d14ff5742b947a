#pragma once

#include "VLCTime.h"

#include <QString>
#include <QUrl>

#include <memory>

class VLCMedia;
using VLCMediaPtr = std::shared_ptr<VLCMedia>;

// A recording loaded, or to be loaded, into a player. Its length is learnt by the player
// that plays it (libVLC knows it only once the file is open).
class VLCMedia
{
public:
    // The camera is told by whoever knows the card's naming rule; the player itself does not
    // read file names.
    explicit VLCMedia(const QString& path, int mediaDirection = kUnknownDirection)
        : m_path(path), m_mediaDirection(mediaDirection)
    {
    }

    static VLCMediaPtr mediaWithPath(const QString& path, int mediaDirection = kUnknownDirection)
    {
        return std::make_shared<VLCMedia>(path, mediaDirection);
    }

    const QString& path() const { return m_path; }
    QUrl url() const { return QUrl::fromLocalFile(m_path); }

    // No time until a player has opened the media.
    VLCTime length() const;
    void setLength(const VLCTime& length);

    // The camera codes of the recording list: 0 front, 1 rear, 2 unknown.
    static constexpr int kFrontDirection = 0;
    static constexpr int kRearDirection = 1;
    static constexpr int kUnknownDirection = 2;
    int mediaDirection() const { return m_mediaDirection; }
    bool isFrontMedia() const { return m_mediaDirection == kFrontDirection; }
    bool isRearMedia() const { return m_mediaDirection == kRearDirection; }

private:
    QString m_path;
    int m_mediaDirection = kUnknownDirection;
    VLCTime m_length;
};
