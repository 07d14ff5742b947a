#include "GWAlert.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

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

void setAlertHookForTesting(std::function<void(QMessageBox*)> hook)
{
    alertHook() = std::move(hook);
}
