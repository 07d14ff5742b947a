#include "GWAlert.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString& alertStyleSheet()
{
    static const QString sheet = [] {
        QFile file(QStringLiteral(":/styles/alert.qss"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return sheet;
}

std::function<void(QMessageBox*)>& alertHook()
{
    static std::function<void(QMessageBox*)> hook;
    return hook;
}

} // namespace

void showAlertSheet(QWidget* window, const QString& message, const QString& informativeText,
                    std::function<void()> didEnd)
{
    auto* box = new QMessageBox(QMessageBox::Warning, message, message, QMessageBox::Ok, window);
    box->setInformativeText(informativeText);
    // The box's own sheet wins over the window's: a window's label colour, meant for its dark
    // boxes, must not reach the alert's light one.
    box->setStyleSheet(alertStyleSheet());
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [didEnd = std::move(didEnd)](int) {
        if (didEnd) {
            didEnd();
        }
    });
    box->open();
    if (alertHook()) {
        alertHook()(box);
    }
}

void showConfirmSheet(QWidget* window, const QString& message, const QString& informativeText,
                      const QString& confirmTitle, const QString& cancelTitle,
                      std::function<void(bool confirmed)> didEnd)
{
    auto* box = new QMessageBox(QMessageBox::Warning, message, message,
                                QMessageBox::Ok | QMessageBox::Cancel, window);
    box->setInformativeText(informativeText);
    box->button(QMessageBox::Ok)->setText(confirmTitle);
    box->button(QMessageBox::Cancel)->setText(cancelTitle);
    // Erasing is never the default: Return and Escape both keep everything as it is.
    box->setDefaultButton(QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [box, didEnd = std::move(didEnd)](int) {
        if (didEnd) {
            didEnd(box->clickedButton() == box->button(QMessageBox::Ok));
        }
    });
    box->open();
    if (alertHook()) {
        alertHook()(box);
    }
}

void setAlertHookForTesting(std::function<void(QMessageBox*)> hook)
{
    alertHook() = std::move(hook);
}

void showChoiceSheet(QWidget* window, const QString& message, const QString& informativeText,
                     const QStringList& buttonTitles, std::function<void(int chosen)> didEnd)
{
    auto* box =
        new QMessageBox(QMessageBox::Information, message, message, QMessageBox::NoButton, window);
    box->setInformativeText(informativeText);
    QList<QAbstractButton*> buttons;
    for (const QString& title : buttonTitles) {
        buttons << box->addButton(title, buttons.isEmpty() ? QMessageBox::AcceptRole
                                                           : QMessageBox::ActionRole);
    }
    if (!buttons.isEmpty()) {
        box->setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
        box->setEscapeButton(buttons.last());
    }
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, buttons, didEnd = std::move(didEnd)](int) {
                         if (didEnd) {
                             didEnd(int(buttons.indexOf(box->clickedButton())));
                         }
                     });
    box->open();
    if (alertHook()) {
        alertHook()(box);
    }
}
