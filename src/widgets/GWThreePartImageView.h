#pragma once

#include <QString>
#include <QWidget>

// A bar drawn from three images: the left and right parts at their own width, the middle
// part stretched between them. Used for the full-screen control bar and the head strip.
class GWThreePartImageView : public QWidget
{
    Q_OBJECT

public:
    explicit GWThreePartImageView(QWidget* parent = nullptr);

    // One image for all three parts is cut into thirds of `endWidth` at each end.
    void setImageNames(const QString& left, const QString& middle, const QString& right,
                       int endWidth = 12);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_left;
    QString m_middle;
    QString m_right;
    int m_endWidth = 12;
};
