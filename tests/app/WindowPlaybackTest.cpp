#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "library/MediaDirectoryWalk.h"
#include "library/VXLMediaList.h"
#include "support/SignalWait.h"
#include "support/TempDir.h"
#include "widgets/GWAlert.h"
#include "widgets/GWImageButton.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

QTableView* tableOf(const VXLAppDelegate& delegate)
{
    return delegate.window()->findChild<QTableView*>(QStringLiteral("mediaListTableView"));
}

int selectedRow(const VXLAppDelegate& delegate)
{
    const QTableView* table = tableOf(delegate);
    if (!table)
        return -2;
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

TEST(WindowOpenPanel, ChoosesOneFolderAndScansIt)
{
    TempDir card;
    card.write("DCIM/alwa_20230415_093012_F.MP4");
    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
    QSignalSpy scanned(delegate.mediaList(), &VXLMediaList::mediaListChanged);
    for (bool confirm : {false, true}) {
        delegate.openMediaDirectoryDialog();
        auto* panel = delegate.window()->findChild<QFileDialog*>(QStringLiteral("openPanel"));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(panel->isVisible());
        if (confirm) {
            panel->selectFile(card.path());
            static_cast<QDialog*>(panel)->accept(); // as the Open button does
        } else {
            panel->reject();
        }
        QCoreApplication::processEvents();
    }
    // Only the confirmed panel started a scan. A one-file folder is scanned so fast that its
    // report may already have come during the events above.
    ASSERT_TRUE(waitForSignals(scanned, 1, 5000));
    delegate.mediaList()->waitForScan();
    QCoreApplication::processEvents();
    EXPECT_EQ(scanned.count(), 1);
    EXPECT_EQ(delegate.mediaList()->directoryPath(), card.path());
    EXPECT_EQ(delegate.mediaList()->count(), 1);
}

// A folder with more recordings than the list holds: the list stops at its limit and the
// window says how many were left out.
TEST(WindowOpenPanel, AListCutShortAtItsLimitSaysSo)
{
    TempDir card;
    const QDateTime start(QDate(2023, 4, 15), QTime(0, 0));
    const qsizetype extra = 3;
    for (qsizetype i = 0; i < MediaDirectoryWalk::kMaxMedias + extra; ++i) {
        card.write(start.addSecs(60 * i).toString(u"'DCIM/alwa_'yyyyMMdd_HHmmss'_F.MP4'"));
    }
    QStringList alerts;
    setAlertHookForTesting([&](QMessageBox* box) {
        alerts << box->text() + " / " + box->informativeText();
        box->accept();
    });
    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
    QSignalSpy scanned(delegate.mediaList(), &VXLMediaList::mediaListChanged);
    delegate.openMediaDirectory(card.path());
    ASSERT_TRUE(waitForSignals(scanned, 1, 60000));
    setAlertHookForTesting({});
    EXPECT_EQ(delegate.mediaList()->count(), MediaDirectoryWalk::kMaxMedias);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_TRUE(alerts[0].contains(QString::number(MediaDirectoryWalk::kMaxMedias)))
        << qPrintable(alerts[0]);
    EXPECT_TRUE(alerts[0].contains("3 more")) << qPrintable(alerts[0]);
}

// The sample card played through the list: a double click opens a pair with both views
// shown, the next recording moves the selection, and opening another folder stops both
// players before its scan reports.
TEST(WindowPlayback, ListDrivesThePlayersAndFollowsThem)
{
    const QString card = qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card");
    ASSERT_TRUE(QFileInfo(card).isDir()) << qPrintable(card);

    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
    delegate.window()->resize(1020, 700);
    delegate.window()->show();
    QSignalSpy scanned(delegate.mediaList(), &VXLMediaList::mediaListChanged);
    delegate.openMediaDirectory(card);
    ASSERT_TRUE(waitForSignals(scanned, 1, 10000));
    ASSERT_GE(delegate.mediaList()->count(), 4);
    ASSERT_TRUE(delegate.mediaList()->mediaAtIndex(1));
    ASSERT_TRUE(delegate.mediaList()->mediaAtIndex(1)->isRearMedia());

    VXLPlaybackController* controller = delegate.playbackController();
    ASSERT_NE(controller, nullptr);
    QSignalSpy opened(controller, &VXLPlaybackController::openingFinished);
    QTableView* table = tableOf(delegate);
    ASSERT_NE(table, nullptr);
    const QModelIndex first = table->model()->index(0, 3);
    table->setCurrentIndex(first);
    Q_EMIT table->doubleClicked(first);
    ASSERT_TRUE(waitForSignals(opened, 1, 15000));
    ASSERT_TRUE(opened.takeFirst().first().toBool());
    EXPECT_EQ(selectedRow(delegate), 0);
    auto* video1 = delegate.window()->findChild<QWidget*>("video1View");
    auto* video2 = delegate.window()->findChild<QWidget*>("video2View");
    auto* playButton = delegate.window()->findChild<GWImageButton*>("playButton");
    ASSERT_TRUE(video1 && video2 && playButton);
    EXPECT_TRUE(video1->isVisible());
    EXPECT_TRUE(video2->isVisible());
    EXPECT_TRUE(delegate.playInfo()->isPlaying());
    EXPECT_EQ(playButton->imageName(), "icon_pause_n");

    // The next recording of a complete pair is two rows down.
    ASSERT_TRUE(controller->playNext());
    ASSERT_TRUE(waitForSignals(opened, 1, 15000));
    EXPECT_EQ(controller->mediaIndex(), 2);
    EXPECT_EQ(selectedRow(delegate), 2);

    TempDir empty;
    scanned.clear();
    delegate.openMediaDirectory(empty.path());
    EXPECT_FALSE(controller->player1()->media());
    EXPECT_FALSE(controller->player2()->media());
    ASSERT_TRUE(waitForSignals(scanned, 1, 5000));
    EXPECT_EQ(table->model()->rowCount(), 0);
}

} // namespace
