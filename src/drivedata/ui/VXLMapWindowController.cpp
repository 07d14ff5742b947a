#include "VXLMapWindowController.h"

#include "VXLMapView.h"

#include <QDebug>
#include <QLoggingCategory>
#include <QVBoxLayout>

// The window's frame when it opens, for diagnostics: "vexlo.map.info=true".
Q_LOGGING_CATEGORY(lcMapWindow, "vexlo.map", QtWarningMsg)

VXLMapWindowController::VXLMapWindowController(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("VXLMapWindowController"));
    setWindowTitle(tr("Map"));
    resize(640, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_mapWebView = new VXLMapView(this);
    m_mapWebView->setObjectName(QStringLiteral("mapWebView"));
    layout->addWidget(m_mapWebView);
    windowDidLoad();
}

void VXLMapWindowController::windowDidLoad()
{
    QString frame;
    QDebug(&frame) << frameGeometry();
    qCInfo(lcMapWindow, "%s", qPrintable(frame));
}

QPoint VXLMapWindowController::topLeftRightOf(const QRect& callerFrame)
{
    return {callerFrame.x() + callerFrame.width(), callerFrame.y()};
}

void VXLMapWindowController::moveWindowRightBy(const QRect& callerFrame)
{
    move(topLeftRightOf(callerFrame));
}

void VXLMapWindowController::updateMapLat(double lat, double lng)
{
    m_mapWebView->setLatLag(lat, lng);
}
