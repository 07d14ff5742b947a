#pragma once

#include <QString>

// The style sheet of the card windows (resources/styles/cardtools.qss).
QString cardToolsStyleSheet();
