#pragma once

#include "widgets/GWAlert.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

// Catches every alert and confirmation the windows open, for the test to read and answer.
class AlertRecorder
{
public:
    AlertRecorder()
    {
        setAlertHookForTesting([this](QMessageBox* box) { m_boxes.append(box); });
    }
    ~AlertRecorder()
    {
        setAlertHookForTesting({});
        for (const QPointer<QMessageBox>& box : std::as_const(m_boxes)) {
            if (box)
                box->done(0);
        }
    }

    qsizetype count() const { return m_boxes.size(); }
    QMessageBox* last() const { return m_boxes.isEmpty() ? nullptr : m_boxes.last().data(); }
    QString lastMessage() const { return last() ? last()->text() : QString(); }
    QString lastText() const { return last() ? last()->informativeText() : QString(); }

    // Presses a button of the last box: Ok for an alert or to confirm, Cancel to refuse.
    void answer(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        ASSERT_NE(last(), nullptr);
        QAbstractButton* pressed = last()->button(button);
        ASSERT_NE(pressed, nullptr);
        pressed->click();
    }

private:
    QList<QPointer<QMessageBox>> m_boxes;
};
