#pragma once

#include "driverecords/ui/VXLDriveRecordViewer.h"
#include "widgets/GWAlert.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

// Answers the viewers' panels and alerts as a user would, and keeps what they showed.
class ViewerDriver
{
public:
    struct Alert
    {
        QString message;
        QString informative;
    };

    ViewerDriver()
    {
        VXLDriveRecordViewer::setTimeScaleForTesting(0.01);
        setAlertHookForTesting([this](QMessageBox* box) {
            alerts.append({box->text(), box->informativeText()});
            box->accept();
        });
        VXLDriveRecordViewer::setFileDialogHookForTesting([this](QFileDialog* dialog) {
            ++panels;
            if (answer.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(answer);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept checks the choice
        });
    }
    ~ViewerDriver()
    {
        setAlertHookForTesting({});
        VXLDriveRecordViewer::setFileDialogHookForTesting({});
        VXLDriveRecordViewer::setTimeScaleForTesting(1.0);
    }

    // Starts a read and waits for its end; answers whether it installed new records.
    static bool waitForLoad(VXLDriveRecordViewer& viewer, const std::function<void()>& start)
    {
        QSignalSpy loaded(&viewer, &VXLDriveRecordViewer::fileLoaded);
        start();
        if (!QTest::qWaitFor([&] { return !loaded.isEmpty(); }, 20000))
            return false;
        return loaded.first().first().toBool();
    }

    bool waitForAlerts(qsizetype count)
    {
        return QTest::qWaitFor([&] { return alerts.size() >= count; }, 20000);
    }

    // Saves a picture of the widget when VEXLO_SCREENSHOT_DIR names a folder (to look at).
    static void screenshot(QWidget& widget, const QString& name)
    {
        const QString dir = qEnvironmentVariable("VEXLO_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            widget.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }

    QString answer; // the file a panel chooses; empty: the panel is cancelled
    int panels = 0;
    QList<Alert> alerts;
};
