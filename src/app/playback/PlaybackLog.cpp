#include "PlaybackLog.h"

Q_LOGGING_CATEGORY(lcPlayback, "vexlo.playback", QtWarningMsg)
