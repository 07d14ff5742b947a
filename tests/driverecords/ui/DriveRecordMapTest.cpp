#include "ViewerTestSupport.h"

#include "drivedata/ui/MapPageState.h"
#include "driverecords/RecordBytes.h"
#include "driverecords/ui/VXLSettingForFlashDataViewController.h"
#include "support/TempDir.h"

#include <QJsonArray>
#include <QTableView>

#include <gtest/gtest.h>

using namespace recordbytes;

namespace {

bool waitForPage(VXLMapView& view)
{
    return QTest::qWaitFor([&] { return view.isMapPageLoaded(); }, 20000);
}

void doubleClickRow(QTableView& table, int row)
{
    const QRect cell = table.visualRect(table.model()->index(row, 2));
    ASSERT_TRUE(table.viewport()->rect().contains(cell.center()));
    // A double click is a press and a release, then the second press as a double click.
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, cell.center());
}

// A double click shows the record on the map window, placed right of the viewer; a record
// without a fix (0/0) raises the window but leaves the map where it was.
TEST(DriveRecordMap, DoubleClickShowsTheRecordBesideTheViewer)
{
    ViewerDriver driver;
    TempDir dir;
    Flash seoul;
    seoul.lat = 3733;
    seoul.latDecimals = 9870;
    seoul.lon = 12658;
    seoul.lonDecimals = 6800;
    const QString path = dir.write("zuva_000.drv", file(2, {flashRecord(seoul), flashRecord({})}));

    VXLSettingForFlashDataViewController viewer;
    viewer.setGeometry(100, 200, 600, 400);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    viewer.setM_FlashDataFilePath(path);
    ASSERT_TRUE(ViewerDriver::waitForLoad(viewer, [&] { viewer.displayFirstTime(); }));
    auto* table = viewer.findChild<QTableView*>(QStringLiteral("tableView"));
    ASSERT_TRUE(table);

    doubleClickRow(*table, 0);
    VXLMapWindowController* map = viewer.mapWindowController();
    ASSERT_TRUE(map);
    EXPECT_TRUE(map->isVisible());
    const QRect frame = viewer.frameGeometry();
    EXPECT_EQ(map->frameGeometry().topLeft(), QPoint(frame.x() + frame.width(), frame.y()));
    ASSERT_TRUE(waitForPage(*map->mapWebView()));
    // 37°33.9870' N, 126°58.6800' E; the page gets the longitude first.
    EXPECT_EQ(mapPageState(*map->mapWebView())["lastLatLag"].toArray(),
              QJsonArray({"126.978000", "37.566450"}));

    doubleClickRow(*table, 1);
    EXPECT_EQ(viewer.mapWindowController(), map) << "the same window, raised";
    EXPECT_EQ(mapPageState(*map->mapWebView())["lastLatLag"].toArray(),
              QJsonArray({"126.978000", "37.566450"}));

    // Outside the rows nothing happens; opening a file closes the map window.
    viewer.doubleClickTableRow(2);
    viewer.doubleClickTableRow(-1);
    EXPECT_EQ(viewer.mapWindowController(), map);
    viewer.openFileDialog(); // cancelled: no answer set
    EXPECT_EQ(viewer.mapWindowController(), nullptr);
}

} // namespace
