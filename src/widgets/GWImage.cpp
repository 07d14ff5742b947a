#include "GWImage.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace {

QString resourcePath(QString name)
{
    if (name.endsWith(QLatin1String(".png")) || name.endsWith(QLatin1String(".svg"))) {
        name.chop(4);
    }
    return QStringLiteral(":/images/%1.svg").arg(name);
}

} // namespace

QSize GWImageSize(const QString& name)
{
    const QString path = resourcePath(name);
    if (!QFile::exists(path)) {
        return {};
    }
    QSvgRenderer renderer(path);
    return renderer.defaultSize();
}

QPixmap GWImageNamed(const QString& name, QSize size, qreal devicePixelRatio)
{
    if (name.isEmpty()) {
        return {};
    }
    const QString path = resourcePath(name);
    const QString cacheKey = QStringLiteral("%1@%2x%3@%4")
                                 .arg(path)
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(cacheKey, &pixmap)) {
        return pixmap;
    }
    if (!QFile::exists(path)) {
        return {};
    }
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        return {};
    }
    if (size.isEmpty()) {
        size = renderer.defaultSize();
    }
    pixmap = QPixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    QPixmapCache::insert(cacheKey, pixmap);
    return pixmap;
}
