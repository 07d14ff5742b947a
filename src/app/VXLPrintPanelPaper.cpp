#include "VXLPrintPanelPaper.h"

#include <QChildEvent>
#include <QComboBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>

VXLPrintPanelPaper::VXLPrintPanelPaper(QPrintDialog* panel, const QPageLayout& kept)
    : QObject(panel), m_panel(panel), m_kept(kept)
{
    panel->installEventFilter(this);
    // The printer's properties dialog is made later, when a printer is chosen.
    for (QWidget* child : panel->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

void VXLPrintPanelPaper::panelAccepted()
{
    if (!m_pageSettingsShown && m_panel && m_kept.isValid()) {
        // Refused (false) when the chosen printer has no such paper: its own stays.
        m_panel->printer()->setPageLayout(m_kept);
    }
}

bool VXLPrintPanelPaper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ChildAdded) {
        // Still under construction here: only a widget is known, its class only once shown.
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) {
            child->installEventFilter(this);
        }
    } else if (event->type() == QEvent::Show && watched != m_panel && !m_pageSettingsShown) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))) {
            m_pageSettingsShown = true;
            showKeptPaper(dialog);
        }
    }
    return QObject::eventFilter(watched, event);
}

void VXLPrintPanelPaper::showKeptPaper(QWidget* pageSettings)
{
    // The names are those of Qt's own page setup form; a Qt without them shows its own paper.
    auto* sizes = pageSettings->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
    if (!sizes || !m_kept.isValid()) {
        return;
    }
    int index = -1;
    for (int i = 0; i < sizes->count() && index < 0; ++i) {
        // A printer's own sizes come as page sizes, the full list as size ids.
        const QVariant data = sizes->itemData(i);
        const QPageSize size = data.metaType() == QMetaType::fromType<QPageSize>()
                                   ? data.value<QPageSize>()
                                   : QPageSize(QPageSize::PageSizeId(data.toInt()));
        if (size.isValid() && size.isEquivalentTo(m_kept.pageSize())) {
            index = i;
        }
    }
    if (index < 0) {
        return;
    }
    sizes->setCurrentIndex(index);
    auto* orientation = pageSettings->findChild<QRadioButton*>(
        m_kept.orientation() == QPageLayout::Landscape ? QStringLiteral("landscape")
                                                       : QStringLiteral("portrait"));
    if (orientation && !orientation->isChecked()) {
        orientation->click();
    }
}
