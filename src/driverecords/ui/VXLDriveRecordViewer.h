#pragma once

#include "DriveRecordTableModel.h"

#include "drivedata/ui/VXLMapWindowController.h"
#include "settings/ui/VXLSettingControllerDelegate.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QFileDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

// What both drive-record viewers do: a table of the records of one file, read off the GUI
// thread with progress; the open button for another file of the kind; the CSV export; the map
// window for a double-clicked record. The two viewer classes give their interface description
// and the few texts that differ. Both take part in the settings window's page protocol, so
// either can be hosted as a page; they edit nothing in the record. A host shows its busy
// indicator on loadingStarted / loadingFinished.
class VXLDriveRecordViewer : public QWidget, public VXLSettingControllerDelegate
{
    Q_OBJECT

public:
    ~VXLDriveRecordViewer() override;

    // Page protocol.
    void setFileData(_FILEDATA* fileData) override;
    bool populate() override { return m_fileData != nullptr; }
    QString validateUserInput() override { return {}; }
    void setMainController(VXLSettingController* controller) override
    {
        m_mainController = controller;
    }
    void onHide() override;
    // The first time there is a record, loads the file set by setM_FlashDataFilePath (when it
    // exists); later calls do nothing.
    void displayFileData();

    // The first display on its own, without a settings record (a viewer opened by itself).
    void displayFirstTime();

    void setM_FlashDataFilePath(const QString& path) { m_FlashDataFilePath = path; }
    const QString& flashDataFilePath() const { return m_FlashDataFilePath; }
    bool flashDataAccess() const { return m_bFlashDataAccess; }
    qint64 flashDataNum() const { return m_model->recordCount(); }
    DriveRecordTableModel* model() const { return m_model; }
    QTableView* tableView() const { return m_tableView; }
    VXLMapWindowController* mapWindowController() const { return m_mapWindowController; }
    // True while a file is read or an export written; the buttons are disabled meanwhile.
    bool isBusy() const { return m_busy; }

    // The open button: a file of the viewer's kind chosen in an open panel, then read.
    void openFileDialog();
    // Reads m_FlashDataFilePath in the background; the table is replaced when it is done.
    void loadFlashDataFile();
    // The export button: a save panel, then the CSV written in the background.
    void onSaveCSVFile();
    // Shows the record of `row` on the map window, opened right of this viewer if need be.
    void doubleClickTableRow(int row);

    // Tests: every open or save panel just after it opened (to choose a file and accept),
    // and a factor on the delay before the saved alert.
    static void setFileDialogHookForTesting(std::function<void(QFileDialog*)> hook);
    static void setTimeScaleForTesting(double scale);
    // The most records a viewer keeps; the rest of a larger file is counted, not shown.
    static void setMaxRecordsForTesting(qint64 maxRecords);

Q_SIGNALS:
    // For a host's busy indicator: "Loading..." or "Saving...", then the end of that work.
    void loadingStarted(const QString& title);
    void loadingFinished();
    // A read has ended: the table shows the new records, or the old ones and an error.
    void fileLoaded(bool ok);
    // An export has ended (error empty on success); the alert follows a moment later.
    void exportFinished(const QString& path, const QString& error);

protected:
    struct Texts
    {
        const char* fileType;     // extension the open panel offers
        const char* proposedName; // export file name without its extension
        const char* savedMessage; // message text of the saved alert
        const char* titleKey;     // window title when shown on its own
    };

    VXLDriveRecordViewer(DriveRecordKind kind, const Texts& texts, QWidget* parent);

    // Called by the viewer class once its interface description is set up.
    void setUpViewer(QPushButton* openButton, QPushButton* exportButton, QTableView* tableView,
                     QLabel* statusField, QProgressBar* progressBar);

    // The first display found no file to read (the OBD viewer asks for one).
    virtual void noFileAtFirstDisplay() {}

private:
    // What a background read hands back: the records of one kind, or an error.
    struct ReadResult
    {
        QString path;
        DriveRecordTableModel::FlashRecords flash;
        DriveRecordTableModel::ObdRecords obd;
        quint32 announced = 0;
        qint64 missing = 0;
        qint64 leftOut = 0;
        QString error;
    };

    void makeColumnWithIndex(int index, const QString& title, int width);
    void readFinished();
    void exportDone(const QString& path, const QString& error);
    void setBusy(bool busy, const QString& title = {});
    void showRecordCount(quint32 announced, qint64 missing, qint64 leftOut);
    void dropMapWindowController();
    void openPanel(QFileDialog* dialog);

    DriveRecordKind m_kind;
    Texts m_texts;
    DriveRecordTableModel* m_model;
    _FILEDATA* m_fileData = nullptr;
    VXLSettingController* m_mainController = nullptr; // the host's; only kept
    QString m_FlashDataFilePath;
    bool m_bFlashDataAccess = false;
    bool m_firstLoad = true;
    bool m_busy = false;

    QPushButton* m_openButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QTableView* m_tableView = nullptr;
    QLabel* m_statusField = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPointer<VXLMapWindowController> m_mapWindowController;
    QPointer<QFutureWatcher<ReadResult>> m_reading;
};
