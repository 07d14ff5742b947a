#include "VXLSettingPage.h"

#include "SettingTexts.h"
#include "VXLSettingController.h"

#include "widgets/LocalizedString.h"

VXLSettingPage::VXLSettingPage(QWidget* parent) : QWidget(parent) {}

void VXLSettingPage::setFileData(_FILEDATA* fileData)
{
    m_fileData = fileData;
    if (m_fileData)
        displayFileData();
}

bool VXLSettingPage::populate()
{
    if (!m_fileData || !validateUserInput().isEmpty())
        return false;
    return storeFileData();
}

void VXLSettingPage::setMainController(VXLSettingController* controller)
{
    m_mainController = controller;
}

VXLSettingController* VXLSettingPage::mainController() const
{
    return qobject_cast<VXLSettingController*>(m_mainController.data());
}

void VXLSettingPage::setUpPage(SettingPage page, std::span<const VXLSettingBinder::Outlet> outlets)
{
    localizeWidgetTree(this);
    m_binder.bindPage(this, page, outlets);
}

void VXLSettingPage::displayFileData()
{
    m_binder.display(*m_fileData);
}

bool VXLSettingPage::storeFileData()
{
    m_binder.store(m_fileData);
    return true;
}
