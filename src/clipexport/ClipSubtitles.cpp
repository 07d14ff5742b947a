#include "ClipSubtitles.h"

#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"

#include <algorithm>
#include <cmath>

namespace {

// The player's G text, "+" before a positive value; a value that rounds to zero shows
// as 0.00, never -0.00.
QString gValue(char axis, float value)
{
    double shown = std::round(double(value) * 100) / 100;
    if (shown == 0)
        shown = 0;
    return QStringLiteral("%1=%2%3").arg(QChar::fromLatin1(axis),
                                         shown > 0 ? QStringLiteral("+") : QString(),
                                         QString::number(shown, 'f', 2));
}

QString cueText(const VXLBlackBoxData& data, qsizetype record,
                const std::optional<QDateTime>& moment, bool miles)
{
    QString first;
    if (moment) {
        const QDateTime t = *moment;
        first = t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'.' +
                QString::number(t.time().msec() / 100) + QStringLiteral("   ");
    }
    const qsizetype fixes = data.fixCountAfterRecord(record);
    const VXLGpsData* fix = fixes > 0 ? &data.m_NMEAs().at(fixes - 1) : nullptr;
    // A fix the receiver marks void (a tunnel) still carries the last position; it is not
    // where the car is now.
    const bool valid = fix && fix->gpsValid && !(fix->Latitude == 0 && fix->Longitude == 0);
    const QString unit = miles ? QStringLiteral("mi/h") : QStringLiteral("km/h");
    if (valid) {
        // Whole units, cut as the player's readout cuts them.
        const double speed = fix->SpeedOverGround * (miles ? 1.150779 : 1.852);
        first += QStringLiteral("%1 %2").arg(std::isfinite(speed) ? qint64(speed) : 0).arg(unit);
    } else {
        first += QStringLiteral("-- %1").arg(unit);
    }
    QString second;
    if (valid) {
        second = QStringLiteral("%1, %2").arg(QString::number(latitudeDegrees(*fix), 'f', 6),
                                              QString::number(longitudeDegrees(*fix), 'f', 6));
    } else {
        second = QStringLiteral("no GPS fix");
    }
    const VXLGSensor& g = data.m_GSensors().at(record);
    second +=
        QStringLiteral("   G %1 %2 %3").arg(gValue('X', g.x), gValue('Y', g.y), gValue('Z', g.z));
    return first + u'\n' + second + u'\n';
}

QString assTime(double seconds)
{
    const qint64 centis = std::llround(std::max(0.0, seconds) * 100);
    return QString::asprintf("%lld:%02lld:%02lld.%02lld", centis / 360000, centis / 6000 % 60,
                             centis / 100 % 60, centis % 100);
}

QString srtTime(double seconds)
{
    const qint64 millis = std::llround(std::max(0.0, seconds) * 1000);
    return QString::asprintf("%02lld:%02lld:%02lld,%03lld", millis / 3600000, millis / 60000 % 60,
                             millis / 1000 % 60, millis % 1000);
}

} // namespace

std::pair<qsizetype, qsizetype> recordsBetween(qsizetype count, double length, double from,
                                               double to)
{
    if (count <= 0 || !(length > 0) || !(to > from))
        return {0, 0};
    const double perSecond = double(count) / length;
    const auto first = qsizetype(std::clamp(std::floor(from * perSecond), 0.0, double(count)));
    const auto end = qsizetype(std::clamp(std::ceil(to * perSecond), 0.0, double(count)));
    return {first, std::max(first, end)};
}

QList<ClipCue> driveDataCues(const VXLBlackBoxData& data, const ClipSegment& segment, bool miles)
{
    QList<ClipCue> cues;
    const qsizetype count = data.m_GSensors().size();
    const auto [first, end] = recordsBetween(count, segment.length, segment.from, segment.to);
    const std::optional<QDateTime> start = recordingNameTime(*segment.master);
    const double step = segment.length / double(count);
    for (qsizetype i = first; i < end; ++i) {
        const double from = std::max(double(i) * step, segment.from);
        const double to = std::min(double(i + 1) * step, segment.to);
        if (to <= from)
            continue;
        std::optional<QDateTime> moment;
        if (start)
            moment = start->addMSecs(std::llround(from * 1000));
        cues.append({segment.clipStart + from - segment.from, segment.clipStart + to - segment.from,
                     cueText(data, i, moment, miles)});
    }
    return cues;
}

QByteArray assSubtitles(const QList<ClipCue>& cues, QSize picture)
{
    const int height = std::max(picture.height(), 120);
    const int fontSize = std::max(14, int(std::lround(height / 20.0)));
    const int margin = std::max(6, int(std::lround(height / 45.0)));
    QString text = QStringLiteral("[Script Info]\n"
                                  "ScriptType: v4.00+\n"
                                  "PlayResX: %1\n"
                                  "PlayResY: %2\n"
                                  "WrapStyle: 2\n"
                                  "ScaledBorderAndShadow: yes\n"
                                  "\n"
                                  "[V4+ Styles]\n"
                                  "Format: Name, Fontname, Fontsize, PrimaryColour, "
                                  "SecondaryColour, OutlineColour, BackColour, Bold, Italic, "
                                  "Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
                                  "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
                                  "MarginV, Encoding\n"
                                  // Opaque box (border style 3) at 50 % black, lower left.
                                  "Style: Data,DejaVu Sans Mono,%3,&H00FFFFFF,&H00FFFFFF,"
                                  "&H80000000,&H80000000,0,0,0,0,100,100,0,0,3,%4,0,1,%5,%5,%5,"
                                  "1\n"
                                  "\n"
                                  "[Events]\n"
                                  "Format: Layer, Start, End, Style, Name, MarginL, MarginR, "
                                  "MarginV, Effect, Text\n")
                       .arg(std::max(picture.width(), 160))
                       .arg(height)
                       .arg(fontSize)
                       .arg(std::max(2, fontSize / 6))
                       .arg(margin);
    for (const ClipCue& cue : cues) {
        QString lines = cue.text;
        if (lines.endsWith(u'\n'))
            lines.chop(1);
        lines.replace(u'\n', QStringLiteral("\\N"));
        text += QStringLiteral("Dialogue: 0,%1,%2,Data,,0,0,0,,%3\n")
                    .arg(assTime(cue.start), assTime(cue.end), lines);
    }
    return text.toUtf8();
}

QByteArray srtSubtitles(const QList<ClipCue>& cues)
{
    QString text;
    int number = 0;
    for (const ClipCue& cue : cues) {
        text += QStringLiteral("%1\n%2 --> %3\n%4\n")
                    .arg(++number)
                    .arg(srtTime(cue.start), srtTime(cue.end), cue.text);
    }
    return text.toUtf8();
}
