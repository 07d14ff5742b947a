#include "VXLMapView.h"

#include "drivedata/DriveDataDisplay.h"

#include <QWebEnginePage>
#include <QWebEngineSettings>

#include <cmath>
#include <cstdio>

// Outside any namespace, as Q_INIT_RESOURCE requires; the map page lives in a static library.
static void initMapResources()
{
    Q_INIT_RESOURCE(map);
}

namespace {

QString functionName(const QString& script)
{
    const qsizetype bracket = script.indexOf(QLatin1Char('('));
    return bracket < 0 ? QString() : script.left(bracket).trimmed();
}

} // namespace

VXLMapView::VXLMapView(QWidget* parent) : QWebEngineView(parent)
{
    initMapResources();
    // The page comes from qrc: but its tiles from the network.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    connect(this, &QWebEngineView::loadStarted, this, [this] { m_loaded = false; });
    connect(this, &QWebEngineView::loadFinished, this, &VXLMapView::pageLoadFinished);
    loadMapPage();
}

QUrl VXLMapView::mapPageUrl()
{
    return QUrl(QStringLiteral("qrc:/map/map2_eng.htm"));
}

void VXLMapView::loadMapPage()
{
    m_loaded = false;
    load(mapPageUrl());
}

void VXLMapView::pageLoadFinished(bool ok)
{
    m_loaded = true;
    if (!ok) {
        qWarning("map page failed to load: %s", qPrintable(url().toString()));
    }
    const QStringList scripts = std::exchange(m_pendingScripts, {});
    for (const QString& script : scripts) {
        page()->runJavaScript(script);
    }
    Q_EMIT mapPageLoaded(ok);
}

void VXLMapView::evaluateWebScript(const QString& script)
{
    if (m_loaded) {
        page()->runJavaScript(script);
        return;
    }
    // Only the latest of each function matters once the page is there, which also bounds
    // the queue however long loading takes.
    const QString name = functionName(script);
    if (!name.isEmpty()) {
        m_pendingScripts.removeIf([&](const QString& s) { return functionName(s) == name; });
    }
    m_pendingScripts.append(script);
}

QString VXLMapView::setLatLagScript(double latitude, double longitude)
{
    // The C library's rounding of exact halves, which the position display has always used
    // (Qt's formatting rounds them up).
    char text[160];
    std::snprintf(text, sizeof text, "setLatLag('%lf','%lf')", longitude, latitude);
    return QString::fromLatin1(text);
}

QString VXLMapView::positionScript(const DriveDataDisplayValues& values)
{
    if (values.hasPosition) {
        return setLatLagScript(values.latitude, values.longitude);
    }
    if (!values.hasGpsData) {
        return QStringLiteral("VXLDebug('GPS Data Count=Zero')");
    }
    return {};
}

QString VXLMapView::setRouteScript(const QList<QPointF>& longitudeLatitudePoints)
{
    QString script = QStringLiteral("setRoute([");
    script.reserve(16 + longitudeLatitudePoints.size() * 26);
    bool first = true;
    for (const QPointF& point : longitudeLatitudePoints) {
        // Text from outside numbers must never reach the page as anything but a number.
        if (!std::isfinite(point.x()) || !std::isfinite(point.y())) {
            continue;
        }
        if (!first) {
            script += QLatin1Char(',');
        }
        first = false;
        script += QString::asprintf("[%.6f,%.6f]", point.x(), point.y());
    }
    script += QStringLiteral("])");
    return script;
}

QList<QPointF> VXLMapView::routeFromFixes(const QList<VXLGpsData>& fixes)
{
    QList<QPointF> route;
    for (const VXLGpsData& fix : fixes) {
        if (fix.gpsValid == 0) {
            continue;
        }
        const QPointF point(longitudeDegrees(fix), latitudeDegrees(fix));
        if ((point.x() == 0.0 && point.y() == 0.0) || (!route.isEmpty() && route.last() == point)) {
            continue;
        }
        route.append(point);
    }
    return route;
}

void VXLMapView::setLatLag(double latitude, double longitude)
{
    evaluateWebScript(setLatLagScript(latitude, longitude));
}

void VXLMapView::showPosition(const DriveDataDisplayValues& values)
{
    const QString script = positionScript(values);
    if (!script.isEmpty()) {
        evaluateWebScript(script);
    }
}

void VXLMapView::setRoute(const QList<QPointF>& longitudeLatitudePoints)
{
    evaluateWebScript(setRouteScript(longitudeLatitudePoints));
}
