#include "ClipMediaProbe.h"

#include "ClipEncoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

// A rate ffprobe gives as "30/1" or "30000/1001"; "0/0" when it does not know.
bool isUsableRate(const QString& rate)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,6})(/([0-9]{1,6}))?$"));
    const QRegularExpressionMatch match = form.match(rate);
    if (!match.hasMatch())
        return false;
    const int numerator = match.captured(1).toInt();
    const int denominator = match.captured(3).isEmpty() ? 1 : match.captured(3).toInt();
    return numerator > 0 && denominator > 0 && numerator / denominator <= 240;
}

} // namespace

ClipMediaInfo clipMediaInfoFromJson(const QByteArray& json)
{
    ClipMediaInfo info;
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    bool ok = false;
    for (const QJsonValue& value : root.value(QLatin1StringView("streams")).toArray()) {
        const QJsonObject stream = value.toObject();
        const QString type = stream.value(QLatin1StringView("codec_type")).toString();
        if (type == u"audio") {
            info.hasAudio = true;
        } else if (type == u"video" && !info.hasVideo()) {
            info.videoSize = QSize(stream.value(QLatin1StringView("width")).toInt(),
                                   stream.value(QLatin1StringView("height")).toInt());
            for (const char* key : {"avg_frame_rate", "r_frame_rate"}) {
                const QString rate = stream.value(QLatin1StringView(key)).toString();
                if (info.frameRate.isEmpty() && isUsableRate(rate))
                    info.frameRate = rate;
            }
            const double duration =
                stream.value(QLatin1StringView("duration")).toString().toDouble(&ok);
            if (ok && duration > 0)
                info.duration = duration;
        }
    }
    if (info.duration <= 0) {
        const double duration = root.value(QLatin1StringView("format"))
                                    .toObject()
                                    .value(QLatin1StringView("duration"))
                                    .toString()
                                    .toDouble(&ok);
        if (ok && duration > 0)
            info.duration = duration;
    }
    if (info.frameRate.isEmpty())
        info.frameRate = QStringLiteral("30");
    if (!info.hasVideo())
        info.problem = QStringLiteral("it holds no video");
    else if (info.duration <= 0)
        info.problem = QStringLiteral("its length cannot be read");
    return info;
}

ClipMediaInfo probeClipMedia(const QString& path, const QString& ffprobe)
{
    QProcess process;
    process.start(ffprobe,
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-print_format"),
                   QStringLiteral("json"), QStringLiteral("-show_entries"),
                   QStringLiteral("format=duration:stream=codec_type,width,height,"
                                  "avg_frame_rate,r_frame_rate,duration"),
                   QStringLiteral("-i"), ffmpegFileUrl(path)});
    ClipMediaInfo info;
    if (!process.waitForStarted()) {
        info.problem = QStringLiteral("ffprobe cannot be run (install the ffmpeg package)");
        return info;
    }
    process.closeWriteChannel();
    // A few hundred milliseconds for a recording; a minute means something hangs.
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        info.problem = QStringLiteral("ffprobe did not answer");
        return info;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString reason = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        info.problem = reason.isEmpty() ? QStringLiteral("ffprobe cannot read it")
                                        : reason.section(u'\n', -1).trimmed();
        return info;
    }
    return clipMediaInfoFromJson(process.readAllStandardOutput());
}
