#include "cardtools/ui/CardToolsStyle.h"

#include <QFile>
#include <QScreen>
#include <QWidget>

QString cardToolsStyleSheet()
{
    QFile file(QStringLiteral(":/styles/cardtools.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void centreCardWindowOnce(QWidget* window, bool& centred)
{
    if (centred || window->parentWidget())
        return;
    centred = true;
    if (const QScreen* screen = window->screen()) {
        const QRect visible = screen->availableGeometry();
        window->move(visible.topLeft() + QPoint((visible.width() - window->width()) / 2,
                                                (visible.height() - window->height()) / 2));
    }
}
