#include "drivedata/ui/VXLMapView.h"
#include "drivedata/ui/VXLMapWindowController.h"

#include "MapPageState.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

bool waitForPage(VXLMapView& view)
{
    if (view.isMapPageLoaded()) {
        return true;
    }
    QSignalSpy loaded(&view, &VXLMapView::mapPageLoaded);
    return QTest::qWaitFor([&] { return !loaded.isEmpty(); }, 20000) && loaded.at(0).at(0).toBool();
}

VXLGpsData fix(double latitude, char ns, double longitude, char ew, bool valid = true)
{
    VXLGpsData f;
    f.Latitude = latitude;
    f.NS = ns;
    f.Longitude = longitude;
    f.EW = ew;
    f.gpsValid = valid ? 1 : 0;
    return f;
}

TEST(MapPage, ShowsTheLastRealPositionAndRecordsTheCalls)
{
    VXLMapView view;
    view.resize(400, 300);
    // Sent before the page has loaded: must not be lost.
    view.evaluateWebScript(QStringLiteral("VXLDebug('early')"));
    ASSERT_TRUE(waitForPage(view));
    EXPECT_EQ(mapPageState(view)["lastDebug"].toString(), "early");

    view.evaluateWebScript(QStringLiteral("setLatLag('126.978000','37.566500')"));
    QJsonObject state = mapPageState(view);
    EXPECT_EQ(state["lastLatLag"].toArray(), QJsonArray({"126.978000", "37.566500"}));
    EXPECT_DOUBLE_EQ(state["position"].toObject()["lat"].toDouble(), 37.5665);
    EXPECT_DOUBLE_EQ(state["position"].toObject()["lng"].toDouble(), 126.978);

    // No fix yet, then text that is no number: the marker stays where it was.
    for (const char* script : {"setLatLag('0.000000','0.000000')", "setLatLag('nan','x')"}) {
        view.evaluateWebScript(QString::fromLatin1(script));
        state = mapPageState(view);
        EXPECT_DOUBLE_EQ(state["position"].toObject()["lat"].toDouble(), 37.5665) << script;
        EXPECT_DOUBLE_EQ(state["position"].toObject()["lng"].toDouble(), 126.978) << script;
    }
    EXPECT_EQ(state["lastLatLag"].toArray(), QJsonArray({"nan", "x"}));

    view.evaluateWebScript(QStringLiteral("VXLDebug('GPS Data Count=Zero')"));
    state = mapPageState(view);
    EXPECT_EQ(state["lastDebug"].toString(), "GPS Data Count=Zero");
    EXPECT_TRUE(state["position"].isNull()) << "no marker for a recording without positions";

    view.setRoute({{126.97, 37.56}, {126.98, 37.57}, {0, 0}, {126.99, 37.58}});
    EXPECT_EQ(mapPageState(view)["routePointCount"].toInt(), 3) << "0, 0 is no point of the route";
    view.setRoute({});
    EXPECT_EQ(mapPageState(view)["routePointCount"].toInt(), 0);
}

TEST(MapPage, ScriptsAreLongitudeFirstAndTheRouteHasOnlyRealDistinctPoints)
{
    EXPECT_EQ(VXLMapView::setLatLagScript(37.5665, 126.978), "setLatLag('126.978000','37.566500')");
    EXPECT_EQ(VXLMapView::setLatLagScript(-37.566333, -58.5),
              "setLatLag('-58.500000','-37.566333')");
    EXPECT_EQ(VXLMapView::setRouteScript({{126.978, 37.5665}, {qQNaN(), 1.0}, {-58.5, -37.5}}),
              "setRoute([[126.978000,37.566500],[-58.500000,-37.500000]])");

    const QList<VXLGpsData> fixes = {
        fix(0, 'N', 0, 'E', false), // before the first fix
        fix(3733.98, 'N', 12658.68, 'E'),
        fix(3733.98, 'N', 12658.68, 'E'),        // one snapshot per sentence repeats the point
        fix(3734.00, 'N', 12658.68, 'E', false), // fix lost
        fix(3733.98, 'S', 5830.00, 'W'),
        fix(0, 'N', 0, 'E', true),
    };
    const QList<QPointF> route = VXLMapView::routeFromFixes(fixes);
    ASSERT_EQ(route.size(), 2);
    EXPECT_NEAR(route[0].x(), 126.978, 1e-9);
    EXPECT_NEAR(route[0].y(), 37.566333, 1e-6);
    EXPECT_NEAR(route[1].x(), -58.5, 1e-9);
    EXPECT_NEAR(route[1].y(), -37.566333, 1e-6);
}

TEST(MapWindow, MovesRightOfTheCallerWithTopsLevel)
{
    VXLMapWindowController window;
    window.resize(500, 300);
    // A viewer at (100, 200), 600 x 400: right edge at 700, top at 200 (y downwards).
    window.moveWindowRightBy(QRect(100, 200, 600, 400));
    EXPECT_EQ(window.pos(), QPoint(700, 200));
    EXPECT_EQ(window.size(), QSize(500, 300));

    window.updateMapLat(37.5665, 126.978);
    ASSERT_NE(window.mapWebView(), nullptr);
    ASSERT_TRUE(waitForPage(*window.mapWebView()));
    EXPECT_EQ(mapPageState(*window.mapWebView())["lastLatLag"].toArray(),
              QJsonArray({"126.978000", "37.566500"}));
}

} // namespace
