#pragma once

#include <QString>

class QWidget;

// The style sheet of the card windows (resources/styles/cardtools.qss).
QString cardToolsStyleSheet();

// Centres a top-level card window on its screen's available area, the first time it is shown
// (`centred` remembers it); a window with a parent, or one moved already, stays where it is.
void centreCardWindowOnce(QWidget* window, bool& centred);
