#pragma once

#include <QString>
#include <QWidget>

// The framed background behind a video: a nine-part image stretched over the whole view
// (corners kept, edges and centre stretched) with a camera logo centred on it. The video
// view lies on top and hides the logo while it shows a picture.
class GWVideoBackgroundImageView : public QWidget
{
    Q_OBJECT

public:
    explicit GWVideoBackgroundImageView(QWidget* parent = nullptr);

    // A nine-part image whose corners are `corner` pixels square.
    void setBackgroundImageName(const QString& name, int corner = 12);
    void setLogoImageName(const QString& name);
    const QString& backgroundImageName() const { return m_backgroundImageName; }
    const QString& logoImageName() const { return m_logoImageName; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_backgroundImageName;
    QString m_logoImageName;
    int m_corner = 12;
};
