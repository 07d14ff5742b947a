#include "ClipSpan.h"

#include <cmath>

namespace {

// Seconds as the messages show them: whole seconds without decimals.
QString seconds(double value)
{
    return QString::number(value, 'f', std::fabs(value - std::round(value)) < 0.005 ? 0 : 2);
}

VXLMediaPtr partnerOf(const VXLMediaList::Content& list, const VXLMedia& media)
{
    const VXLMediaPairPtr pair = list.findMediaPairWithFileName(media.fileName());
    if (!pair)
        return nullptr;
    return media.isRearMedia() ? pair->frontMedia : pair->rearMedia;
}

// A chain of recordings that each follow the last is bounded by the card; this only guards
// against a list that would make the walk go round.
constexpr int kMaxSegments = 10000;

} // namespace

double ClipSpan::duration() const
{
    double total = 0;
    for (const ClipSegment& segment : segments)
        total += segment.duration();
    return total;
}

bool ClipSpan::hasPartner() const
{
    for (const ClipSegment& segment : segments)
        if (segment.partner)
            return true;
    return false;
}

std::optional<QDateTime> recordingNameTime(const VXLMedia& media)
{
    if (media.year() == 0)
        return std::nullopt;
    // The camera's clock has no zone; UTC keeps the arithmetic free of daylight saving.
    // Hour 24 and second 60 pass the name check and simply carry over.
    const QDateTime day(QDate(media.year(), media.month(), media.day()), QTime(0, 0), Qt::UTC);
    if (!day.isValid())
        return std::nullopt;
    return day.addSecs(qint64(media.hour()) * 3600 + media.minute() * 60 + media.second());
}

VXLMediaPtr nextConsecutiveRecording(const VXLMediaList::Content& list, const VXLMedia& recording,
                                     double length)
{
    const std::optional<QDateTime> start = recordingNameTime(recording);
    if (!start || !(length > 0))
        return nullptr;
    qsizetype index = -1;
    for (qsizetype i = 0; i < list.medias.size(); ++i) {
        if (list.medias[i]->path() == recording.path()) {
            index = i;
            break;
        }
    }
    if (index < 0)
        return nullptr;
    // The list is in time order: the first recording of the same mode and camera that starts
    // after this one decides.
    for (qsizetype i = index + 1; i < list.medias.size(); ++i) {
        const VXLMediaPtr& candidate = list.medias[i];
        if (candidate->mediaDivision() != recording.mediaDivision() ||
            candidate->mediaDirection() != recording.mediaDirection())
            continue;
        const std::optional<QDateTime> next = recordingNameTime(*candidate);
        if (!next)
            continue;
        const double gap = double(start->secsTo(*next)) - length;
        if (gap < -kConsecutiveGapSeconds)
            continue; // starts inside this one: another recording of the same moment
        return gap <= kConsecutiveGapSeconds ? candidate : nullptr;
    }
    return nullptr;
}

ClipSpan findClipSpan(const VXLMediaList::Content& list, const VXLMediaPtr& master, double from,
                      double to, const RecordingLengthFunction& lengthOf)
{
    ClipSpan span;
    if (!master) {
        span.problem = QStringLiteral("No recording is chosen.");
        return span;
    }
    if (!std::isfinite(from) || !std::isfinite(to)) {
        span.problem = QStringLiteral("The start and the end of the span must be numbers.");
        return span;
    }
    if (from < 0) {
        span.problem = QStringLiteral("The span starts %1 s before the recording begins; it "
                                      "must start at 0 s or later.")
                           .arg(seconds(-from));
        return span;
    }
    if (to <= from) {
        span.problem =
            QStringLiteral("The span ends (%1 s) before it starts (%2 s): the end must come "
                           "after the start.")
                .arg(seconds(to), seconds(from));
        return span;
    }

    VXLMediaPtr recording = master;
    double offset = 0; // where `recording` begins, counted from the start of `master`
    for (int step = 0; step < kMaxSegments; ++step) {
        const double length = lengthOf(*recording);
        if (!(length > 0)) {
            span.segments.clear();
            span.problem = QStringLiteral("The length of %1 cannot be read: it is damaged or "
                                          "not a video.")
                               .arg(recording->fileName());
            return span;
        }
        const double end = offset + length;
        if (from < end && to > offset && std::min(to, end) - std::max(from, offset) >= 0.001) {
            ClipSegment segment;
            segment.master = recording;
            segment.partner = partnerOf(list, *recording);
            segment.from = std::max(from, offset) - offset;
            segment.to = std::min(to, end) - offset;
            segment.clipStart = std::max(from, offset) - from;
            segment.length = length;
            span.segments.append(segment);
        }
        if (to <= end + kSpanEndTolerance)
            break;
        const VXLMediaPtr next = nextConsecutiveRecording(list, *recording, length);
        if (!next) {
            span.segments.clear();
            span.problem = QStringLiteral("The span runs past the end of the recordings: it "
                                          "ends at %1 s, but %2%3 ends at %4 s.")
                               .arg(seconds(to), master->fileName(),
                                    recording == master
                                        ? QString()
                                        : QStringLiteral(" with the recordings that follow it"),
                                    seconds(end));
            return span;
        }
        offset = end;
        recording = next;
    }
    // A piece too short for a single picture at the end is only rounding of the mark.
    while (span.segments.size() > 1 && span.segments.last().duration() < kSpanEndTolerance)
        span.segments.removeLast();
    if (span.segments.isEmpty())
        span.problem = QStringLiteral("The span starts at %1 s, after the end of %2.")
                           .arg(seconds(from), master->fileName());
    return span;
}
