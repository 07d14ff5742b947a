#pragma once

#include <QLoggingCategory>

// The players' own diagnostics, and libVLC's messages, which come through its log callback
// (its errors as info, everything else as debug). Both are quiet below warnings unless
// QT_LOGGING_RULES turns them on ("vexlo.player.debug=true", "vexlo.libvlc.info=true").
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)
Q_DECLARE_LOGGING_CATEGORY(lcLibVLC)
