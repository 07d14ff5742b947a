#pragma once

#include "ClipSpan.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

#include <utility>

class VXLBlackBoxData;

// One text shown over the clip from `start` to `end` seconds; lines end with '\n'.
struct ClipCue
{
    double start = 0;
    double end = 0;
    QString text;
};

// The records [first, end) of a recording of `length` seconds holding `count` records that
// play between `from` and `to` seconds. Record i plays from i·length/count on, the moment
// the player shows it.
std::pair<qsizetype, qsizetype> recordsBetween(qsizetype count, double length, double from,
                                               double to);

// One cue per drive record of `data` (the recording of `segment`) that plays inside the
// segment, at clip time: the camera's date and time, the speed in km/h or, with `miles`, in
// mi/h, the coordinates and the G values. Position and speed come from the fix in effect at
// the record, and only from a valid one.
QList<ClipCue> driveDataCues(const VXLBlackBoxData& data, const ClipSegment& segment, bool miles);

// The cues as an ASS script sized for a picture of `picture` (burned in by ffmpeg's
// subtitles filter): white text on a dark box in the lower left corner.
QByteArray assSubtitles(const QList<ClipCue>& cues, QSize picture);
// The cues as SubRip text (the clip's subtitle track, which a player shows or hides).
QByteArray srtSubtitles(const QList<ClipCue>& cues);
