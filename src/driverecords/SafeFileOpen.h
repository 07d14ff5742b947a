#pragma once

#include <QString>

// Opens `path` for reading without blocking and only when it is a regular file: a FIFO would
// otherwise wait for a writer for ever, and a device or a folder is no drive-record file.
// Answers the descriptor (the caller closes it), or -1 with the reason in *error.
int openRegularFileForReading(const QString& path, QString* error);
