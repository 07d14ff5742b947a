#pragma once

#include "drivedata/VXLGpsData.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QWebEngineView>

struct DriveDataDisplayValues;

// A web view showing the map page "map2_eng.htm" from the resources. Scripts run before the
// page has finished loading would find no function and be lost, so they wait in a queue and
// run, in order, once it has loaded; of several waiting calls of one function only the last
// is kept. Results are ignored.
class VXLMapView : public QWebEngineView
{
    Q_OBJECT

public:
    explicit VXLMapView(QWidget* parent = nullptr);

    // Loads (or reloads) the map page; called by the constructor.
    void loadMapPage();
    bool isMapPageLoaded() const { return m_loaded; }

    void evaluateWebScript(const QString& script);

    // setLatLag('LON','LAT') with six decimals, longitude first.
    static QString setLatLagScript(double latitude, double longitude);
    // The call that shows the drive data of a play position: setLatLag for a position,
    // "VXLDebug('GPS Data Count=Zero')" for a recording without GPS data, else nothing.
    static QString positionScript(const DriveDataDisplayValues& values);
    // setRoute([[LON,LAT],...]) with the points given as (longitude, latitude).
    static QString setRouteScript(const QList<QPointF>& longitudeLatitudePoints);

    // The route of a recording: the valid positions of its fixes as (longitude, latitude),
    // without the 0, 0 of no fix and without repeats of the same point.
    static QList<QPointF> routeFromFixes(const QList<VXLGpsData>& fixes);

    void setLatLag(double latitude, double longitude);
    void showPosition(const DriveDataDisplayValues& values);
    void setRoute(const QList<QPointF>& longitudeLatitudePoints);

    static QUrl mapPageUrl();

Q_SIGNALS:
    void mapPageLoaded(bool ok);

private:
    void pageLoadFinished(bool ok);

    bool m_loaded = false;
    QStringList m_pendingScripts;
};
