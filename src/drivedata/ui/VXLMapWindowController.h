#pragma once

#include <QRect>
#include <QWidget>

class VXLMapView;

// The separate map window the drive-record viewers open beside themselves to show the
// position of a record. The viewer that creates it keeps it and reuses it.
class VXLMapWindowController : public QWidget
{
    Q_OBJECT

public:
    explicit VXLMapWindowController(QWidget* parent = nullptr);

    VXLMapView* mapWebView() const { return m_mapWebView; }

    // Puts this window right of the caller's frame (screen coordinates, Qt's y downwards),
    // top edges level, keeping its own size.
    void moveWindowRightBy(const QRect& callerFrame);
    static QPoint topLeftRightOf(const QRect& callerFrame);

    // Decimal degrees, negative for south and west.
    void updateMapLat(double lat, double lng);

private:
    void windowDidLoad();

    VXLMapView* m_mapWebView = nullptr;
};
