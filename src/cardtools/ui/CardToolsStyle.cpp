#include "cardtools/ui/CardToolsStyle.h"

#include <QFile>

QString cardToolsStyleSheet()
{
    QFile file(QStringLiteral(":/styles/cardtools.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
