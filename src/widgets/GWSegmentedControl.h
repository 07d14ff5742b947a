#pragma once

#include <QStringList>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QHBoxLayout;

// A row of joined buttons of which at most one is selected, like a tab strip for choices.
// Segments are numbered from 0; -1 means no segment is selected. segmentClicked() comes only
// from the user's hand, never from setSelectedSegment().
class GWSegmentedControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int selectedSegment READ selectedSegment WRITE setSelectedSegment NOTIFY
                   selectedSegmentChanged)

public:
    explicit GWSegmentedControl(QWidget* parent = nullptr);

    void setSegmentCount(int count);
    int segmentCount() const;
    void setLabel(const QString& label, int segment);
    QString label(int segment) const;
    // As many segments as labels, labelled in order.
    void setLabels(const QStringList& labels);

    int selectedSegment() const;
    void setSelectedSegment(int segment);

    void setSegmentEnabled(bool enabled, int segment);
    bool isSegmentEnabled(int segment) const;

    // The button of a segment, for tests that click it; null outside the range.
    QAbstractButton* segmentButton(int segment) const;

Q_SIGNALS:
    void segmentClicked(int segment);
    void selectedSegmentChanged(int segment);

private:
    void updateSegmentPositions();

    QHBoxLayout* m_layout;
    QButtonGroup* m_group;
    int m_selected = -1;
};
