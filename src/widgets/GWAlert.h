#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QMessageBox;
class QWidget;

// Shows a warning with a message, an informative text and one "OK" button, window-modal
// on `window` (opened with open(): nothing waits for it). `didEnd` runs once it has been
// dismissed. With no window the box is application-modal.
void showAlertSheet(QWidget* window, const QString& message, const QString& informativeText,
                    std::function<void()> didEnd = {});

// Asks the user to confirm: a warning with a message, an informative text and two buttons,
// `confirmTitle` and the default `cancelTitle`, window-modal on `window`. `didEnd` gets true
// when the user chose `confirmTitle`. The test hook sees it as any alert; a test answers it by
// clicking box->button(QMessageBox::Ok) or QMessageBox::Cancel.
void showConfirmSheet(QWidget* window, const QString& message, const QString& informativeText,
                      const QString& confirmTitle, const QString& cancelTitle,
                      std::function<void(bool confirmed)> didEnd);

// Tests: called with every alert just after it opened, so the test can read it and answer
// it (box->accept()). Pass an empty function to remove the hook.
void setAlertHookForTesting(std::function<void(QMessageBox*)> hook);

// Tells the user something went well and offers what to do next: an information box with a
// message, an informative text and one button per title, the first the default, window-modal
// on `window`. `didEnd` gets the index of the button chosen (-1 when the box was closed
// otherwise). The test hook sees it as any alert.
void showChoiceSheet(QWidget* window, const QString& message, const QString& informativeText,
                     const QStringList& buttonTitles, std::function<void(int chosen)> didEnd);
