#include "ClipEncoding.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

// Fast keeps a picture any phone plays and any mail or upload takes.
constexpr int kFastMaxHeight = 720;
constexpr int kFastMaxWidth = 1920;

int even(double value)
{
    return std::max(2, int(std::lround(value / 2.0)) * 2);
}

QSize atHeight(QSize size, int height)
{
    if (size.isEmpty())
        return {even(height * 16.0 / 9.0), height};
    return {even(double(size.width()) * height / size.height()), height};
}

// Seconds for ffmpeg: fixed point, never a locale's comma or an exponent.
QString number(double seconds)
{
    return QString::number(std::max(0.0, seconds), 'f', 3);
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// The inputs of the command: one per recording stretch, shared by the picture and the sound
// of the same camera.
class InputList
{
public:
    int indexOf(const ClipPiece& piece)
    {
        for (qsizetype i = 0; i < m_pieces.size(); ++i) {
            const ClipPiece& known = m_pieces[i];
            if (known.path == piece.path && known.from == piece.from &&
                known.duration == piece.duration)
                return int(i);
        }
        m_pieces.append(piece);
        return int(m_pieces.size() - 1);
    }
    void appendArguments(QStringList& args) const
    {
        for (const ClipPiece& piece : m_pieces)
            args << QStringLiteral("-ss") << number(piece.from) << QStringLiteral("-t")
                 << number(piece.duration) << QStringLiteral("-i") << ffmpegFileUrl(piece.path);
    }
    int size() const { return int(m_pieces.size()); }

private:
    QList<ClipPiece> m_pieces;
};

// The pieces of one camera, each brought to one size and rate, joined into `label`.
void appendCameraChain(QStringList& graph, InputList& inputs, const QList<ClipPiece>& pieces,
                       QSize size, const QString& rate, const QString& prefix, const QString& label)
{
    QString joined;
    for (qsizetype k = 0; k < pieces.size(); ++k) {
        const ClipPiece& piece = pieces[k];
        const QString name = QStringLiteral("[%1%2]").arg(prefix).arg(k);
        if (piece.path.isEmpty()) {
            graph << QStringLiteral("color=c=black:s=%1:r=%2:d=%3,setsar=1%4")
                         .arg(sizeText(size), rate, number(piece.duration), name);
        } else {
            // Exactly as long as the piece: a partner recording a little shorter than the
            // master holds its last picture, so the cameras stay together across joins.
            graph << QStringLiteral("[%1:v:0]setpts=PTS-STARTPTS,fps=%2,scale=%3:%4,setsar=1,"
                                    "tpad=stop=-1:stop_mode=clone,trim=duration=%5%6")
                         .arg(inputs.indexOf(piece))
                         .arg(rate)
                         .arg(size.width())
                         .arg(size.height())
                         .arg(number(piece.duration), name);
        }
        joined += name;
    }
    graph << QStringLiteral("%1concat=n=%2:v=1:a=0[%3]").arg(joined).arg(pieces.size()).arg(label);
}

void appendSoundChain(QStringList& graph, InputList& inputs, const QList<ClipPiece>& pieces)
{
    QString joined;
    for (qsizetype k = 0; k < pieces.size(); ++k) {
        const ClipPiece& piece = pieces[k];
        const QString name = QStringLiteral("[s%1]").arg(k);
        // Every piece the same rate and layout, and exactly as long as its picture, so the
        // sound never drifts from the picture across the joins.
        if (piece.path.isEmpty() || !piece.media.hasAudio) {
            graph << QStringLiteral("anullsrc=r=48000:cl=stereo,atrim=duration=%1%2")
                         .arg(number(piece.duration), name);
        } else {
            graph << QStringLiteral("[%1:a:0]aresample=48000,aformat=sample_fmts=fltp:"
                                    "sample_rates=48000:channel_layouts=stereo,"
                                    "asetpts=PTS-STARTPTS,apad,atrim=duration=%2%3")
                         .arg(inputs.indexOf(piece))
                         .arg(number(piece.duration), name);
        }
        joined += name;
    }
    graph << QStringLiteral("%1concat=n=%2:v=0:a=1[sound]").arg(joined).arg(pieces.size());
}

} // namespace

QString clipLayoutName(ClipLayout layout)
{
    switch (layout) {
    case ClipLayout::PictureInPicture:
        return QStringLiteral("pip");
    case ClipLayout::Single:
        return QStringLiteral("single");
    case ClipLayout::SideBySide:
        break;
    }
    return QStringLiteral("sbs");
}

std::optional<ClipLayout> clipLayoutFromName(const QString& name)
{
    for (ClipLayout layout :
         {ClipLayout::SideBySide, ClipLayout::PictureInPicture, ClipLayout::Single})
        if (name == clipLayoutName(layout))
            return layout;
    return std::nullopt;
}

QString clipQualityName(ClipQuality quality)
{
    return quality == ClipQuality::High ? QStringLiteral("high") : QStringLiteral("fast");
}

std::optional<ClipQuality> clipQualityFromName(const QString& name)
{
    for (ClipQuality quality : {ClipQuality::Fast, ClipQuality::High})
        if (name == clipQualityName(quality))
            return quality;
    return std::nullopt;
}

ClipGeometry clipGeometry(ClipLayout layout, ClipQuality quality, QSize mainSize, QSize insetSize)
{
    const bool fast = quality == ClipQuality::Fast;
    if (mainSize.isEmpty())
        mainSize = insetSize;
    int height = mainSize.isEmpty() ? kFastMaxHeight : mainSize.height();
    if (fast)
        height = std::min(height, kFastMaxHeight);
    height = even(height);

    ClipGeometry geometry;
    geometry.main = atHeight(mainSize, height);
    if (layout == ClipLayout::Single || insetSize.isEmpty()) {
        geometry.picture = geometry.main;
        return geometry;
    }
    if (layout == ClipLayout::SideBySide) {
        geometry.inset = atHeight(insetSize, height);
        const int width = geometry.main.width() + geometry.inset.width();
        if (fast && width > kFastMaxWidth) {
            height = even(double(height) * kFastMaxWidth / width);
            // Rounding each width to even can still pass the limit by a pixel or two.
            for (;; height -= 2) {
                geometry.main = atHeight(mainSize, height);
                geometry.inset = atHeight(insetSize, height);
                if (geometry.main.width() + geometry.inset.width() <= kFastMaxWidth || height <= 2)
                    break;
            }
        }
        geometry.insetPos = QPoint(geometry.main.width(), 0);
        geometry.picture =
            QSize(geometry.main.width() + geometry.inset.width(), geometry.main.height());
        return geometry;
    }
    // Picture in picture: a third of the width, in the corner away from the data overlay.
    const int insetWidth = even(geometry.main.width() / 3.0);
    geometry.inset = QSize(
        insetWidth, even(double(insetWidth) * insetSize.height() / std::max(1, insetSize.width())));
    const int margin = even(geometry.main.height() / 36.0);
    geometry.insetPos = QPoint(geometry.main.width() - insetWidth - margin, margin);
    geometry.picture = geometry.main;
    return geometry;
}

double ClipEncodingPlan::duration() const
{
    double total = 0;
    for (const ClipPiece& piece : mainPieces)
        total += piece.duration;
    return total;
}

QString ffmpegFileUrl(const QString& path)
{
    return QStringLiteral("file:") + QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QStringList ffmpegArguments(const ClipEncodingPlan& plan, const QString& outputPath)
{
    const bool high = plan.quality == ClipQuality::High;
    const ClipGeometry& g = plan.geometry;
    InputList inputs;
    QStringList graph;
    appendCameraChain(graph, inputs, plan.mainPieces, g.main, plan.frameRate, QStringLiteral("m"),
                      QStringLiteral("main"));
    QString picture = QStringLiteral("[main]");
    if (!plan.insetPieces.isEmpty() && !g.inset.isEmpty()) {
        appendCameraChain(graph, inputs, plan.insetPieces, g.inset, plan.frameRate,
                          QStringLiteral("r"), QStringLiteral("inset"));
        if (plan.layout == ClipLayout::PictureInPicture)
            graph << QStringLiteral("[main][inset]overlay=x=%1:y=%2:eof_action=pass[picture]")
                         .arg(g.insetPos.x())
                         .arg(g.insetPos.y());
        else
            graph << QStringLiteral("[main][inset]hstack=inputs=2[picture]");
        picture = QStringLiteral("[picture]");
    }
    QString finish = picture;
    if (!plan.burnedSubtitleFile.isEmpty())
        finish += QStringLiteral("subtitles=filename=%1,").arg(plan.burnedSubtitleFile);
    else
        finish += QStringLiteral("null,");
    graph << finish + QStringLiteral("format=yuv420p[video]");
    const bool withSound = !plan.soundPieces.isEmpty();
    if (withSound)
        appendSoundChain(graph, inputs, plan.soundPieces);

    QStringList args{QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"),
                     QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")};
    inputs.appendArguments(args);
    const int subtitleInput = inputs.size();
    const bool withTrack = !plan.subtitleTrackFile.isEmpty();
    if (withTrack)
        args << QStringLiteral("-f") << QStringLiteral("srt") << QStringLiteral("-i")
             << plan.subtitleTrackFile;
    args << QStringLiteral("-filter_complex") << graph.join(u';') << QStringLiteral("-map")
         << QStringLiteral("[video]");
    if (withSound)
        args << QStringLiteral("-map") << QStringLiteral("[sound]");
    if (withTrack)
        args << QStringLiteral("-map") << QStringLiteral("%1:s:0").arg(subtitleInput);
    args << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
         << (high ? QStringLiteral("medium") : QStringLiteral("veryfast")) << QStringLiteral("-crf")
         << (high ? QStringLiteral("18") : QStringLiteral("23")) << QStringLiteral("-pix_fmt")
         << QStringLiteral("yuv420p");
    if (withSound)
        args << QStringLiteral("-c:a") << QStringLiteral("aac") << QStringLiteral("-b:a")
             << (high ? QStringLiteral("192k") : QStringLiteral("128k"));
    if (withTrack)
        args << QStringLiteral("-c:s") << QStringLiteral("mov_text")
             << QStringLiteral("-metadata:s:s:0") << QStringLiteral("language=eng")
             << QStringLiteral("-metadata:s:s:0") << QStringLiteral("handler_name=Drive data");
    // The index at the front makes the file play while it is still uploading.
    args << QStringLiteral("-map_metadata") << QStringLiteral("-1") << QStringLiteral("-movflags")
         << QStringLiteral("+faststart") << QStringLiteral("-fflags") << QStringLiteral("+bitexact")
         << QStringLiteral("-flags:v") << QStringLiteral("+bitexact") << QStringLiteral("-flags:a")
         << QStringLiteral("+bitexact") << QStringLiteral("-t") << number(plan.duration())
         << QStringLiteral("-progress") << QStringLiteral("pipe:1") << QStringLiteral("-nostats")
         << QStringLiteral("-f") << QStringLiteral("mp4") << ffmpegFileUrl(outputPath);
    return args;
}

bool ClipProgressParser::feed(const QByteArray& bytes)
{
    m_pending += bytes;
    bool blockEnded = false;
    qsizetype lineEnd;
    while ((lineEnd = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(lineEnd).trimmed();
        m_pending.remove(0, lineEnd + 1);
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        if (key == "out_time_us") {
            bool ok = false;
            const qint64 micros = value.toLongLong(&ok);
            if (ok && micros >= 0)
                m_encodedSeconds = double(micros) / 1e6;
        } else if (key == "progress") {
            blockEnded = true;
            if (value == "end")
                m_ended = true;
        }
    }
    // A line never grows without end, whatever arrives.
    if (m_pending.size() > 4096)
        m_pending.clear();
    return blockEnded;
}
