#pragma once

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

// Shows a warning with a message, an informative text and one "OK" button, window-modal
// on `window` (opened with open(): nothing waits for it). `didEnd` runs once it has been
// dismissed. With no window the box is application-modal.
void showAlertSheet(QWidget* window, const QString& message, const QString& informativeText,
                    std::function<void()> didEnd = {});

// Tests: called with every alert just after it opened, so the test can read it and answer
// it (box->accept()). Pass an empty function to remove the hook.
void setAlertHookForTesting(std::function<void(QMessageBox*)> hook);
