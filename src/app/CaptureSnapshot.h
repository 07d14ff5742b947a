#pragma once

#include <QString>

// The file every capture and print starts from: the master's frame as a JPEG, in a folder
// only this user can enter (the runtime folder, else the cache folder), so no one else can
// read it or plant a link under its name. Empty when neither folder can be made private.
QString captureSnapshotPath();
