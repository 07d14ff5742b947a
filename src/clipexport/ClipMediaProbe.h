#pragma once

#include <QSize>
#include <QString>

// What the encoder needs to know of a recording, as ffprobe reads it.
struct ClipMediaInfo
{
    double duration = -1; // seconds of the video track (of the file when it has none)
    QSize videoSize;      // empty without a video track
    QString frameRate;    // "30/1", as ffmpeg's filters take it
    bool hasAudio = false;
    // Why the file could not be read; empty when it was.
    QString problem;

    bool hasVideo() const { return !videoSize.isEmpty(); }
};

// Runs ffprobe on `path` and blocks until it answers (a fraction of a second); call it off
// the GUI thread. `ffprobe` is the program to run.
ClipMediaInfo probeClipMedia(const QString& path,
                             const QString& ffprobe = QStringLiteral("ffprobe"));

// The same from ffprobe's JSON answer (-show_streams -show_format).
ClipMediaInfo clipMediaInfoFromJson(const QByteArray& json);
