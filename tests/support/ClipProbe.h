#pragma once

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// What ffprobe and ffmpeg say of an exported clip, for the tests of the clip export.
struct ProbedClip
{
    QSize picture;
    double duration = 0;
    bool hasAudio = false;
    bool hasSubtitles = false;
    QString majorBrand;
    bool moovBeforeMdat = false; // the index first: the file plays while it uploads
};

inline QByteArray runForOutput(const QString& program, const QStringList& args,
                               QByteArray* errors = nullptr)
{
    QProcess process;
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    if (errors)
        *errors = process.readAllStandardError();
    return process.readAllStandardOutput();
}

inline ProbedClip probeClip(const QString& path)
{
    ProbedClip clip;
    const QJsonObject root =
        QJsonDocument::fromJson(
            runForOutput(QStringLiteral("ffprobe"),
                         {QStringLiteral("-v"), QStringLiteral("error"),
                          QStringLiteral("-print_format"), QStringLiteral("json"),
                          QStringLiteral("-show_streams"), QStringLiteral("-show_format"), path}))
            .object();
    for (const QJsonValue& value : root.value(QLatin1StringView("streams")).toArray()) {
        const QJsonObject stream = value.toObject();
        const QString type = stream.value(QLatin1StringView("codec_type")).toString();
        if (type == u"video")
            clip.picture = QSize(stream.value(QLatin1StringView("width")).toInt(),
                                 stream.value(QLatin1StringView("height")).toInt());
        clip.hasAudio |= type == u"audio";
        clip.hasSubtitles |= type == u"subtitle";
    }
    const QJsonObject format = root.value(QLatin1StringView("format")).toObject();
    clip.duration = format.value(QLatin1StringView("duration")).toString().toDouble();
    clip.majorBrand = format.value(QLatin1StringView("tags"))
                          .toObject()
                          .value(QLatin1StringView("major_brand"))
                          .toString();
    // The order of the top-level boxes.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray order;
        qint64 offset = 0;
        while (offset + 8 <= file.size() && order.size() < 64) {
            file.seek(offset);
            const QByteArray head = file.read(8);
            const auto size = qint64(quint32(uchar(head[0])) << 24 | quint32(uchar(head[1])) << 16 |
                                     quint32(uchar(head[2])) << 8 | quint32(uchar(head[3])));
            order += head.mid(4, 4) + ' ';
            if (size < 8)
                break;
            offset += size;
        }
        clip.moovBeforeMdat =
            order.indexOf("moov") >= 0 && order.indexOf("mdat") > order.indexOf("moov");
    }
    return clip;
}

// Decodes every picture of the clip: how many there were and what the decoder complained of.
struct DecodedClip
{
    int frames = 0;
    QString errors;
};

inline DecodedClip decodeClip(const QString& path)
{
    QByteArray errors;
    const QByteArray sums =
        runForOutput(QStringLiteral("ffmpeg"),
                     {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                      QStringLiteral("-i"), path, QStringLiteral("-map"), QStringLiteral("0:v:0"),
                      QStringLiteral("-f"), QStringLiteral("framemd5"), QStringLiteral("-")},
                     &errors);
    DecodedClip decoded;
    for (const QByteArray& line : sums.split('\n'))
        decoded.frames += !line.isEmpty() && !line.startsWith('#');
    decoded.errors = QString::fromLocal8Bit(errors).trimmed();
    return decoded;
}

// The clip's subtitle track as SubRip text, lines ended by LF (ffmpeg ends the lines inside a
// cue with CR LF).
inline QString subtitleText(const QString& path)
{
    return QString::fromUtf8(
               runForOutput(QStringLiteral("ffmpeg"),
                            {QStringLiteral("-nostdin"), QStringLiteral("-v"),
                             QStringLiteral("error"), QStringLiteral("-i"), path,
                             QStringLiteral("-map"), QStringLiteral("0:s:0"), QStringLiteral("-f"),
                             QStringLiteral("srt"), QStringLiteral("-")}))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
