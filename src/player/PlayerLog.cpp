#include "PlayerLog.h"

Q_LOGGING_CATEGORY(lcPlayer, "vexlo.player", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLibVLC, "vexlo.libvlc", QtWarningMsg)
