#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLFrameCapture.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"
#include "player/VXLPlayerInterface.h"
#include "support/FullFileSystem.h"
#include "support/SignalWait.h"
#include "support/TempDir.h"
#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QImageReader>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// What the program asked the desktop to open.
class OpenedUrls : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void openUrl(const QUrl& url) { urls << url; }
};

// An environment variable set for one test and put back after it.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (m_had) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

unsigned fileMode(const QString& path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// The sample card's first recording (front camera, 1280 x 720) playing in the main window,
// with a home, a desktop and a runtime folder of the test's own.
class FrameCapture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::chmod(QFile::encodeName(runtime.path()).constData(), 0700);
        desktop = home.mkdir(QStringLiteral("Desktop"));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "openUrl");
        setAlertHookForTesting([this](QMessageBox* box) {
            alerts << box->text() + QLatin1Char('|') + box->informativeText();
            box->accept();
        });

        const QString card =
            qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card");
        ASSERT_TRUE(QFileInfo(card).isDir()) << qPrintable(card);
        application = std::make_unique<VXLApplication>();
        delegate = &application->delegate();
        delegate->window()->resize(1020, 700);
        delegate->window()->show();
        QSignalSpy scanned(delegate->mediaList(), &VXLMediaList::mediaListChanged);
        delegate->openMediaDirectory(card);
        ASSERT_TRUE(waitForSignals(scanned, 1, 10000));
        VXLPlaybackController* controller = delegate->playbackController();
        QSignalSpy opened(controller, &VXLPlaybackController::openingFinished);
        ASSERT_TRUE(controller->playAtIndex(0));
        ASSERT_TRUE(waitForSignals(opened, 1, 30000));
        player1 = controller->player1();
        // A second in, the first pictures have been drawn.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return player1->isPlaying() && !player1->videoSize().isEmpty() &&
                       player1->time().intValue() >= 1000;
            },
            30000));
    }

    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        setAlertHookForTesting({});
    }

    QFileDialog* openSavePanel()
    {
        // A panel of an earlier capture goes at the next turn of the event loop.
        if (!QTest::qWaitFor([&] { return !savePanel(); }, 5000)) {
            return nullptr;
        }
        delegate->captureVideo();
        return savePanel();
    }
    QFileDialog* savePanel() const
    {
        return delegate->window()->findChild<QFileDialog*>(QStringLiteral("savePanel"));
    }

    // Confirms `path` in the panel, answering yes when asked to replace a file, and waits for
    // the copy; answers its error text.
    QString saveAs(QFileDialog* panel, const QString& path)
    {
        QSignalSpy finished(delegate->frameCapture(), &VXLFrameCapture::captureSaveFinished);
        QTimer::singleShot(0, panel, [] {
            if (auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question->button(QMessageBox::Yes)->click();
            }
        });
        panel->selectFile(path);
        static_cast<QDialog*>(panel)->accept(); // as the Save button does
        EXPECT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 30000));
        return finished.isEmpty() ? QStringLiteral("no end") : finished.first().at(1).toString();
    }

    TempDir home;
    TempDir runtime;
    ScopedEnvironment homeVariable{"HOME", QFile::encodeName(home.path())};
    ScopedEnvironment configVariable{"XDG_CONFIG_HOME", QFile::encodeName(home.path())};
    ScopedEnvironment runtimeVariable{"XDG_RUNTIME_DIR", QFile::encodeName(runtime.path())};
    QString desktop;
    OpenedUrls opened;
    QStringList alerts;
    std::unique_ptr<VXLApplication> application;
    VXLAppDelegate* delegate = nullptr;
    VXLPlayerInterface* player1 = nullptr;
};

TEST_F(FrameCapture, PausedDoesNothingPlayingSavesTheFrame)
{
    delegate->playbackController()->clickPlayButton();
    // The button follows the play state, which the player's events set a moment later.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !player1->isPlaying() && !delegate->playInfo()->isPlaying(); }, 10000));
    delegate->captureVideo();
    EXPECT_EQ(savePanel(), nullptr);
    EXPECT_TRUE(delegate->frameCapture()->snapshotPath().isEmpty());

    delegate->playbackController()->clickPlayButton();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player1->isPlaying(); }, 10000));
    QFileDialog* panel = openSavePanel();
    ASSERT_NE(panel, nullptr);
    const QString snapshot = delegate->frameCapture()->snapshotPath();
    EXPECT_TRUE(snapshot.startsWith(runtime.path() + QLatin1Char('/'))) << qPrintable(snapshot);
    EXPECT_EQ(fileMode(QFileInfo(snapshot).absolutePath()), 0700u);
    QImageReader picture(snapshot);
    EXPECT_EQ(picture.format(), "jpeg");
    EXPECT_EQ(picture.size(), QSize(1280, 720));

    EXPECT_EQ(panel->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(panel->windowModality(), Qt::WindowModal);
    EXPECT_EQ(panel->directory().absolutePath(), desktop);
    ASSERT_EQ(panel->selectedFiles().size(), 1);
    EXPECT_EQ(QFileInfo(panel->selectedFiles().first()).fileName(), "zuva_capture.png");
    EXPECT_TRUE(panel->filter().testFlag(QDir::Hidden));
    EXPECT_FALSE(panel->testOption(QFileDialog::ReadOnly)) << "folders can be made";

    struct Case
    {
        const char* name;
        QString path;
        QByteArray oldBytes; // a file the user agreed to replace
        bool fails;
    };
    const Case cases[] = {
        {"new file on the desktop", desktop + QStringLiteral("/zuva_capture.png"), {}, false},
        {"replaced file", home.write(QStringLiteral("kept.jpg"), "old picture"), "old picture",
         false},
        {"folder that is a file",
         home.write(QStringLiteral("notafolder")) + QStringLiteral("/zuva_capture.png"),
         {},
         true},
    };
    ::chmod(QFile::encodeName(cases[1].path).constData(), 0640);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!panel) {
            panel = openSavePanel();
        }
        ASSERT_NE(panel, nullptr);
        alerts.clear();
        opened.urls.clear();
        const QString error = saveAs(panel, c.path);
        panel = nullptr;
        if (c.fails) {
            EXPECT_FALSE(error.isEmpty());
            ASSERT_EQ(alerts.size(), 1);
            EXPECT_TRUE(alerts.first().startsWith(
                localizedString(QStringLiteral("msg.capture_save_fail")) + QLatin1Char('|')));
            EXPECT_TRUE(alerts.first().contains(c.path)) << qPrintable(alerts.first());
            EXPECT_TRUE(opened.urls.isEmpty());
            continue;
        }
        EXPECT_EQ(error, QString());
        EXPECT_TRUE(alerts.isEmpty()) << qPrintable(alerts.join('\n'));
        // A byte copy of the snapshot, whatever the name says, opened in the image viewer.
        const QByteArray saved = fileBytes(c.path);
        EXPECT_TRUE(saved.startsWith("\xFF\xD8\xFF"));
        EXPECT_EQ(saved, fileBytes(snapshot));
        EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(snapshot)});
        if (!c.oldBytes.isEmpty()) {
            EXPECT_EQ(fileMode(c.path), 0640u);
        }
        // Nothing left beside it on the way.
        EXPECT_EQ(QDir(QFileInfo(c.path).absolutePath())
                      .entryList(QDir::Files | QDir::Hidden)
                      .filter(QLatin1Char('.') + QFileInfo(c.path).fileName()),
                  QStringList());
    }
}

// The copy onto a full medium fails for real: told to the user, the old file stays whole.
TEST_F(FrameCapture, CopyOntoAFullMediumKeepsTheOldFile)
{
    FullFileSystem card;
    if (!card.isMounted()) {
        GTEST_SKIP() << "a small tmpfs needs root";
    }
    const QByteArray oldBytes(1000, 'o');
    const QString target = card.filePath(QStringLiteral("zuva_capture.png"));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        ASSERT_EQ(old.write(oldBytes), oldBytes.size());
    }
    card.fill();

    QFileDialog* panel = openSavePanel();
    ASSERT_NE(panel, nullptr) << qPrintable(alerts.join('\n'));
    const QString error = saveAs(panel, target);
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC)))) << qPrintable(error);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_TRUE(alerts.first().contains(target));
    EXPECT_EQ(fileBytes(target), oldBytes);
    EXPECT_EQ(QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"filler", "zuva_capture.png"}));
    EXPECT_TRUE(opened.urls.isEmpty());
}

} // namespace

#include "CaptureTest.moc"
