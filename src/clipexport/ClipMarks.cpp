#include "ClipMarks.h"

#include <algorithm>
#include <limits>

namespace {

VXLMediaPtr findByPath(const VXLMediaList::Content& list, const QString& path)
{
    for (const VXLMediaPtr& media : list.medias)
        if (media->path() == path)
            return media;
    return nullptr;
}

// How far a span that starts in `recording` may run: to its end, or on when the camera went
// on recording.
double latestEnd(const VXLMediaList::Content& list, const VXLMedia& recording, double length)
{
    return nextConsecutiveRecording(list, recording, length)
               ? std::numeric_limits<double>::infinity()
               : length;
}

std::optional<double> offsetFromMarks(const ClipMarks& marks, const VXLMediaList::Content& list,
                                      const VXLMedia& recording,
                                      const RecordingLengthFunction& lengthOf)
{
    if (!marks.isSet())
        return std::nullopt;
    if (marks.recordingPath == recording.path())
        return 0.0;
    const VXLMediaPtr origin = findByPath(list, marks.recordingPath);
    if (!origin)
        return std::nullopt;
    return recordingOffset(list, *origin, recording, lengthOf);
}

} // namespace

std::optional<double> recordingOffset(const VXLMediaList::Content& list, const VXLMedia& origin,
                                      const VXLMedia& recording,
                                      const RecordingLengthFunction& lengthOf)
{
    if (origin.path() == recording.path())
        return 0.0;
    const VXLMedia* current = &origin;
    VXLMediaPtr next;
    double offset = 0;
    for (qsizetype step = 0; step < list.medias.size(); ++step) {
        const double length = lengthOf(*current);
        if (!(length > 0))
            return std::nullopt;
        next = nextConsecutiveRecording(list, *current, length);
        if (!next)
            return std::nullopt;
        offset += length;
        if (next->path() == recording.path())
            return offset;
        current = next.get();
    }
    return std::nullopt;
}

ClipMarks defaultClipMarks(const VXLMediaList::Content& list, const VXLMedia& recording,
                           double position, double length)
{
    ClipMarks marks;
    marks.recordingPath = recording.path();
    marks.in = std::max(0.0, position - kClipMarginSeconds);
    marks.out = std::min(position + kClipMarginSeconds, latestEnd(list, recording, length));
    return marks;
}

ClipMarks markClipIn(const ClipMarks& marks, const VXLMediaList::Content& list,
                     const VXLMedia& recording, double position, double length,
                     const RecordingLengthFunction& lengthOf)
{
    // The span is counted from the recording of its In mark from now on.
    ClipMarks marked;
    marked.recordingPath = recording.path();
    marked.in = std::max(0.0, position);
    const std::optional<double> offset = offsetFromMarks(marks, list, recording, lengthOf);
    if (offset && marks.out - *offset > marked.in)
        marked.out = marks.out - *offset;
    else
        marked.out = std::min(marked.in + kClipMarginSeconds, latestEnd(list, recording, length));
    return marked;
}

ClipMarks markClipOut(const ClipMarks& marks, const VXLMediaList::Content& list,
                      const VXLMedia& recording, double position, double length,
                      const RecordingLengthFunction& lengthOf)
{
    const std::optional<double> offset = offsetFromMarks(marks, list, recording, lengthOf);
    if (offset && *offset + position > marks.in) {
        ClipMarks marked = marks;
        marked.out = *offset + position;
        return marked;
    }
    ClipMarks marked;
    marked.recordingPath = recording.path();
    marked.out = std::clamp(position, 0.0, length > 0 ? length : position);
    marked.in = std::max(0.0, marked.out - kClipMarginSeconds);
    return marked;
}
