#pragma once

#include <QObject>
#include <QPageLayout>
#include <QPointer>

class QPrintDialog;

// Carries the paper and orientation of the last confirmed print panel into the next one.
//
// Qt's print panel sets up its page settings from the printer's own defaults (its PPD) every
// time it opens, not from the print settings it is given, and puts them into those settings
// on OK even when the user never opened the printer's properties. So a second print would
// silently go back to the printer's default paper. This puts the kept paper into the panel's
// page settings when the user opens them, and back into the print settings when the panel is
// confirmed without them having been shown.
class VXLPrintPanelPaper : public QObject
{
    Q_OBJECT

public:
    // Watches `panel` (and goes with it) before it opens.
    VXLPrintPanelPaper(QPrintDialog* panel, const QPageLayout& kept);

    // Call once the panel was confirmed, before its print settings are read.
    void panelAccepted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showKeptPaper(QWidget* pageSettings);

    QPointer<QPrintDialog> m_panel;
    QPageLayout m_kept;
    bool m_pageSettingsShown = false;
};
