#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLClipController.h"
#include "app/VXLMainWindow.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "clipexport/VXLClipExporter.h"
#include "clipexport/ui/VXLClipExportDialog.h"
#include "library/VXLMediaList.h"
#include "support/ClipProbe.h"
#include "support/SignalWait.h"
#include "support/TempDir.h"
#include "ui_VXLClipExportDialog.h"
#include "ui_VXLMainWindow.h"
#include "widgets/GWAlert.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ClipExportDialog, SettingsSpanAndProgress)
{
    VXLClipExportDialog dialog;
    Ui::VXLClipExportDialog& ui = dialog.ui();
    for (ClipLayout layout :
         {ClipLayout::PictureInPicture, ClipLayout::Single, ClipLayout::SideBySide}) {
        for (ClipQuality quality : {ClipQuality::High, ClipQuality::Fast}) {
            dialog.setSettings({layout, quality == ClipQuality::Fast, quality, "/tmp/x.mp4"});
            const VXLClipExportDialog::Settings got = dialog.settings();
            EXPECT_EQ(got.layout, layout);
            EXPECT_EQ(got.quality, quality);
            EXPECT_EQ(got.overlay, quality == ClipQuality::Fast);
            EXPECT_EQ(got.outputPath, QStringLiteral("/tmp/x.mp4"));
        }
    }
    dialog.setSpan(QStringLiteral("alwa_20230415_093012_F.MP4"), 65, 125, false);
    EXPECT_EQ(ui.spanLabel->text(),
              QStringLiteral("alwa_20230415_093012_F.MP4, 1:05.0 to 2:05.0 (60.0 s)"));
    // One camera only: the two-camera layouts are off.
    dialog.setSpan(QStringLiteral("motion_20230415_101500_R.MP4"), 0, 20, true);
    EXPECT_FALSE(ui.layoutSideBySideRadio->isEnabled());
    EXPECT_EQ(dialog.settings().layout, ClipLayout::Single);
    ui.outputPathEdit->clear();
    EXPECT_FALSE(ui.exportButton->isEnabled());

    // While exporting, Escape and closing ask to cancel and the dialog stays.
    dialog.show();
    dialog.setExporting(true);
    dialog.showProgress(0.425, 12.4);
    EXPECT_EQ(ui.progressLabel->text(), QStringLiteral("42 % encoded"));
    EXPECT_EQ(ui.timeLeftLabel->text(), QStringLiteral("About 0:12 left"));
    QSignalSpy cancel(&dialog, &VXLClipExportDialog::cancelRequested);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_EQ(cancel.count(), 2);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(ClipExportDialog, ProposedFileInVideosOrHome)
{
    TempDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    const QDateTime moment(QDate(2023, 4, 15), QTime(9, 30, 37));
    EXPECT_EQ(VXLClipExportDialog::proposedOutputPath(moment),
              home.filePath(QStringLiteral("incident_20230415_093037.mp4")));
    home.write(QStringLiteral("Videos/incident_20230415_093037.mp4"));
    EXPECT_EQ(VXLClipExportDialog::proposedOutputPath(moment),
              home.filePath(QStringLiteral("Videos/incident_20230415_093037_2.mp4")));
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

// The whole road in the window: a recording played, In and Out marked with the keys' actions
// and drawn on the slider, the dialog's Export, playback going on meanwhile, the end
// message; the file is the one vexlo-tool makes for the same span.
TEST(ClipExportWindow, MarkedSpanExportedThroughTheDialog)
{
    const QString card = qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card");
    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
    VXLClipController& clip = application.clipController();
    QList<QUrl> opened;
    clip.setUrlOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    Ui::VXLMainWindow& ui = application.mainWindow()->ui();
    delegate.window()->resize(1020, 700);
    delegate.window()->show();

    // Without a recording there is nothing to export.
    QList<QMessageBox*> alerts;
    setAlertHookForTesting([&](QMessageBox* box) { alerts << box; });
    ui.actionExportClip->trigger();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.takeFirst()->text(), QStringLiteral("There is no recording to export from."));

    QSignalSpy scanned(delegate.mediaList(), &VXLMediaList::mediaListChanged);
    delegate.openMediaDirectory(card);
    ASSERT_TRUE(waitForSignals(scanned, 1, 10000));
    VXLPlaybackController* controller = delegate.playbackController();
    const auto media = [&] {
        return controller->player1()->media();
    };
    QSignalSpy openings(controller, &VXLPlaybackController::openingFinished);
    ASSERT_TRUE(controller->playAtIndex(0));
    ASSERT_TRUE(waitForSignals(openings, 1, 15000));
    ASSERT_TRUE(openings.first().first().toBool());
    ASSERT_TRUE(QTest::qWaitFor([&] { return media() && media()->length().isValid(); }, 10000));
    const QString recording = controller->player1()->media()->path();
    ASSERT_TRUE(recording.endsWith(QLatin1StringView("alwa_20230415_093012_F.MP4")));

    // The marks: In at 15 s, Out at 17 s of the 30-s recording.
    // Marked while it plays, each right after moving the slider there.
    ASSERT_TRUE(QTest::qWaitFor([&] { return delegate.playInfo()->isPlaying(); }, 10000));
    for (const auto& [position, action] :
         {std::pair{0.5, ui.actionMarkIn}, {17.0 / 30, ui.actionMarkOut}}) {
        delegate.playInfo()->setPosition(position); // as the slider does
        controller->videoPositionSliderMoved(position);
        action->trigger();
    }
    EXPECT_EQ(clip.marks(), (ClipMarks{recording, 15, 17}));
    ASSERT_TRUE(ui.videoPositionSlider->hasMarkedSpan());
    EXPECT_NEAR(ui.videoPositionSlider->markedIn(), 0.5, 1e-9);
    EXPECT_NEAR(ui.videoPositionSlider->markedOut(), 17.0 / 30, 1e-9);

    ui.actionExportClip->trigger();
    VXLClipExportDialog* dialog = clip.exportDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->ui().outputPathEdit->text().endsWith(
        QLatin1StringView("/incident_20230415_093027.mp4")));
    TempDir out;
    dialog->ui().outputPathEdit->setText(out.filePath(QStringLiteral("incident.mp4")));
    QSignalSpy progress(clip.exporter(), &VXLClipExporter::progressChanged);
    // libVLC reports time changes about three times a second while it plays.
    QSignalSpy played(controller->player1(), &VXLPlayerInterface::mediaPlayerTimeChanged);
    QTest::mouseClick(dialog->ui().exportButton, Qt::LeftButton);
    EXPECT_EQ(dialog->ui().pageStack->currentWidget(), dialog->ui().progressPage);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !alerts.isEmpty(); }, 180000));
    EXPECT_FALSE(progress.isEmpty());
    EXPECT_GE(played.count(), 2);
    EXPECT_TRUE(controller->player1()->isPlaying());
    EXPECT_FALSE(dialog->isVisible());

    QMessageBox* done = alerts.takeFirst();
    EXPECT_EQ(done->text(), QStringLiteral("The clip is ready."));
    EXPECT_TRUE(done->informativeText().startsWith(out.filePath(QStringLiteral("incident.mp4"))));
    const QList<QAbstractButton*> buttons = done->buttons();
    ASSERT_EQ(buttons.size(), 3);
    QAbstractButton* showInFolder = nullptr;
    for (QAbstractButton* button : buttons)
        if (button->text() == QStringLiteral("Show in Folder"))
            showInFolder = button;
    ASSERT_NE(showInFolder, nullptr);
    showInFolder->click();
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(out.path())});

    const QString exported = out.filePath(QStringLiteral("incident.mp4"));
    const ProbedClip probed = probeClip(exported);
    EXPECT_EQ(probed.picture, QSize(1920, 540));
    EXPECT_NEAR(probed.duration, 2.0, 1.5 / 30);
    // vexlo-tool makes the same bytes for the same span (km/h: the window has read no card).
    const QString again = out.filePath(QStringLiteral("again.mp4"));
    QProcess tool;
    tool.start(QStringLiteral(VEXLO_TOOL_PATH),
               {QStringLiteral("clip"), recording, QStringLiteral("--from"), QStringLiteral("15"),
                QStringLiteral("--to"), QStringLiteral("17"), QStringLiteral("--card"),
                card + QStringLiteral("/DCIM"), QStringLiteral("-o"), again});
    ASSERT_TRUE(tool.waitForFinished(120000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    QFile a(exported);
    QFile b(again);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_TRUE(a.readAll() == b.readAll()) << "the window's clip differs from vexlo-tool's";

    // A folder that cannot be written: the reason on the dialog, which stays for another try.
    ui.actionExportClip->trigger();
    dialog->ui().outputPathEdit->setText(out.filePath(QStringLiteral("missing/incident.mp4")));
    QTest::mouseClick(dialog->ui().exportButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !alerts.isEmpty(); }, 30000));
    EXPECT_EQ(alerts.first()->text(), QStringLiteral("The clip could not be exported."));
    EXPECT_TRUE(
        alerts.first()->informativeText().contains(QLatin1StringView("No such file or directory")));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->ui().pageStack->currentWidget(), dialog->ui().settingsPage);
    alerts.takeFirst()->accept();

    // Cancel while it encodes: the dialog goes, and so does the file.
    dialog->ui().outputPathEdit->setText(out.filePath(QStringLiteral("cancelled.mp4")));
    dialog->ui().qualityHighRadio->setChecked(true);
    progress.clear();
    clip.clearMarks();
    EXPECT_FALSE(ui.videoPositionSlider->hasMarkedSpan());
    QTest::mouseClick(dialog->ui().exportButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !progress.isEmpty(); }, 60000));
    QTest::mouseClick(dialog->ui().cancelButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clip.exporter()->isRunning(); }, 30000));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out.filePath(QStringLiteral("cancelled.mp4"))));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"again.csv", "again.gpx", "again.mp4", "incident.csv", "incident.gpx",
                           "incident.mp4"}));
    setAlertHookForTesting({});
}

} // namespace
