#include "VXLSettingForMotionViewController.h"

#include "ui_VXLSettingForMotionViewController.h"

#include <array>

namespace {

constexpr std::array<VXLSettingBinder::Outlet, 4> kOutlets = {{
    {"frontSensitivitySeg", "motion720pCValue"},
    {"rearSensitivitySeg", "motion1080pCValue"},
    {"parkingModeSeg", "ParkingMode"},
    {"nightVisionSeg", "En_SuperNightVision"},
}};

constexpr int kBlocks = 12;

QList<QCheckBox*> blockBoxes(QWidget* page, const char* camera)
{
    QList<QCheckBox*> boxes;
    for (int block = 1; block <= kBlocks; ++block) {
        boxes.append(page->findChild<QCheckBox*>(QStringLiteral("%1MotionBlock%2Chk")
                                                     .arg(QLatin1StringView(camera))
                                                     .arg(block, 2, 10, QLatin1Char('0'))));
    }
    return boxes;
}

// A checked box takes part in detection: its block's bit is clear.
void showMask(const QList<QCheckBox*>& boxes, uint32_t mask)
{
    for (int block = 1; block <= int(boxes.size()); ++block)
        boxes[block - 1]->setChecked(!isMotionBlockOff(mask, block));
}

uint32_t maskOf(const QList<QCheckBox*>& boxes)
{
    uint32_t mask = 0;
    for (int block = 1; block <= int(boxes.size()); ++block)
        mask = setMotionBlockOff(mask, block, !boxes[block - 1]->isChecked());
    return mask;
}

void enableBlocks(const QList<QCheckBox*>& boxes, bool enabled)
{
    for (QCheckBox* box : boxes)
        box->setEnabled(enabled);
}

} // namespace

VXLSettingForMotionViewController::VXLSettingForMotionViewController(QWidget* parent)
    : VXLSettingPage(parent), m_ui(std::make_unique<Ui::VXLSettingForMotionViewController>())
{
    m_ui->setupUi(this);
    setUpPage(SettingPage::Motion, kOutlets);
    m_frontBlocks = blockBoxes(this, "front");
    m_rearBlocks = blockBoxes(this, "rear");
    connect(m_ui->frontSensitivitySeg, &GWSegmentedControl::segmentClicked, this,
            &VXLSettingForMotionViewController::updateFrontMotionBlock);
    connect(m_ui->rearSensitivitySeg, &GWSegmentedControl::segmentClicked, this,
            &VXLSettingForMotionViewController::updateRearMotionBlock);
}

VXLSettingForMotionViewController::~VXLSettingForMotionViewController() = default;

void VXLSettingForMotionViewController::displayFileData()
{
    VXLSettingPage::displayFileData();
    showMask(m_frontBlocks, fileData()->motionBlock);
    showMask(m_rearBlocks, fileData()->motionBlock_Rear);
    updateFrontMotionBlock();
    updateRearMotionBlock();
}

bool VXLSettingForMotionViewController::storeFileData()
{
    VXLSettingPage::storeFileData();
    // Built from zero: bits above the twelve blocks are cleared on every save.
    fileData()->motionBlock = maskOf(m_frontBlocks);
    fileData()->motionBlock_Rear = maskOf(m_rearBlocks);
    return true;
}

void VXLSettingForMotionViewController::updateFrontMotionBlock()
{
    enableBlocks(m_frontBlocks, m_ui->frontSensitivitySeg->selectedSegment() != 0);
}

void VXLSettingForMotionViewController::updateRearMotionBlock()
{
    enableBlocks(m_rearBlocks, m_ui->rearSensitivitySeg->selectedSegment() != 0);
}
