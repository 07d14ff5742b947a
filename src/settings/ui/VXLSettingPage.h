#pragma once

#include "VXLSettingBinder.h"
#include "VXLSettingControllerDelegate.h"

#include <QPointer>
#include <QWidget>

// The common part of the settings pages: the record pointer, the controller, and the binder
// for the plain controls. A page sets up its interface, calls setUpPage with its outlets, and
// overrides displayFileData / storeFileData for its special controls (calling the base for the
// bound ones) and validateUserInput when it has checks.
class VXLSettingPage : public QWidget, public VXLSettingControllerDelegate
{
    Q_OBJECT

public:
    explicit VXLSettingPage(QWidget* parent = nullptr);

    void setFileData(_FILEDATA* fileData) override;
    // False without a record or with input validateUserInput refuses; else storeFileData().
    bool populate() override;
    QString validateUserInput() override { return {}; }
    void setMainController(VXLSettingController* controller) override;

    _FILEDATA* fileData() const { return m_fileData; }
    VXLSettingController* mainController() const;
    const VXLSettingBinder& binder() const { return m_binder; }

protected:
    // Puts the texts of the interface description's keys in and binds the plain controls.
    void setUpPage(SettingPage page, std::span<const VXLSettingBinder::Outlet> outlets = {});
    // Shows the record (there is one); the base shows the bound controls.
    virtual void displayFileData();
    // Stores the controls (there is a record and the input is valid); the base stores the
    // bound controls. False stops a save.
    virtual bool storeFileData();

    VXLSettingBinder& binder() { return m_binder; }

private:
    _FILEDATA* m_fileData = nullptr;
    QPointer<QObject> m_mainController;
    VXLSettingBinder m_binder;
};
