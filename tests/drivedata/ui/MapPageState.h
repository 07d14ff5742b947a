#pragma once

#include "drivedata/ui/VXLMapView.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebEnginePage>

// What the map page recorded of the calls it received (window.vexloMapState). Scripts of one
// page run in order, so this read comes after every script sent before it.
inline QJsonObject mapPageState(VXLMapView& view)
{
    QEventLoop loop;
    QJsonObject state;
    view.page()->runJavaScript(
        QStringLiteral("JSON.stringify(window.vexloMapState)"), [&](const QVariant& result) {
            state = QJsonDocument::fromJson(result.toString().toUtf8()).object();
            loop.quit();
        });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return state;
}
