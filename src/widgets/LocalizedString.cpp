#include "LocalizedString.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>

namespace {

QHash<QString, QString> loadTable()
{
    QHash<QString, QString> table;
    QFile file(QStringLiteral(":/strings/InfoPlist.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        return table;
    }
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        table.insert(it.key(), it.value().toString());
    }
    return table;
}

} // namespace

QString localizedString(const QString& key)
{
    // Loaded once, on first use; the interface only asks from the GUI thread, and a
    // function-local static is initialised thread-safely anyway.
    static const QHash<QString, QString> table = loadTable();
    return table.value(key);
}

namespace {

// Designer files hold string-table keys where a text goes; a text that is not a key (a
// unit, a number) stays as it is.
QString localizedOr(const QString& text)
{
    const QString localized = text.isEmpty() ? QString() : localizedString(text);
    return localized.isEmpty() ? text : localized;
}

template <typename Get, typename Set> void localizeText(Get get, Set set)
{
    const QString text = get();
    const QString localized = localizedOr(text);
    if (localized != text) {
        set(localized);
    }
}

void localizeWidget(QWidget* widget)
{
    localizeText([&] { return widget->windowTitle(); },
                 [&](const QString& t) { widget->setWindowTitle(t); });
    localizeText([&] { return widget->toolTip(); },
                 [&](const QString& t) { widget->setToolTip(t); });
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        localizeText([&] { return label->text(); }, [&](const QString& t) { label->setText(t); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        localizeText([&] { return button->text(); }, [&](const QString& t) { button->setText(t); });
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        localizeText([&] { return group->title(); }, [&](const QString& t) { group->setTitle(t); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        localizeText([&] { return edit->placeholderText(); },
                     [&](const QString& t) { edit->setPlaceholderText(t); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < combo->count(); ++i) {
            localizeText([&] { return combo->itemText(i); },
                         [&](const QString& t) { combo->setItemText(i, t); });
        }
    } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i) {
            localizeText([&] { return tabs->tabText(i); },
                         [&](const QString& t) { tabs->setTabText(i, t); });
        }
    } else if (auto* menu = qobject_cast<QMenu*>(widget)) {
        localizeText([&] { return menu->title(); }, [&](const QString& t) { menu->setTitle(t); });
    }
}

void localizeAction(QAction* action)
{
    localizeText([&] { return action->text(); }, [&](const QString& t) { action->setText(t); });
    localizeText([&] { return action->toolTip(); },
                 [&](const QString& t) { action->setToolTip(t); });
}

} // namespace

void localizeWidgetTree(QObject* root)
{
    QList<QObject*> objects = root->findChildren<QObject*>();
    objects.prepend(root);
    for (QObject* object : std::as_const(objects)) {
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            localizeWidget(widget);
        } else if (auto* action = qobject_cast<QAction*>(object)) {
            localizeAction(action);
        }
    }
}
