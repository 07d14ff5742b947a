#pragma once

#include "settings/FileData.h"
#include "settings/SettingValueTable.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <span>
#include <vector>

struct FileDataField;

// Binds a page's plain controls to the fields of the settings record through the value table:
// a control named after a field the page edits, or an outlet mapped to a field, is filled from
// the record and stored back without code of its own. Handled: GWSegmentedControl and
// QComboBox (the field's choices as segments or items), QCheckBox (a flag, or the second of
// two choices), QLineEdit (text, or a number) and QSpinBox (a number within the limits).
//
// A stored value that is not among the choices shows the field's fallback choice, which is
// then stored; with no fallback nothing is selected and the stored value is kept. A text is
// stored only when it was changed, so bytes the field cannot show survive a save.
class VXLSettingBinder
{
public:
    struct Outlet
    {
        const char* outlet;
        const char* field;
    };

    // Binds every control below `page` whose name is a field `edited` marks, and each outlet
    // of `outlets`. A control's choices are put in at once.
    void bindPage(QWidget* page, SettingPage edited, std::span<const Outlet> outlets = {});
    // Binds (or binds again) one control to a field with a list of its own, for a list that
    // changes with the speed unit or the mains frequency.
    void bind(QWidget* control, const char* field, std::span<const SettingChoice> choices,
              int fallbackIndex);

    void display(const _FILEDATA& record);
    void store(_FILEDATA* record) const;

    // The fields bound, in binding order.
    QStringList boundFields() const;

private:
    struct Binding
    {
        QPointer<QWidget> control;
        const FileDataField* field = nullptr;
        const SettingFieldInfo* info = nullptr;
        std::span<const SettingChoice> choices;
        int fallbackIndex = -1;
        QString shownText;
    };

    bool add(QWidget* control, const SettingFieldInfo& info, std::span<const SettingChoice> choices,
             int fallbackIndex);
    static void fillChoices(const Binding& binding);
    static void displayOne(Binding& binding, const _FILEDATA& record);
    static void storeOne(const Binding& binding, _FILEDATA* record);

    std::vector<Binding> m_bindings;
};
