#include "VXLMainWindow.h"

#include "VXLMainWindowLayout.h"
#include "VXLMediaListModel.h"
#include "library/VXLMedia.h"
#include "ui_VXLMainWindow.h"
#include "widgets/LocalizedString.h"

#include <QFile>
#include <QHeaderView>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

namespace {

QString mainStyleSheet()
{
    QFile file(QStringLiteral(":/styles/main.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

VXLMainWindow::VXLMainWindow(QWidget* parent)
    : CustomWindow(parent), m_ui(std::make_unique<Ui::VXLMainWindow>())
{
    m_ui->setupUi(this);
    localizeWidgetTree(this);
    setStyleSheet(mainStyleSheet());
    setMinimumSize(minWindowSize());
    m_ui->contentView->installEventFilter(this);

    // Boxes painted by the style sheet; a plain widget draws its background only with this.
    for (QWidget* box :
         {m_ui->backgroundBox, m_ui->mediaControlBox, m_ui->sideButtonBox,
          m_ui->mapContainerTopView, m_ui->mapContainerBottomView, m_ui->subVideoBox}) {
        box->setAttribute(Qt::WA_StyledBackground);
    }
    m_ui->headBox->setImageNames(QStringLiteral("head-background"),
                                 QStringLiteral("head-background"),
                                 QStringLiteral("head-background"), 0);
    m_ui->mediaControlBoxForFullScreen->setImageNames(QStringLiteral("bottom-background"),
                                                      QStringLiteral("bottom-background"),
                                                      QStringLiteral("bottom-background"));
    m_ui->appLogo->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_ui->speedTextButton->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_ui->sizeTextButton->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Its text changes; the strip must not squeeze the longer one.
    m_ui->audioToggleButton->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);

    // Keys a Designer file cannot give: platform standard keys and several keys per action.
    m_ui->actionOpenDirectory->setShortcut(QKeySequence::Open);
    m_ui->actionCloseWindow->setShortcut(QKeySequence::Close);
    m_ui->actionQuit->setShortcut(QKeySequence::Quit);
    m_ui->actionQuit->setMenuRole(QAction::QuitRole);
    // Escape leaves full screen through the window itself, so that outside full screen it
    // reaches the focused control as usual.
    m_ui->actionFullScreen->setShortcuts(
        {QKeySequence(Qt::Key_F), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    m_ui->actionSizeUp->setShortcuts(
        {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    m_ui->actionSizeDown->setShortcut(QKeySequence::ZoomOut);
    // The menu bar is hidden in full screen; the window keeps every key working.
    for (QMenu* menu : {m_ui->menuFile, m_ui->menuView, m_ui->menuPlayback, m_ui->menuCard}) {
        addActions(menu->actions());
    }
    connect(this, &CustomWindow::isFullScreenChanged, this, &VXLMainWindow::layoutWindow);
}

VXLMainWindow::~VXLMainWindow() = default;

void VXLMainWindow::setMediaListModel(QAbstractItemModel* model)
{
    QTableView* table = m_ui->mediaListTableView;
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setShowGrid(false);
    table->setWordWrap(false);
    // File names do not fit the narrow column: keep their camera letter and extension.
    table->setTextElideMode(Qt::ElideMiddle);
    table->setIconSize(QSize(30, 18));
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(24);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* header = table->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    const std::pair<int, int> fixedWidths[] = {{VXLMediaListModel::SaveModeColumn, 84},
                                               {VXLMediaListModel::DateColumn, 70},
                                               {VXLMediaListModel::TimeColumn, 56}};
    for (const auto& [column, width] : fixedWidths) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        header->resizeSection(column, width);
    }
    header->setSectionResizeMode(VXLMediaListModel::FileColumn, QHeaderView::Stretch);
}

bool VXLMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->contentView && event->type() == QEvent::Resize) {
        layoutWindow();
        Q_EMIT contentResized();
    }
    return CustomWindow::eventFilter(watched, event);
}

void VXLMainWindow::layoutWindow()
{
    Ui::VXLMainWindow& ui = *m_ui;
    const bool fullScreen = isFullScreen();
    const VXLMainWindowLayout l = VXLMainWindowLayout::compute(ui.contentView->size(), fullScreen);
    ui.backgroundBox->setGeometry(l.backgroundBox);
    ui.headBox->setVisible(!fullScreen);
    ui.headBox->setGeometry(l.headBox);
    ui.bodyBox->setGeometry(l.bodyBox);
    ui.bodyLeftBox->setGeometry(l.bodyLeftBox);
    ui.bodyRightBox->setVisible(!fullScreen);
    ui.bodyRightBox->setGeometry(l.bodyRightBox);
    ui.videoBox->setGeometry(l.videoBox);
    ui.gsensorBox->setVisible(!fullScreen);
    ui.gsensorBox->setGeometry(l.gsensorBox);
    ui.mediaControlBox->setVisible(!fullScreen);
    ui.mediaControlBox->setGeometry(l.mediaControlBox);
    ui.mediaControlBoxForFullScreen->setVisible(fullScreen);
    ui.mediaControlBoxForFullScreen->setGeometry(l.mediaControlBoxForFullScreen);
    ui.sideButtonBox->setGeometry(l.sideButtonBox);
    ui.mediaListBox->setGeometry(l.mediaListBox);
    ui.subVideoBox->setGeometry(l.subVideoBox);

    // The video views fill their boxes, inside the frame's one-pixel border.
    const QRect videoArea(QPoint(0, 0), l.videoBox.size());
    ui.player1BackgroundView->setGeometry(videoArea);
    ui.videoContainerView->setGeometry(videoArea.adjusted(1, 1, -1, -1));
    ui.video1View->setGeometry(QRect(QPoint(0, 0), ui.videoContainerView->size()));
    const QRect subArea(QPoint(0, 0), l.subVideoBox.size());
    ui.player2BackgroundView->setGeometry(subArea);
    ui.video2View->setGeometry(subArea.adjusted(1, 1, -1, -1));

    QWidget* indicator = ui.progressIndicator;
    if (!indicator->isHidden()) {
        indicator->move(l.headBox.x() + (l.headBox.width() - indicator->width()) / 2,
                        indicator->y());
    }
    layoutMapContainer(m_rightViewMode);
}

void VXLMainWindow::layoutMapContainer(int rightViewMode)
{
    m_rightViewMode = rightViewMode;
    if (isFullScreen()) {
        return;
    }
    const VXLMainWindowLayout l = VXLMainWindowLayout::compute(m_ui->contentView->size(), false);
    const QRect listArea(QPoint(0, 0), l.mediaListBox.size());
    if (rightViewMode == 1) {
        m_ui->mapContainerView->setGeometry(listArea);
        m_ui->mapContainerTopView->setGeometry(l.mapContainerTopView);
        m_ui->mapContainerBottomView->setGeometry(l.mapContainerBottomView);
    } else {
        m_ui->mediaListScrollView->setGeometry(listArea);
    }
}

void VXLMainWindow::updateSideViewButton(int rightViewMode)
{
    const bool list = rightViewMode == 0;
    m_ui->recordButtonImageView->setImageName(list ? QStringLiteral("record_p.png")
                                                   : QStringLiteral("record_n.png"));
    m_ui->informationButtonImageView->setImageName(list ? QStringLiteral("information_n.png")
                                                        : QStringLiteral("information_p.png"));
    m_ui->mapContainerView->setHidden(rightViewMode != 1);
    m_ui->mediaListScrollView->setHidden(rightViewMode != 0);
    layoutMapContainer(rightViewMode);
}

void VXLMainWindow::setPlayerCameras(int player1Direction, int player2Direction)
{
    m_ui->player1BackgroundView->setLogoImageName(player1Direction == VXLMediaDirectionRear
                                                      ? QStringLiteral("v1_rear_logo")
                                                      : QStringLiteral("v1_front_logo"));
    m_ui->player2BackgroundView->setLogoImageName(player2Direction == VXLMediaDirectionFront
                                                      ? QStringLiteral("v2_front_logo")
                                                      : QStringLiteral("v2_rear_logo"));
}

void VXLMainWindow::animateSwap()
{
    QWidget* video1 = m_ui->video1View;
    QWidget* video2 = m_ui->video2View;
    const QRect target1(QPoint(0, 0), m_ui->videoContainerView->size());
    const QRect target2 = QRect(QPoint(0, 0), m_ui->subVideoBox->size()).adjusted(1, 1, -1, -1);
    video1->setGeometry(QRect(target1.width(), 0, 0, 0));
    video2->setGeometry(QRect(0, target2.bottom() + 1, 0, 0));
    auto* group = new QParallelAnimationGroup(this);
    const std::pair<QWidget*, QRect> views[] = {{video1, target1}, {video2, target2}};
    for (const auto& [view, target] : views) {
        auto* grow = new QPropertyAnimation(view, "geometry", group);
        grow->setDuration(1500);
        grow->setEasingCurve(QEasingCurve::OutCubic);
        grow->setStartValue(view->geometry());
        grow->setEndValue(target);
        group->addAnimation(grow);
    }
    // A resize during the animation would leave the views at old sizes: lay out again.
    connect(group, &QAbstractAnimation::finished, this, &VXLMainWindow::layoutWindow);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void VXLMainWindow::startLoadingIndicator()
{
    VXLLoadingIndicator* indicator = m_ui->progressIndicator;
    indicator->startLoading();
    const QRect head = m_ui->headBox->geometry();
    indicator->move(head.x() + (head.width() - indicator->width()) / 2, indicator->y());
}
