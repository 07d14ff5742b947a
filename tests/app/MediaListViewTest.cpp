#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLMediaListModel.h"
#include "library/VXLMediaList.h"
#include "support/SignalWait.h"
#include "support/TempDir.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

TEST(MediaListCells, ShowModeDateTimeAndFile)
{
    struct Case
    {
        const char* path;
        const char* mode;
        const char* image;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {"/card/alwa_20230415_093012_F.MP4", "Always", "car_front_alwa", "2023-04-15", "09:30:12"},
        {"/card/motion_20231231_235959_R.mp4", "Motion", "car_rear_motion", "2023-12-31",
         "23:59:59"},
        {"/card/event_20240229_000000_F.MP4", "Event", "car_front_event", "2024-02-29", "00:00:00"},
        {"/card/event_20240229_000000_R.MP4", "Event", "car_rear_event", "2024-02-29", "00:00:00"},
        // Listed without time (no known prefix): always, no image, empty date and time.
        {"/card/._alwa_20230415_093012_F.MP4", "Always", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const VXLMedia media(QString::fromLatin1(c.path));
        using M = VXLMediaListModel;
        EXPECT_EQ(M::cellText(media, M::SaveModeColumn), c.mode);
        EXPECT_EQ(M::cellImageName(media), c.image);
        EXPECT_EQ(M::cellText(media, M::DateColumn), c.date);
        EXPECT_EQ(M::cellText(media, M::TimeColumn), c.time);
        EXPECT_EQ(M::cellText(media, M::FileColumn), QFileInfo(c.path).fileName());
    }
}

class MediaListViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(table(), nullptr);
        for (const char* name : {"mediaListScrollView", "mapContainerView"})
            ASSERT_NE(child(name), nullptr) << name;
    }

    void scan(const QString& path)
    {
        QSignalSpy scanned(delegate.mediaList(), &VXLMediaList::mediaListChanged);
        delegate.openMediaDirectory(path);
        ASSERT_TRUE(waitForSignals(scanned, 1, 5000));
    }

    QTableView* table() const
    {
        return delegate.window()->findChild<QTableView*>(QStringLiteral("mediaListTableView"));
    }
    QWidget* child(const char* name) const
    {
        return delegate.window()->findChild<QWidget*>(QString::fromLatin1(name));
    }

    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
};

TEST_F(MediaListViewTest, RowsFollowTheScannedListWithImagesAndHeaders)
{
    TempDir card;
    card.write("DCIM/alwa_20230415_093012_F.MP4");
    card.write("DCIM/alwa_20230415_093012_R.MP4");
    card.write("DCIM/event_20230415_093050_F.MP4");
    ASSERT_NO_FATAL_FAILURE(scan(card.path()));

    VXLMediaListModel* model = delegate.mediaListModel();
    ASSERT_EQ(model->rowCount(), 3);
    const QStringList headers = {model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                                 model->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString()};
    EXPECT_EQ(headers, (QStringList{"Mode", "File"}));
    ASSERT_EQ(delegate.mediaList()->count(), 3);
    for (int row = 0; row < 3; ++row) {
        const QModelIndex mode = model->index(row, VXLMediaListModel::SaveModeColumn);
        EXPECT_FALSE(model->data(mode, Qt::DecorationRole).value<QPixmap>().isNull()) << row;
        EXPECT_EQ(model->data(model->index(row, VXLMediaListModel::FileColumn), Qt::DisplayRole),
                  delegate.mediaList()->mediaAtIndex(row)->fileName());
    }
    EXPECT_EQ(model->data(model->index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignLeft | Qt::AlignVCenter);

    // An empty folder empties the table.
    TempDir empty;
    ASSERT_NO_FATAL_FAILURE(scan(empty.path()));
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(MediaListViewTest, SidePanelSwitchKeepsSelectionAndScanShowsTheList)
{
    TempDir card;
    for (int minute = 0; minute < 40; ++minute) {
        card.write(QStringLiteral("alwa_20230415_09%1%2_F.MP4")
                       .arg(minute, 2, 10, QChar(u'0'))
                       .arg(QStringLiteral("00")));
    }
    delegate.window()->resize(1020, 700);
    delegate.window()->show();
    ASSERT_NO_FATAL_FAILURE(scan(card.path()));
    QCoreApplication::processEvents();

    table()->selectRow(30);
    table()->scrollTo(table()->model()->index(30, 0));
    const int scroll = table()->verticalScrollBar()->value();
    ASSERT_GT(scroll, 0);

    delegate.clickMapViewButton();
    EXPECT_EQ(delegate.rightViewMode(), 1);
    EXPECT_TRUE(child("mediaListScrollView")->isHidden());
    EXPECT_FALSE(child("mapContainerView")->isHidden());
    delegate.clickMediaListViewButton();
    EXPECT_EQ(delegate.rightViewMode(), 0);
    EXPECT_FALSE(child("mediaListScrollView")->isHidden());
    EXPECT_TRUE(child("mapContainerView")->isHidden());
    ASSERT_EQ(table()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(table()->selectionModel()->selectedRows().first().row(), 30);
    EXPECT_EQ(table()->verticalScrollBar()->value(), scroll);

    // A finished scan brings the list back even when the map was shown.
    delegate.clickMapViewButton();
    ASSERT_NO_FATAL_FAILURE(scan(card.path()));
    EXPECT_EQ(delegate.rightViewMode(), 0);
    EXPECT_FALSE(child("mediaListScrollView")->isHidden());
}

TEST_F(MediaListViewTest, PlaybackSelectsItsRowAlone)
{
    TempDir card;
    card.write("alwa_20230415_093012_F.MP4");
    card.write("alwa_20230415_093112_F.MP4");
    card.write("alwa_20230415_093212_F.MP4");
    ASSERT_NO_FATAL_FAILURE(scan(card.path()));
    table()->selectRow(0);
    delegate.selectMediaRow(2);
    const QModelIndexList selected = table()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), 2);
    delegate.selectMediaRow(7); // past the end: nothing changes
    ASSERT_EQ(table()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(table()->selectionModel()->selectedRows().first().row(), 2);
}

} // namespace
