#pragma once

#include <QAbstractButton>
#include <QString>

// A flat button drawn from a named image. The rollover and pressed images are found by
// name: an image "NAME_n" has "NAME_o" under the pointer and "NAME_p" while pressed. An image
// set under another name ("record_p", a selected tab) is shown in every state. An optional
// title is drawn beside the image.
class GWImageButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(QString imageName READ imageName WRITE setImageName)

public:
    explicit GWImageButton(QWidget* parent = nullptr);

    const QString& imageName() const { return m_imageName; }
    void setImageName(const QString& name);
    // Drawing size of the image; its natural size when not set.
    void setImageSize(QSize size);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString currentImageName() const;

    QString m_imageName;
    QSize m_imageSize;
    bool m_hovered = false;
};
