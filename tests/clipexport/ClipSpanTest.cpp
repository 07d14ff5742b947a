#include "clipexport/ClipSpan.h"
#include "clipexport/ClipMarks.h"

#include <QHash>

#include <gtest/gtest.h>

#include <limits>

namespace {

// A card of recordings (file name -> length in seconds), in the list's order.
struct Card
{
    VXLMediaList::Content list;
    QHash<QString, double> lengths;

    Card(std::initializer_list<std::pair<const char*, double>> recordings)
    {
        QList<VXLMediaPtr> medias;
        for (const auto& [name, length] : recordings) {
            medias << VXLMedia::mediaWithPath(QStringLiteral("/card/DCIM/") +
                                              QString::fromLatin1(name));
            lengths.insert(QString::fromLatin1(name), length);
        }
        std::stable_sort(
            medias.begin(), medias.end(),
            [](const VXLMediaPtr& a, const VXLMediaPtr& b) { return a->compareDate(*b) < 0; });
        for (const VXLMediaPtr& media : medias)
            list.addMedia(media);
    }
    VXLMediaPtr operator[](const char* name) const
    {
        for (const VXLMediaPtr& media : list.medias)
            if (media->fileName() == QLatin1StringView(name))
                return media;
        return nullptr;
    }
    RecordingLengthFunction lengthOf() const
    {
        return [this](const VXLMedia& media) {
            return lengths.value(media.fileName(), -1);
        };
    }
};

// Two pairs recorded one after the other (the second starting 30 s after the first, as the
// camera does), an event of the same moment, a rear recording alone, and a front recording
// that starts 5 s after the last one ended.
Card sampleCard()
{
    return Card{{"alwa_20230415_093012_F.MP4", 30.0},  {"alwa_20230415_093012_R.MP4", 30.0},
                {"alwa_20230415_093042_F.MP4", 30.0},  {"alwa_20230415_093042_R.MP4", 30.0},
                {"event_20230415_093112_F.MP4", 20.0}, {"alwa_20230415_093113_F.MP4", 29.5},
                {"alwa_20230415_093150_F.MP4", 30.0},  {"motion_20230415_101500_R.MP4", 20.0}};
}

struct SegmentText
{
    const char* master;
    const char* partner; // "" for none
    double from;
    double to;
    double clipStart;
};

TEST(ClipSpan, SegmentsAcrossConsecutiveRecordings)
{
    const Card card = sampleCard();
    struct Case
    {
        const char* master;
        double from;
        double to;
        std::vector<SegmentText> segments;
    };
    const Case cases[] = {
        {"alwa_20230415_093012_F.MP4",
         25,
         28,
         {{"alwa_20230415_093012_F.MP4", "alwa_20230415_093012_R.MP4", 25, 28, 0}}},
        // The rear recording leads: its partner is the front one.
        {"alwa_20230415_093012_R.MP4",
         0,
         30,
         {{"alwa_20230415_093012_R.MP4", "alwa_20230415_093012_F.MP4", 0, 30, 0}}},
        // Past the end into the next always recording, not into the event of 09:31:12; the
        // recording at 09:31:13 follows 093042 within the camera's gap of a second.
        {"alwa_20230415_093012_F.MP4",
         25,
         70,
         {{"alwa_20230415_093012_F.MP4", "alwa_20230415_093012_R.MP4", 25, 30, 0},
          {"alwa_20230415_093042_F.MP4", "alwa_20230415_093042_R.MP4", 0, 30, 5},
          {"alwa_20230415_093113_F.MP4", "", 0, 10, 35}}},
        // A span that starts in the second recording.
        {"alwa_20230415_093012_R.MP4",
         40,
         45,
         {{"alwa_20230415_093042_R.MP4", "alwa_20230415_093042_F.MP4", 10, 15, 0}}},
        // An end mark at most a tenth past the end is the end.
        {"motion_20230415_101500_R.MP4",
         10,
         20.05,
         {{"motion_20230415_101500_R.MP4", "", 10, 20, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.master << " " << c.from << " " << c.to);
        const ClipSpan span =
            findClipSpan(card.list, card[c.master], c.from, c.to, card.lengthOf());
        ASSERT_TRUE(span.isValid()) << span.problem.toStdString();
        ASSERT_EQ(span.segments.size(), qsizetype(c.segments.size()));
        for (size_t i = 0; i < c.segments.size(); ++i) {
            const ClipSegment& got = span.segments[qsizetype(i)];
            const SegmentText& want = c.segments[i];
            EXPECT_EQ(got.master->fileName(), QLatin1StringView(want.master));
            EXPECT_EQ(got.partner ? got.partner->fileName() : QString(),
                      QLatin1StringView(want.partner));
            EXPECT_DOUBLE_EQ(got.from, want.from);
            EXPECT_DOUBLE_EQ(got.to, want.to);
            EXPECT_DOUBLE_EQ(got.clipStart, want.clipStart);
        }
    }
}

TEST(ClipSpan, BadSpansSayWhy)
{
    const Card card = sampleCard();
    const struct
    {
        const char* master;
        double from;
        double to;
        const char* says;
    } cases[] = {
        {"alwa_20230415_093012_F.MP4", 10, 5, "before it starts"},
        {"alwa_20230415_093012_F.MP4", 10, 10, "before it starts"},
        {"alwa_20230415_093012_F.MP4", -1, 5, "before the recording begins"},
        {"alwa_20230415_093012_F.MP4", 0, std::numeric_limits<double>::quiet_NaN(), "numbers"},
        // 093113 + 29.5 s ends 6.5 s before 093150 begins: the chain stops there.
        {"alwa_20230415_093012_F.MP4", 80, 100, "past the end of the recordings"},
        {"motion_20230415_101500_R.MP4", 25, 30, "past the end"},
        {"event_20230415_093112_F.MP4", 0, 21, "past the end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.master << " " << c.from << " " << c.to);
        const ClipSpan span =
            findClipSpan(card.list, card[c.master], c.from, c.to, card.lengthOf());
        EXPECT_FALSE(span.isValid());
        EXPECT_TRUE(span.segments.isEmpty());
        EXPECT_TRUE(span.problem.contains(QLatin1StringView(c.says))) << span.problem.toStdString();
    }
    // A recording whose length cannot be learnt ends the span with a reason.
    Card damaged = sampleCard();
    damaged.lengths.insert(QStringLiteral("alwa_20230415_093042_F.MP4"), -1);
    const ClipSpan span = findClipSpan(damaged.list, damaged["alwa_20230415_093012_F.MP4"], 20, 40,
                                       damaged.lengthOf());
    EXPECT_TRUE(span.problem.contains(QLatin1StringView("alwa_20230415_093042_F.MP4")));
}

TEST(ClipMarks, InAndOutAcrossRecordings)
{
    const Card card = sampleCard();
    const VXLMediaPtr first = card["alwa_20230415_093012_F.MP4"];
    const VXLMediaPtr second = card["alwa_20230415_093042_F.MP4"];
    const VXLMediaPtr alone = card["motion_20230415_101500_R.MP4"];
    const auto lengths = card.lengthOf();
    const auto marks = [](const VXLMediaPtr& media, double in, double out) {
        return ClipMarks{media->path(), in, out};
    };

    // Without marks: 30 s each side, inside the recording unless another follows it.
    EXPECT_EQ(defaultClipMarks(card.list, *first, 10, 30), marks(first, 0, 40));
    EXPECT_EQ(defaultClipMarks(card.list, *alone, 15, 20), marks(alone, 0, 20));

    // In, then Out in the recording that followed: the Out counts from the In's recording.
    ClipMarks m = markClipIn({}, card.list, *first, 20, 30, lengths);
    EXPECT_EQ(m, marks(first, 20, 50));
    m = markClipOut(m, card.list, *second, 12, 30, lengths);
    EXPECT_EQ(m, marks(first, 20, 42));
    // A new In in the second recording takes the span over, keeping its Out.
    EXPECT_EQ(markClipIn(m, card.list, *second, 5, 30, lengths), marks(second, 5, 12));
    // An In after the Out starts a new span; so does an Out before the In.
    EXPECT_EQ(markClipIn(m, card.list, *second, 20, 30, lengths), marks(second, 20, 50));
    EXPECT_EQ(markClipOut(m, card.list, *first, 10, 30, lengths), marks(first, 0, 10));
    // An Out in an unrelated recording starts a span there, 30 s before it.
    EXPECT_EQ(markClipOut(m, card.list, *alone, 18, 20, lengths), marks(alone, 0, 18));
    // Where a recording lies in a span: unknown without the lengths before it.
    EXPECT_EQ(recordingOffset(card.list, *first, *second, lengths), 30.0);
    EXPECT_EQ(recordingOffset(card.list, *second, *first, lengths), std::nullopt);
    EXPECT_EQ(recordingOffset(card.list, *first, *second, [](const VXLMedia&) { return -1.0; }),
              std::nullopt);
}

} // namespace
