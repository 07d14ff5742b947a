#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"
#include "drivedata/ui/GraphView.h"
#include "drivedata/ui/VXLDriveDataReadouts.h"
#include "drivedata/ui/VXLMapView.h"
#include "library/VXLMediaList.h"
#include "library/VXLMediaPair.h"

#include "drivedata/ui/MapPageState.h"

#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

#include <gtest/gtest.h>

namespace {

// The sample card's first recording played, paused, then a click in the middle of the
// G-sensor graph: readouts, graph bar and map show the record in the middle, exactly as the
// shared display function gives it for the play position.
TEST(DriveDataWindow, ClickInTheMiddleOfTheGraphShowsTheMiddleRecord)
{
    const QString card = qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card");
    ASSERT_TRUE(QDir(card).exists()) << qPrintable(card);

    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
    delegate.window()->resize(1200, 760);
    delegate.applicationDidFinishLaunching();
    QSignalSpy opened(delegate.playbackController(), &VXLPlaybackController::openingFinished);
    delegate.setPlayFirstWhenScanned(true);
    delegate.openMediaDirectory(card);
    ASSERT_TRUE(opened.wait(30000));
    ASSERT_TRUE(opened.at(0).at(0).toBool());

    auto* graph = delegate.window()->findChild<GraphView*>(QStringLiteral("graphView"));
    auto* map = delegate.window()->findChild<VXLMapView*>(QStringLiteral("mapWebView"));
    ASSERT_NE(graph, nullptr);
    ASSERT_NE(map, nullptr);
    ASSERT_FALSE(graph->values().isEmpty()) << "the graph got the pair's samples";

    // Some playback first, then a pause.
    QTRY_VERIFY_WITH_TIMEOUT(delegate.playInfo()->position() > 0, 10000);
    delegate.playbackController()->clickPlayButton();
    QTRY_VERIFY_WITH_TIMEOUT(!delegate.playInfo()->isPlaying(), 5000);

    const double middleX = graph->graphAreaLeftBottom().x() + graph->graphAreaSize().width() / 2;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(middleX, 40), QPointF(middleX, 40),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(graph, &press);
    // The partner re-aligns and the first player reports its new place.
    QTRY_VERIFY_WITH_TIMEOUT(!delegate.playbackController()->moving() &&
                                 std::abs(graph->timePosition() - 0.5) < 0.05,
                             10000);

    const double position = delegate.playInfo()->position();
    EXPECT_NEAR(position, 0.5, 0.02);
    EXPECT_NEAR(graph->timePosition(), 0.5, 0.05) << "the bar follows the first player";

    const qsizetype index = delegate.playbackController()->mediaIndex();
    const VXLMediaPtr playing = delegate.mediaList()->mediaAtIndex(size_t(index));
    ASSERT_TRUE(playing);
    const auto pair = delegate.mediaList()->findMediaPairWithFileName(playing->path());
    ASSERT_TRUE(pair && pair->frontMedia);
    VXLBlackBoxData data;
    ASSERT_TRUE(data.ExtractStreamInformation(pair->frontMedia->path()));
    const DriveDataDisplayValues expected =
        driveDataDisplayValues(data.m_GSensors(), data.m_NMEAs(), data.m_vGpsData(), position);
    ASSERT_TRUE(expected.hasGSensor && expected.hasPosition && expected.hasFix);

    auto text = [&](const char* name) {
        return delegate.window()->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    const DriveDataReadoutTexts texts = driveDataReadoutTexts(expected);
    EXPECT_EQ(text("gsensorXField"), texts.gsensorX);
    EXPECT_EQ(text("gsensorYField"), texts.gsensorY);
    EXPECT_EQ(text("gsensorZField"), texts.gsensorZ);
    EXPECT_EQ(text("speedField"), texts.speed);
    EXPECT_EQ(text("hdopField"), texts.hdop);
    EXPECT_EQ(text("sateliteField"), texts.satellites);

    const QJsonObject state = mapPageState(*map);
    const QJsonArray shown = state["lastLatLag"].toArray();
    EXPECT_EQ(QStringLiteral("setLatLag('%1','%2')").arg(shown[0].toString(), shown[1].toString()),
              VXLMapView::positionScript(expected));
    EXPECT_GT(state["routePointCount"].toInt(), 1) << "the route of the recording is drawn";
    delegate.die();
}

} // namespace
