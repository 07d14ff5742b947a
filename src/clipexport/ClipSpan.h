#pragma once

#include "library/VXLMedia.h"
#include "library/VXLMediaList.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// One recording's part of a clip: a stretch of the chosen camera's recording, with the other
// camera's recording of the same moment when the card holds one.
struct ClipSegment
{
    VXLMediaPtr master;  // the chosen camera's recording
    VXLMediaPtr partner; // the other camera's recording of the same moment, or null
    double from = 0;     // seconds from the start of the recordings
    double to = 0;
    double clipStart = 0; // where this part begins in the clip, in seconds
    double length = 0;    // the master recording's whole length, in seconds

    double duration() const { return to - from; }
    VXLMediaPtr front() const { return master->isRearMedia() ? partner : master; }
    VXLMediaPtr rear() const { return master->isRearMedia() ? master : partner; }
};

// A span of recordings to export: one segment per recording it touches, in time order.
struct ClipSpan
{
    QList<ClipSegment> segments;
    // Why the span cannot be exported (a sentence for the user); empty when it can.
    QString problem;

    bool isValid() const { return problem.isEmpty() && !segments.isEmpty(); }
    double duration() const;
    // Master and partner of any segment: false when the span shows one camera throughout.
    bool hasPartner() const;
};

// A recording's length in seconds, or a negative number when it cannot be learnt.
using RecordingLengthFunction = std::function<double(const VXLMedia&)>;

// The camera starts its next recording at most this long after the end of the last one.
inline constexpr double kConsecutiveGapSeconds = 2.0;
// A span may end this far past the last recording (a mark set at the very end of a
// recording whose length the player rounded up); shorter pieces are dropped.
inline constexpr double kSpanEndTolerance = 0.1;

// The start time in a recording's name (the camera's clock), or nothing for a name without
// one.
std::optional<QDateTime> recordingNameTime(const VXLMedia& media);

// The recording of the same mode and camera that starts where `recording` (of `length`
// seconds) ends, within kConsecutiveGapSeconds, or null.
VXLMediaPtr nextConsecutiveRecording(const VXLMediaList::Content& list, const VXLMedia& recording,
                                     double length);

// The span from `from` to `to` seconds after the start of `master`, running on into the
// recordings that follow it directly when it passes its end. Partners come from the list's
// pairs. A bad span (negative, reversed, past the last recording) gives a problem and no
// segments.
ClipSpan findClipSpan(const VXLMediaList::Content& list, const VXLMediaPtr& master, double from,
                      double to, const RecordingLengthFunction& lengthOf);
