#pragma once

#include "support/QtPrinters.h"

#include "settings/FileData.h"
#include "settings/FileDataFields.h"
#include "widgets/GWAlert.h"
#include "widgets/GWSegmentedControl.h"
#include "widgets/LocalizedString.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>

// A factory record as a fresh window holds it (kept fields zero).
inline _FILEDATA factoryRecord()
{
    _FILEDATA record{};
    initDefaultFileData(&record);
    return record;
}

// The fields whose bytes differ between two records, by name: a test states which fields a
// page may write, and any other write shows up.
inline QStringList changedFields(const _FILEDATA& before, const _FILEDATA& after)
{
    const QByteArray a = fileDataToBytes(before);
    const QByteArray b = fileDataToBytes(after);
    QStringList names;
    for (const FileDataField& field : fileDataFields()) {
        const auto offset = qsizetype(field.offset);
        const auto size = qsizetype(field.size());
        if (a.mid(offset, size) != b.mid(offset, size))
            names.append(QString::fromLatin1(field.name));
    }
    return names;
}

// Every alert shown while it lives, answered at once with OK.
class AlertRecorder
{
public:
    struct Alert
    {
        QString message;
        QString informativeText;
    };

    AlertRecorder()
    {
        setAlertHookForTesting([this](QMessageBox* box) {
            m_alerts.append({box->text(), box->informativeText()});
            if (m_answer)
                QMetaObject::invokeMethod(box, &QMessageBox::accept, Qt::QueuedConnection);
        });
    }
    ~AlertRecorder() { setAlertHookForTesting({}); }

    // Leaves alerts open (a test that reads the open box).
    void setAnswer(bool answer) { m_answer = answer; }
    const QList<Alert>& alerts() const { return m_alerts; }
    void clear() { m_alerts.clear(); }

private:
    QList<Alert> m_alerts;
    bool m_answer = true;
};

template <typename T> T* child(QWidget* root, const char* name)
{
    T* found = root->findChild<T*>(QLatin1StringView(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// A click by the user's hand on a segment.
inline void clickSegment(GWSegmentedControl* control, int segment)
{
    ASSERT_NE(control, nullptr);
    QAbstractButton* button = control->segmentButton(segment);
    ASSERT_NE(button, nullptr) << segment;
    QTest::mouseClick(button, Qt::LeftButton);
}

inline QStringList segmentLabels(const GWSegmentedControl* control)
{
    QStringList labels;
    for (int i = 0; i < control->segmentCount(); ++i)
        labels.append(control->label(i));
    return labels;
}
