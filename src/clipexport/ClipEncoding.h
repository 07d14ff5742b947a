#pragma once

#include "ClipMediaProbe.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// How the cameras share the picture: front and rear side by side (front left), the rear as a
// picture in the upper right corner of the front, or the chosen camera alone.
enum class ClipLayout { SideBySide, PictureInPicture, Single };
// A fast preset at sharing size, or a slower one at the recordings' own size for keeping.
enum class ClipQuality { Fast, High };

// "sbs", "pip", "single" and "fast", "high", as vexlo-tool takes them.
QString clipLayoutName(ClipLayout layout);
std::optional<ClipLayout> clipLayoutFromName(const QString& name);
QString clipQualityName(ClipQuality quality);
std::optional<ClipQuality> clipQualityFromName(const QString& name);

// Where each camera goes in the clip's picture.
struct ClipGeometry
{
    QSize picture;   // the whole picture
    QSize main;      // the front camera (side by side, picture in picture) or the only one
    QSize inset;     // the rear camera; empty for a single camera
    QPoint insetPos; // its top left corner
};

// The clip's picture for cameras whose recordings are `mainSize` and `insetSize` (empty: a
// single camera). Fast keeps the picture at most 720 lines high and side by side at most 1920
// wide; high keeps the front camera's own height. Every size is even, as H.264 wants.
ClipGeometry clipGeometry(ClipLayout layout, ClipQuality quality, QSize mainSize, QSize insetSize);

// One camera's part of one segment of the clip.
struct ClipPiece
{
    QString path;    // the recording; empty: black picture (or silence) for this stretch
    double from = 0; // seconds into the recording
    double duration = 0;
    ClipMediaInfo media;
};

// Everything the encoder is told. The subtitle files are named relative to the folder
// ffmpeg runs in, so that no file name ever has to be escaped inside a filter graph.
struct ClipEncodingPlan
{
    ClipLayout layout = ClipLayout::SideBySide;
    ClipQuality quality = ClipQuality::Fast;
    QList<ClipPiece> mainPieces;  // one per segment
    QList<ClipPiece> insetPieces; // one per segment; empty for a single camera
    QList<ClipPiece> soundPieces; // one per segment (empty path: silence); empty: no sound
    QString burnedSubtitleFile;   // ASS, drawn into the picture; empty: no overlay
    QString subtitleTrackFile;    // SubRip, the clip's subtitle track; empty: none
    QString frameRate = QStringLiteral("30");
    ClipGeometry geometry;

    double duration() const;
};

// ffmpeg's name for a local file: an absolute path behind "file:", so that neither a leading
// "-" nor a colon in a folder name can be taken for something else.
QString ffmpegFileUrl(const QString& path);

// The whole ffmpeg argument list (without the program) writing an MP4 to `outputPath`:
// H.264 and AAC, "+faststart", progress as key=value lines on stdout, errors only on stderr,
// and no time stamps or version strings, so the same span gives the same bytes.
QStringList ffmpegArguments(const ClipEncodingPlan& plan, const QString& outputPath);

// Reads ffmpeg's "-progress pipe:1" output as it comes.
class ClipProgressParser
{
public:
    // Takes the next bytes; answers true when a progress block ended in them.
    bool feed(const QByteArray& bytes);
    // Seconds of the clip encoded so far.
    double encodedSeconds() const { return m_encodedSeconds; }
    // ffmpeg said "progress=end".
    bool ended() const { return m_ended; }

private:
    QByteArray m_pending;
    double m_encodedSeconds = 0;
    bool m_ended = false;
};
