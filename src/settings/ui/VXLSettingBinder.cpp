#include "VXLSettingBinder.h"

#include "SettingTexts.h"

#include "settings/FileDataFields.h"
#include "widgets/GWSegmentedControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QSpinBox>

#include <algorithm>

namespace {

Q_LOGGING_CATEGORY(lcBinder, "vexlo.settings.ui", QtWarningMsg)

bool isBindable(const QWidget* control)
{
    return qobject_cast<const GWSegmentedControl*>(control) ||
           qobject_cast<const QComboBox*>(control) || qobject_cast<const QCheckBox*>(control) ||
           qobject_cast<const QLineEdit*>(control) || qobject_cast<const QSpinBox*>(control);
}

int selectedIndex(const QWidget* control)
{
    if (const auto* segments = qobject_cast<const GWSegmentedControl*>(control))
        return segments->selectedSegment();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentIndex();
    return -1;
}

} // namespace

void VXLSettingBinder::bindPage(QWidget* page, SettingPage edited, std::span<const Outlet> outlets)
{
    for (const SettingFieldInfo& info : settingFieldInfos()) {
        if (!info.pages.testFlag(edited))
            continue;
        if (auto* control = page->findChild<QWidget*>(QLatin1StringView(info.field)))
            add(control, info, info.choices, info.fallbackIndex);
    }
    for (const Outlet& outlet : outlets) {
        auto* control = page->findChild<QWidget*>(QLatin1StringView(outlet.outlet));
        const SettingFieldInfo* info = findSettingFieldInfo(outlet.field);
        if (!control || !info) {
            qCWarning(lcBinder, "no control %s or no field %s to bind", outlet.outlet,
                      outlet.field);
            continue;
        }
        add(control, *info, info->choices, info->fallbackIndex);
    }
}

void VXLSettingBinder::bind(QWidget* control, const char* field,
                            std::span<const SettingChoice> choices, int fallbackIndex)
{
    const SettingFieldInfo* info = findSettingFieldInfo(field);
    if (!control || !info) {
        qCWarning(lcBinder, "no control or no field %s to bind", field);
        return;
    }
    add(control, *info, choices, fallbackIndex);
}

bool VXLSettingBinder::add(QWidget* control, const SettingFieldInfo& info,
                           std::span<const SettingChoice> choices, int fallbackIndex)
{
    const FileDataField* field = findFileDataField(info.field);
    if (!field || !isBindable(control)) {
        qCWarning(lcBinder, "%s cannot be bound to %s", qUtf8Printable(control->objectName()),
                  info.field);
        return false;
    }
    Binding binding{control, field, &info, choices, fallbackIndex, {}};
    fillChoices(binding);
    const auto same = std::find_if(m_bindings.begin(), m_bindings.end(),
                                   [control](const Binding& b) { return b.control == control; });
    if (same != m_bindings.end())
        *same = binding;
    else
        m_bindings.push_back(binding);
    return true;
}

void VXLSettingBinder::fillChoices(const Binding& binding)
{
    if (auto* spin = qobject_cast<QSpinBox*>(binding.control)) {
        spin->setRange(int(binding.info->minimum), int(binding.info->maximum));
        return;
    }
    if (binding.choices.empty())
        return;
    const QStringList texts = settingChoiceTexts(binding.choices);
    if (auto* segments = qobject_cast<GWSegmentedControl*>(binding.control)) {
        const int selected = segments->selectedSegment();
        segments->setLabels(texts);
        segments->setSelectedSegment(selected);
    } else if (auto* combo = qobject_cast<QComboBox*>(binding.control)) {
        const int selected = combo->currentIndex();
        combo->clear();
        combo->addItems(texts);
        combo->setCurrentIndex(selected < combo->count() ? selected : -1);
    }
}

void VXLSettingBinder::display(const _FILEDATA& record)
{
    for (Binding& binding : m_bindings) {
        if (binding.control)
            displayOne(binding, record);
    }
}

void VXLSettingBinder::store(_FILEDATA* record) const
{
    for (const Binding& binding : m_bindings) {
        if (binding.control)
            storeOne(binding, record);
    }
}

QStringList VXLSettingBinder::boundFields() const
{
    QStringList fields;
    for (const Binding& binding : m_bindings)
        fields.append(QString::fromLatin1(binding.info->field));
    return fields;
}

void VXLSettingBinder::displayOne(Binding& binding, const _FILEDATA& record)
{
    QWidget* control = binding.control;
    const FileDataField& field = *binding.field;
    if (field.type == FileDataFieldType::Text) {
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            binding.shownText = QString::fromUtf8(fileDataText(record, field));
            edit->setText(binding.shownText);
        }
        return;
    }
    const qint64 value = fileDataNumber(record, field);
    const int index = settingChoiceIndex(binding.choices, value, binding.fallbackIndex);
    if (auto* segments = qobject_cast<GWSegmentedControl*>(control)) {
        segments->setSelectedSegment(index);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setCurrentIndex(index);
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        const bool twoChoices = binding.choices.size() == 2;
        check->setChecked(twoChoices ? value == binding.choices[1].value : value != 0);
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(int(value));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        binding.shownText = QString::number(value);
        edit->setText(binding.shownText);
    }
}

void VXLSettingBinder::storeOne(const Binding& binding, _FILEDATA* record)
{
    const QWidget* control = binding.control;
    const FileDataField& field = *binding.field;
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        if (edit->text() == binding.shownText)
            return;
        if (field.type == FileDataFieldType::Text) {
            setFileDataText(record, field, edit->text().toUtf8());
        } else {
            bool ok = false;
            const qint64 number = edit->text().trimmed().toLongLong(&ok);
            if (ok)
                setFileDataNumber(record, field, number);
        }
        return;
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
        if (binding.choices.size() == 2)
            setFileDataNumber(record, field, binding.choices[check->isChecked() ? 1 : 0].value);
        else
            setFileDataNumber(record, field, check->isChecked() ? 1 : 0);
        return;
    }
    if (const auto* spin = qobject_cast<const QSpinBox*>(control)) {
        setFileDataNumber(record, field, spin->value());
        return;
    }
    const int index = selectedIndex(control);
    if (index >= 0 && index < int(binding.choices.size()))
        setFileDataNumber(record, field, binding.choices[std::size_t(index)].value);
}
