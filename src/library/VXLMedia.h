#pragma once

#include <QString>
#include <QStringView>

#include <memory>

// Recording mode, as the camera encodes it in the file name.
enum VXLMediaDivision : int {
    VXLMediaDivisionAlways = 0,
    VXLMediaDivisionMotion = 1,
    VXLMediaDivisionEvent = 2
};

// Camera that made a recording; also the play state's choice of the camera that is heard.
enum VXLMediaDirection : int {
    VXLMediaDirectionFront = 0,
    VXLMediaDirectionRear = 1,
    VXLMediaDirectionUnknown = 2
};

// One recording file of the camera. The base name carries the mode, the start time and
// the camera: "alwa_yyyymmdd_hhmiss_F", "motion_..._R", "event_..._F". All fields are set
// once, when the recording is built from its path.
class VXLMedia
{
public:
    VXLMedia() = default;
    explicit VXLMedia(const QString& path) { parsePath(path); }
    // For a walk that already holds a clean absolute folder path: the folder's text is shared
    // by all recordings built in it.
    VXLMedia(const QString& cleanDir, const QString& fileName);

    static std::shared_ptr<VXLMedia> mediaWithPath(const QString& path)
    {
        return std::make_shared<VXLMedia>(path);
    }

    void parsePath(const QString& path);

    // -1, 0 or +1: the order of the recording list (time, then event before motion before
    // always, then front before rear before unknown).
    int compareDate(const VXLMedia& other) const;

    const QString& path() const { return m_path; }
    QString mediaName() const { return nameView().toString(); }
    qsizetype mediaNameLength() const { return m_nameLength; }
    QString extension() const { return extensionView().toString(); }
    const QString& dir() const { return m_dir; }

    int year() const { return m_year; }
    int month() const { return m_month; }
    int day() const { return m_day; }
    int hour() const { return m_hour; }
    int minute() const { return m_minute; }
    int second() const { return m_second; }
    int mediaDivision() const { return m_mediaDivision; }
    int mediaDirection() const { return m_mediaDirection; }
    bool didValidated() const { return m_didValidated; }

    bool isFrontMedia() const { return m_mediaDirection == VXLMediaDirectionFront; }
    bool isRearMedia() const { return m_mediaDirection == VXLMediaDirectionRear; }
    bool isAlwaysMedia() const { return m_mediaDivision == VXLMediaDivisionAlways; }
    bool isMotionMedia() const { return m_mediaDivision == VXLMediaDivisionMotion; }
    bool isEventMedia() const { return m_mediaDivision == VXLMediaDivisionEvent; }

    QString fileName() const;
    QString mediaGroupName() const;
    QString yyyymmddhhmiss() const;

    // The time-field test shared with the list's acceptance test: reads the 15 characters
    // "yyyymmdd_hhmiss" at `startPos` into the six values and answers whether all are in
    // range. Answers false, leaving `values` untouched, when the name is too short.
    static bool readTimeField(QStringView name, qsizetype startPos, int values[6]);

    // The lengths of the three name shapes (always, motion, event).
    static bool hasRecordingNameLength(qsizetype length)
    {
        return length == 22 || length == 24 || length == 23;
    }

    // The key of the recording's pair: the media name without its camera letter.
    QString pairKey() const;

private:
    QStringView nameView() const { return QStringView(m_path).mid(m_nameStart, m_nameLength); }
    QStringView extensionView() const
    {
        return m_hasExtension ? QStringView(m_path).mid(m_nameStart + m_nameLength + 1)
                              : QStringView();
    }
    void locateName(qsizetype componentStart);
    void parseName();
    bool _parseTimeByName(QStringView name, qsizetype startPos);
    void _updateToUknown();

    QString m_path;
    // The name and the extension are kept as places in the path: a card holds thousands of
    // recordings, and the scan's memory is mostly these strings.
    qint32 m_nameStart = 0;
    qint32 m_nameLength = 0;
    bool m_hasExtension = false;
    QString m_dir;
    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    int m_hour = 0;
    int m_minute = 0;
    int m_second = 0;
    int m_mediaDivision = VXLMediaDivisionAlways;
    int m_mediaDirection = VXLMediaDirectionFront;
    bool m_didValidated = false;
};

using VXLMediaPtr = std::shared_ptr<VXLMedia>;

// Front/rear from the path of a media already loaded into a player: the last six
// characters compared, ignoring case, with "_R.MP4" and "_F.MP4". An empty path (a media
// without a location) is unknown.
int mediaDirectionForPath(const QString& path);
