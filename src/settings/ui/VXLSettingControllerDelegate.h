#pragma once

#include "settings/FileData.h"

#include <QString>

class VXLSettingController;

// What the settings window asks of every page it shows. The window owns the one record and
// hands the page a pointer to it; the page writes into it directly.
class VXLSettingControllerDelegate
{
public:
    virtual ~VXLSettingControllerDelegate() = default;

    // Keeps the record and shows it in the controls; called again whenever the record was
    // replaced (a card's file read, a reset to factory values).
    virtual void setFileData(_FILEDATA* fileData) = 0;
    // Stores the controls into the record; false when there is no record or the input is not
    // valid (the page may have shown its own warning).
    virtual bool populate() = 0;
    // The message for input that is not valid, or an empty text.
    virtual QString validateUserInput() = 0;
    virtual void setMainController(VXLSettingController* controller) = 0;
    // Called before the page is taken out of the window.
    virtual void onHide() {}
};
