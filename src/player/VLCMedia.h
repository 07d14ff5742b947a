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
    explicit VLCMedia(const QString& path) : m_path(path) {}

    static VLCMediaPtr mediaWithPath(const QString& path)
    {
        return std::make_shared<VLCMedia>(path);
    }

    const QString& path() const { return m_path; }
    QUrl url() const { return QUrl::fromLocalFile(m_path); }

    // No time until a player has opened the media.
    VLCTime length() const;
    void setLength(const VLCTime& length);

    // Front or rear from the file name (VXLMediaDirection: 0 front, 1 rear, 2 unknown).
    int mediaDirection() const;
    bool isFrontMedia() const;
    bool isRearMedia() const;

private:
    QString m_path;
    VLCTime m_length;
};
