#pragma once

#include "VXLMedia.h"

#include <QList>
#include <QString>

#include <functional>

// The recursive walk of a directory for recording files, and the acceptance test a file
// name must pass to be listed.
namespace MediaDirectoryWalk {

// A scan stops adding recordings at this count; it can end a little above it when the
// limit is reached inside subdirectories.
inline constexpr qsizetype kMaxMedias = 15000;

// The acceptance test: a base name of 22, 24 or 23 characters, a valid time field when it
// has a known prefix, and the camera letter "_F" or "_R" at its end.
bool isListedRecording(const VXLMedia& media);

// Answers a recording for an accepted path, or null.
VXLMediaPtr createMediaByPath(const QString& path);

// Appends every accepted ".mp4" file (any case) below `directory` to `medias`, following
// symbolic links but visiting each directory only once, so a link cycle ends. Entries of a
// directory are visited in byte order of their names; names that are not UTF-8 keep their
// bytes (NativeFileName). `cancelled`, when given, is polled between entries and ends the walk
// early. A directory stops once `medias` holds `limit` recordings, and the walks above it stop
// after their next append. Answers how many accepted recordings the limit left out (0 when it
// was not reached, or the walk was cancelled).
qsizetype eachDir(const QString& directory, QList<VXLMediaPtr>& medias,
                  const std::function<bool()>& cancelled = {}, qsizetype limit = kMaxMedias);

} // namespace MediaDirectoryWalk
