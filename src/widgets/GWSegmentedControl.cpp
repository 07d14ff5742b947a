#include "GWSegmentedControl.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

GWSegmentedControl::GWSegmentedControl(QWidget* parent)
    : QWidget(parent), m_layout(new QHBoxLayout(this)), m_group(new QButtonGroup(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int segment) {
        const bool changed = segment != m_selected;
        m_selected = segment;
        if (changed)
            Q_EMIT selectedSegmentChanged(segment);
        Q_EMIT segmentClicked(segment);
    });
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

void GWSegmentedControl::setSegmentCount(int count)
{
    count = std::max(count, 0);
    while (segmentCount() > count) {
        QAbstractButton* button = m_group->button(segmentCount() - 1);
        m_group->removeButton(button);
        delete button;
    }
    while (segmentCount() < count) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("segment%1").arg(segmentCount()));
        button->setCheckable(true);
        button->setFocusPolicy(Qt::TabFocus);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        m_group->addButton(button, segmentCount());
        m_layout->addWidget(button);
    }
    if (m_selected >= count)
        setSelectedSegment(-1);
    updateSegmentPositions();
}

int GWSegmentedControl::segmentCount() const
{
    return int(m_group->buttons().size());
}

void GWSegmentedControl::setLabel(const QString& label, int segment)
{
    if (QAbstractButton* button = segmentButton(segment))
        button->setText(label);
}

QString GWSegmentedControl::label(int segment) const
{
    const QAbstractButton* button = segmentButton(segment);
    return button ? button->text() : QString();
}

void GWSegmentedControl::setLabels(const QStringList& labels)
{
    setSegmentCount(int(labels.size()));
    for (int i = 0; i < int(labels.size()); ++i)
        setLabel(labels[i], i);
}

int GWSegmentedControl::selectedSegment() const
{
    return m_selected;
}

void GWSegmentedControl::setSelectedSegment(int segment)
{
    if (segment < 0 || segment >= segmentCount())
        segment = -1;
    if (segment < 0) {
        // An exclusive group keeps one button checked: lift it for the moment.
        m_group->setExclusive(false);
        for (QAbstractButton* button : m_group->buttons())
            button->setChecked(false);
        m_group->setExclusive(true);
    } else {
        m_group->button(segment)->setChecked(true);
    }
    if (segment != m_selected) {
        m_selected = segment;
        Q_EMIT selectedSegmentChanged(segment);
    }
}

void GWSegmentedControl::setSegmentEnabled(bool enabled, int segment)
{
    if (QAbstractButton* button = segmentButton(segment))
        button->setEnabled(enabled);
}

bool GWSegmentedControl::isSegmentEnabled(int segment) const
{
    const QAbstractButton* button = segmentButton(segment);
    return button && button->isEnabled();
}

QAbstractButton* GWSegmentedControl::segmentButton(int segment) const
{
    return m_group->button(segment);
}

void GWSegmentedControl::updateSegmentPositions()
{
    // The style sheet rounds only the outer corners of the row.
    const int count = segmentCount();
    for (int i = 0; i < count; ++i) {
        const char* position = count == 1       ? "only"
                               : i == 0         ? "first"
                               : i == count - 1 ? "last"
                                                : "middle";
        QAbstractButton* button = m_group->button(i);
        button->setProperty("segmentPosition", QString::fromLatin1(position));
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}
