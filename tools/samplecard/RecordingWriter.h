#pragma once

#include "samplecard/DriveRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace samplecard {

// How the drive records are placed in the media data.
struct RecordingLayout
{
    // Bytes of filler written before each record's chunk (0 for the sample card; large to
    // spread a few thousand records through a big file for the extraction benchmark).
    qint64 fillerBeforeEachRecord = 0;
};

// Rewrites an MP4 written by ffmpeg (`ftyp free mdat moov`, 32-bit chunk offsets) into the
// camera's layout: `ftyp mdat moov`, the records interleaved with the media chunks in mdat,
// and in moov a data track as the fifth child (trak > mdia > minf > stbl > stco, one record per
// chunk, 10 per second), after `free` boxes when ffmpeg wrote fewer than four children. The
// chunk offsets of every other track are fixed up. On failure answers false and sets *error.
bool writeRecording(const QByteArray& ffmpegMp4, const QList<DriveRecord>& records,
                    const QString& outputPath, QString* error, const RecordingLayout& layout = {});

// The same, in memory (for small recordings).
QByteArray recordingBytes(const QByteArray& ffmpegMp4, const QList<DriveRecord>& records,
                          QString* error);

// A recording without video or sound: `ftyp` (brand avc1), `mdat` with the records, and a
// `moov` of mvhd, three `free` boxes and the data track. Quick to make in tests that only
// need the data track; ffprobe reads it as a file with one data stream.
QByteArray recordingWithoutVideo(const QList<DriveRecord>& records);

} // namespace samplecard
