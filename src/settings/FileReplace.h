#pragma once

#include "settings/FileData.h"

#include <QByteArray>
#include <QString>

// Replaces the contents of `path` with `bytes` so that the file is, at every moment, either
// the old one or the new one whole: the bytes go to a temporary file beside the target, which
// is flushed to the medium and then renamed over it. A card pulled out or full half-way keeps
// its previous file. Answers an empty text on success, else the reason.
QString replaceFileContents(const QString& path, const QByteArray& bytes,
                            const FileByteWriter& writer = {});
