#include "CupsServer.h"
#include "app/VXLFrameCapture.h"
#include "app/playback/ScriptedPlayer.h"
#include "support/TempDir.h"
#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QMutex>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A paused master with a recording: its snapshot is a picture drawn here.
class PausedPlayer : public ScriptedPlayer
{
public:
    PausedPlayer()
    {
        setMedia(VLCMedia::mediaWithPath(QStringLiteral("/card/alwa_20230415_093012_F.MP4"),
                                         VLCMedia::kFrontDirection));
        play();
        pause();
    }
    bool saveVideoSnapshotAt(const QString& path, int, int) override
    {
        QImage frame(640, 360, QImage::Format_RGB32);
        frame.fill(Qt::darkBlue);
        QPainter(&frame).fillRect(0, 0, 320, 360, Qt::yellow);
        return frame.save(path, "JPEG");
    }
};

// The diagnostics lines of the program, from any thread.
class LogLines
{
public:
    LogLines() { s_current = this, m_previous = qInstallMessageHandler(&LogLines::handle); }
    ~LogLines()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    QStringList lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }

private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        if (s_current) {
            QMutexLocker lock(&s_current->m_mutex);
            s_current->m_lines << text;
        }
    }
    static inline LogLines* s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
    mutable QMutex m_mutex;
    QStringList m_lines;
};

class PrintToCups : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CupsServer& server = CupsServer::shared();
        if (!server.isRunning()) {
            GTEST_SKIP() << "no print server of our own: " << server.whyNotRunning().toStdString();
        }
        ASSERT_TRUE(server.addPostScriptQueue(QStringLiteral("jpegq")))
            << server.whyNotRunning().toStdString();
        ASSERT_TRUE(server.addTextOnlyQueue(QStringLiteral("textq")))
            << server.whyNotRunning().toStdString();
        window.show();
        setAlertHookForTesting([this](QMessageBox* box) {
            alerts << box->text();
            box->accept();
        });
    }
    void TearDown() override { setAlertHookForTesting({}); }

    // Opens the print panel, lets `inPanel` work in it, confirms it and waits for the end of
    // the job; answers the job's id (0 when nothing was printed).
    int printThroughPanel(const std::function<void(QPrintDialog*)>& inPanel = {})
    {
        QSignalSpy finished(&capture, &VXLFrameCapture::printFinished);
        capture.print();
        auto* panel = window.findChild<QPrintDialog*>(QStringLiteral("printPanel"));
        EXPECT_NE(panel, nullptr);
        if (!panel) {
            return 0;
        }
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->windowModality(), Qt::WindowModal);
        if (inPanel) {
            inPanel(panel);
        }
        panel->accept();
        EXPECT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 60000));
        return finished.isEmpty() ? 0 : finished.first().at(1).toInt();
    }

    // Opens the printer's properties from the panel, lets `inProperties` see their page
    // size list, and confirms them.
    static void inProperties(QPrintDialog* panel, const std::function<void(QComboBox*)>& use)
    {
        QTimer::singleShot(0, panel, [use] {
            QWidget* properties = QApplication::activeModalWidget();
            ASSERT_NE(properties, nullptr);
            auto* sizes = properties->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
            ASSERT_NE(sizes, nullptr);
            use(sizes);
            static_cast<QDialog*>(properties)->accept();
        });
        auto* button = panel->findChild<QPushButton*>(QStringLiteral("properties"));
        ASSERT_NE(button, nullptr);
        button->click(); // runs the properties until the timer above confirms them
    }

    QMainWindow window;
    PausedPlayer player;
    VXLFrameCapture capture{&window, &player};
    QStringList alerts;
};

// A paused frame printed on a queue that accepts JPEG: the job carries the picture's type and
// fit-to-page, and the queue writes a page for it.
TEST_F(PrintToCups, JpegQueueWritesThePausedFrame)
{
    CupsServer& server = CupsServer::shared();
    capture.loadPrintInfo()->setPrinterName(QStringLiteral("jpegq"));
    const int job = printThroughPanel();
    ASSERT_GT(job, 0) << alerts.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(server.jobAttribute(job, "document-format"), QStringLiteral("image/jpeg"));
    EXPECT_EQ(server.jobAttribute(job, "fit-to-page"), QStringLiteral("true"));

    // The filters run as another user and can be slow on a busy machine.
    const QStringList ended{QStringLiteral("completed"), QStringLiteral("aborted"),
                            QStringLiteral("canceled")};
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return ended.contains(server.jobAttribute(job, "job-state")); }, 120000));
    EXPECT_EQ(server.jobAttribute(job, "job-state"), QStringLiteral("completed"));
    QFile output(server.outputPath(QStringLiteral("jpegq")));
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    const QByteArray page = output.readAll();
    EXPECT_TRUE(page.startsWith("%!PS")) << page.left(40).toStdString();
    EXPECT_TRUE(page.contains("%%Pages: 1") || page.contains("%%Page: 1 1"));
}

// Each refusal, in the order the checks come: its log line, a message to the user, no job.
TEST_F(PrintToCups, RefusalsAreLoggedShownAndPrintNothing)
{
    CupsServer& server = CupsServer::shared();
    ASSERT_TRUE(server.addPostScriptQueue(QStringLiteral("goneq")));
    TempDir pdf;
    struct Case
    {
        const char* name;
        const char* printer; // chosen before the panel opens
        std::function<void(QPrintDialog*)> inPanel;
        QString logLine;
        const char* message;
    };
    const Case cases[] = {
        {"file destination", "jpegq",
         [&](QPrintDialog* panel) {
             // The panel's own last entry: "Print to File (PDF)".
             auto* destinations = panel->findChild<QComboBox*>(QStringLiteral("printers"));
             auto* fileName = panel->findChild<QLineEdit*>(QStringLiteral("filename"));
             ASSERT_NE(destinations, nullptr);
             ASSERT_NE(fileName, nullptr);
             destinations->setCurrentIndex(destinations->count() - 1);
             fileName->setText(pdf.filePath(QStringLiteral("frame.pdf")));
         },
         QStringLiteral("Either got an error from PMSessionGetDestinationType or the print "
                        "destination wasn't kPMDestinationPrinter"),
         "msg.print_not_printer"},
        {"printer removed before the job", "goneq",
         [&](QPrintDialog*) { ASSERT_TRUE(server.removeQueue(QStringLiteral("goneq"))); },
         QStringLiteral("Got an error from PMSessionGetCurrentPrinter (%1)")
             .arg(int(IPP_STATUS_ERROR_NOT_FOUND)),
         "msg.print_no_printer"},
        {"queue without image/jpeg",
         "textq",
         {},
         QStringLiteral("MIME type image/jpeg isn't supported by the printer"),
         "msg.print_jpeg_unsupported"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        alerts.clear();
        const int lastJob = server.lastJobId();
        QPrinter* printInfo = capture.loadPrintInfo();
        printInfo->setOutputFormat(QPrinter::NativeFormat);
        printInfo->setPrinterName(QString::fromLatin1(c.printer));
        LogLines log;
        EXPECT_EQ(printThroughPanel(c.inPanel), 0);
        EXPECT_TRUE(log.lines().contains(c.logLine)) << log.lines().join('\n').toStdString();
        EXPECT_EQ(alerts, QStringList{localizedString(QString::fromLatin1(c.message))});
        EXPECT_LE(server.lastJobId(), lastJob);
    }
    EXPECT_FALSE(QFile::exists(pdf.filePath(QStringLiteral("frame.pdf"))));
}

// The paper chosen in one print panel is the paper of the next ones: applied when the next
// panel is confirmed as it opened, and shown when its printer's properties are opened.
TEST_F(PrintToCups, NextPrintKeepsThePaperChosenBefore)
{
    CupsServer& server = CupsServer::shared();
    capture.loadPrintInfo()->setPrinterName(QStringLiteral("jpegq"));
    const int first = printThroughPanel([](QPrintDialog* panel) {
        inProperties(panel, [](QComboBox* sizes) {
            const int a5 = sizes->findText(QStringLiteral("A5"));
            ASSERT_GE(a5, 0);
            sizes->setCurrentIndex(a5);
        });
    });
    ASSERT_GT(first, 0);
    EXPECT_EQ(server.jobAttribute(first, "media"), QStringLiteral("A5"));

    const int second = printThroughPanel();
    ASSERT_GT(second, 0);
    EXPECT_EQ(server.jobAttribute(second, "media"), QStringLiteral("A5"));

    QString shown;
    const int third = printThroughPanel([&](QPrintDialog* panel) {
        inProperties(panel, [&](QComboBox* sizes) { shown = sizes->currentText(); });
    });
    ASSERT_GT(third, 0);
    EXPECT_EQ(shown, QStringLiteral("A5"));
    EXPECT_EQ(server.jobAttribute(third, "media"), QStringLiteral("A5"));
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(QLatin1Char('\n')).toStdString();
}

} // namespace
