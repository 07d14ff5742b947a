#pragma once

#include <QLoggingCategory>

// The playback logic's diagnostics: openings, moves, the partner's alignment. Quiet below
// warnings unless QT_LOGGING_RULES turns it on ("vexlo.playback.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcPlayback)
