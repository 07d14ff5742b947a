#pragma once

#include "clipexport/ClipMarks.h"
#include "clipexport/ui/VXLClipExportDialog.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <optional>

class VXLClipExporter;
class VXLMainWindow;
class VXLMediaList;
class VXLPlayInfo;
class VXLPlayerInterface;
struct ClipExportResult;

// The incident clip in the main window: the In and Out marks on the position sliders (keys I
// and O), "Export Clip…" with its dialog, the export in the background with progress and
// Cancel while playback goes on, and the message at its end. Created by the application with
// what it works with; owns only the dialog and the exporter.
class VXLClipController : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        VXLMainWindow* window;
        VXLMediaList* mediaList;
        VXLPlayInfo* playInfo;
        VXLPlayerInterface* player1;
        // The speed unit of the card's settings (true: miles).
        std::function<bool()> mileDisplay;
    };
    explicit VXLClipController(const Parts& parts, QObject* parent = nullptr);
    ~VXLClipController() override;

    // At the play position of the recording in the master player; nothing without one.
    void markIn();
    void markOut();
    void clearMarks();
    // The marks set by the user; unset when there are none.
    const ClipMarks& marks() const { return m_marks; }
    // What an export takes now: the marks set, else 30 s around the play position.
    std::optional<ClipMarks> exportMarks() const;

    // Opens the dialog for the marked span (raises it while an export runs). Without a
    // recording it says to play one first.
    void showExportDialog();
    VXLClipExportDialog* exportDialog() const { return m_dialog; }
    VXLClipExporter* exporter() const { return m_exporter; }

    // How the end message opens the folder or the clip (QDesktopServices by default).
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }

private:
    struct Playing
    {
        VXLMediaPtr media;
        double position; // seconds
        double length;   // seconds; 0 while the player does not know it
    };
    std::optional<Playing> playing() const;
    double knownLength(const VXLMedia& media) const;
    void rememberLength();
    void setMarks(const ClipMarks& marks);
    void updateSliderMarks();
    void startExport();
    void exportFinished(const ClipExportResult& result);

    QPointer<VXLMainWindow> m_window;
    VXLMediaList* m_mediaList;
    VXLPlayInfo* m_playInfo;
    QPointer<VXLPlayerInterface> m_player1;
    std::function<bool()> m_mileDisplay;
    std::function<bool(const QUrl&)> m_openUrl;
    ClipMarks m_marks;
    // Lengths the player has learnt, to find where a later recording lies in a span.
    QHash<QString, double> m_lengths;
    QPointer<VXLClipExportDialog> m_dialog;
    VXLClipExporter* m_exporter = nullptr;
    // The export's span, for the dialog while it runs.
    ClipMarks m_exportMarks;
    VXLClipExportDialog::Settings m_lastSettings;
    bool m_haveLastSettings = false;
};
