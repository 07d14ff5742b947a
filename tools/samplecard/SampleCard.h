#pragma once

#include <QString>
#include <QStringList>

namespace samplecard {

// Video source for one recording: ffmpeg's test pattern, H.264, AAC sound if wanted.
struct VideoOptions
{
    int width = 1280;
    int height = 720;
    int seconds = 20;
    bool withSound = true;
    int kilobitsPerSecond = 600;
};

// Runs ffmpeg to make a plain MP4 (ftyp free mdat moov) at outputPath. False and *error
// (with ffmpeg's message) on failure.
bool makeTestVideo(const VideoOptions& options, const QString& outputPath, QString* error);

// Writes the sample card into cardDir (made if missing): recordings of the three modes under
// DCIM/, front/rear pairs, a rear without its front and a front without its rear, and the
// camera's drive-record log DrvInfo/zuva_000.drv with an OBD drive-info file beside it.
// Answers the paths written, relative to cardDir; empty with *error on failure.
QStringList makeSampleCard(const QString& cardDir, quint32 seed, QString* error);

// One recording of `minutes` minutes whose records (10 a second) are spread through about
// `totalBytes` of filler around a short video; it need not play. For extraction benchmarks.
bool makeLongRecording(const QString& outputPath, int minutes, qint64 totalBytes, quint32 seed,
                       QString* error);

} // namespace samplecard
