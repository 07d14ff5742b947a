#pragma once

#include "ClipSpan.h"

#include <QString>

#include <optional>

// The In and Out marks of the span to export, as seconds from the start of one recording;
// the Out mark may lie in a recording that follows it directly.
struct ClipMarks
{
    QString recordingPath;
    double in = 0;
    double out = 0;

    bool isSet() const { return !recordingPath.isEmpty(); }
    bool operator==(const ClipMarks&) const = default;
};

// Without marks, a clip runs this long before and after the play position.
inline constexpr double kClipMarginSeconds = 30;

// Where `recording` begins, counted from the start of `origin`: 0 for the same recording, the
// lengths of those between for one that follows it directly; nothing otherwise or when a
// length is not known.
std::optional<double> recordingOffset(const VXLMediaList::Content& list, const VXLMedia& origin,
                                      const VXLMedia& recording,
                                      const RecordingLengthFunction& lengthOf);

// The marks the clip has when none are set: 30 s before to 30 s after `position` seconds of
// `recording` (of `length` seconds), kept inside the recording unless another follows it
// directly.
ClipMarks defaultClipMarks(const VXLMediaList::Content& list, const VXLMedia& recording,
                           double position, double length);

// The marks after pressing In (or Out) at `position` seconds of `recording`. A mark that
// would leave the span empty, or that lies outside the marks' recordings, starts a new span
// of 30 s after it (before it).
ClipMarks markClipIn(const ClipMarks& marks, const VXLMediaList::Content& list,
                     const VXLMedia& recording, double position, double length,
                     const RecordingLengthFunction& lengthOf);
ClipMarks markClipOut(const ClipMarks& marks, const VXLMediaList::Content& list,
                      const VXLMedia& recording, double position, double length,
                      const RecordingLengthFunction& lengthOf);
