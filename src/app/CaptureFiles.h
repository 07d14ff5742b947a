#pragma once

#include <QByteArray>
#include <QString>

// The file every capture and print starts from: the master's frame as a JPEG, in a folder
// only this user can enter (the runtime folder, else the cache folder), so no one else can
// read it or plant a link under its name. Empty when neither folder can be made private.
QString captureSnapshotPath();

// Replaces the contents of `path` with `bytes`: the bytes go to a new file beside the target,
// every write checked and flushed to the medium, which is then renamed over the target, so a
// full or pulled medium leaves the old file as it was. A symbolic link is followed; a target
// that is not a regular file (a folder, a device, a FIFO) is refused. An existing file keeps
// its mode; a new one gets the usual mode for the user's umask. Answers an empty text on
// success, else the reason.
QString replaceFileWithBytes(const QString& path, const QByteArray& bytes);
