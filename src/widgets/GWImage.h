#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// An image of the resources by name ("icon_play_n", "car_front_alwa"; a ".png" or ".svg"
// ending is ignored), drawn at `size` (its own size when empty) for the given pixel ratio.
// A missing image gives a null pixmap: the element stays empty.
QPixmap GWImageNamed(const QString& name, QSize size = {}, qreal devicePixelRatio = 1.0);

// The natural size of a named image; empty when it does not exist.
QSize GWImageSize(const QString& name);
