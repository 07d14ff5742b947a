#pragma once

#include "CupsPrintJob.h"

#include <QByteArray>
#include <QObject>
#include <QPageLayout>
#include <QPointer>
#include <QString>
#include <QThreadPool>

#include <memory>
#include <optional>

class QPrintDialog;
class QPrinter;
class QWidget;
class VXLPlayerInterface;

// Keeps the picture the master player shows as an image file, or prints it. Both start from
// one JPEG snapshot of the current frame at the video's own size, in a folder private to the
// user. Lives on the GUI thread; the panels are sheets on the main window, and the copy to
// the user's file and the talk with the print server run on a worker thread.
class VXLFrameCapture : public QObject
{
    Q_OBJECT

public:
    VXLFrameCapture(QWidget* window, VXLPlayerInterface* player1, QObject* parent = nullptr);
    ~VXLFrameCapture() override;

    // Only while the master plays: the snapshot, then the save panel ("savePanel"). The name
    // confirmed there gets a byte copy of the snapshot (replacing a file the user agreed to
    // replace), and the snapshot opens in the desktop's image viewer.
    void captureVideo();
    // Only while the master has a recording, paused or not: the snapshot, then the print
    // panel ("printPanel") on the print settings of the run.
    void print();
    // The print settings: the system's defaults on first use, then kept for the whole run so
    // the choices of one print panel apply to the next.
    QPrinter* loadPrintInfo();
    // The end of the print panel: nothing unless confirmed; then the checks and the job.
    void printPanelDidEnd(QPrintDialog* panel, int returnCode);

    // The snapshot of the last capture or print (empty before the first).
    QString snapshotPath() const { return m_snapshotPath; }

Q_SIGNALS:
    // A confirmed save ended; `error` is empty when the copy is in place.
    void captureSaveFinished(const QString& path, const QString& error);
    // A confirmed print ended; `jobId` is the print server's job for a printed one.
    void printFinished(CupsPrintOutcome outcome, int jobId);

private:
    // Writes the snapshot and answers its bytes; tells the user and answers nothing when no
    // frame could be written.
    std::optional<QByteArray> takeSnapshot();
    void saveSnapshotCopy(const QString& path, const QByteArray& bytes);
    void captureCopyDidEnd(const QString& path, const QString& error);
    void printDidEnd(const CupsPrintJob& job, const CupsPrintResult& result);

    QPointer<QWidget> m_window;
    QPointer<VXLPlayerInterface> m_player1;
    std::unique_ptr<QPrinter> m_printInfo;
    // The paper of the last confirmed print panel, carried into the next one.
    std::optional<QPageLayout> m_chosenPageLayout;
    QString m_snapshotPath;
    // One file or print job at a time, in the order they were asked for.
    QThreadPool m_worker;
};
