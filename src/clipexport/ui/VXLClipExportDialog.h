#pragma once

#include "clipexport/ClipEncoding.h"

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

namespace Ui {
class VXLClipExportDialog;
}

// The "Export Clip" dialog: the marked span, the layout, the drive-data overlay, the quality
// and the output file; then, while the clip is made, the share encoded, the time left and
// Cancel. It only shows and collects: whoever opened it runs the export (exportRequested,
// cancelRequested) and reports back. Not modal, so the main window goes on playing.
class VXLClipExportDialog : public QDialog
{
    Q_OBJECT

public:
    struct Settings
    {
        ClipLayout layout = ClipLayout::SideBySide;
        bool overlay = true;
        ClipQuality quality = ClipQuality::Fast;
        QString outputPath;
    };

    explicit VXLClipExportDialog(QWidget* parent = nullptr);
    ~VXLClipExportDialog() override;

    Ui::VXLClipExportDialog& ui() const { return *m_ui; }

    // "alwa_20230415_093012_F.MP4, 0:25 to 1:25 (60 s)"; `oneCamera` when the recording has
    // no partner: the layouts of two cameras are then off.
    void setSpan(const QString& fileName, double from, double to, bool oneCamera);
    Settings settings() const;
    void setSettings(const Settings& settings);

    // The settings page, or the progress page with Cancel.
    void setExporting(bool exporting);
    bool isExporting() const { return m_exporting; }
    void showPrepared(const QStringList& notes);
    // share 0..1; secondsLeft below 0 while not known.
    void showProgress(double share, double secondsLeft);

    // `incident_YYYYMMDD_HHMMSS.mp4` for `moment` in the Videos folder (the home folder when
    // there is none), with "_2", "_3"... when that name is taken.
    static QString proposedOutputPath(const QDateTime& moment);
    // "1:05", "1:02:03".
    static QString durationText(double seconds);

Q_SIGNALS:
    void exportRequested();
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void chooseOutput();

    std::unique_ptr<Ui::VXLClipExportDialog> m_ui;
    bool m_exporting = false;
};
