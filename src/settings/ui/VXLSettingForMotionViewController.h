#pragma once

#include "VXLSettingPage.h"

#include <QList>

#include <memory>

class QCheckBox;
namespace Ui {
class VXLSettingForMotionViewController;
}

// Tab 4: parking recording mode, night vision, motion sensitivity of each camera and the twelve
// picture blocks of each camera that take part in motion detection.
class VXLSettingForMotionViewController : public VXLSettingPage
{
    Q_OBJECT

public:
    explicit VXLSettingForMotionViewController(QWidget* parent = nullptr);
    ~VXLSettingForMotionViewController() override;

    // The boxes of blocks 1 to 12 of the front or rear camera.
    QList<QCheckBox*> frontMotionBlocks() const { return m_frontBlocks; }
    QList<QCheckBox*> rearMotionBlocks() const { return m_rearBlocks; }

    // The blocks of a camera take input only while its detection is in use.
    void updateFrontMotionBlock();
    void updateRearMotionBlock();

protected:
    void displayFileData() override;
    bool storeFileData() override;

private:
    std::unique_ptr<Ui::VXLSettingForMotionViewController> m_ui;
    QList<QCheckBox*> m_frontBlocks;
    QList<QCheckBox*> m_rearBlocks;
};
