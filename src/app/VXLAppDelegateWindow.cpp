// Builds the main window's widget tree: the boxes, their controls and the menus. Box
// geometry is set by layoutWindow(); controls inside a box use Qt layouts.
#include "VXLAppDelegate.h"

#include "VXLMediaListModel.h"
#include "VXLScrollableVideoContainerView.h"
#include "app/playback/VXLPlaybackController.h"
#include "drivedata/ui/GraphView.h"
#include "drivedata/ui/VXLMapView.h"
#include "player/VLCVideoView.h"
#include "widgets/GWImageButton.h"
#include "widgets/GWSlider.h"
#include "widgets/GWThreePartImageView.h"
#include "widgets/GWVideoBackgroundImageView.h"
#include "widgets/LocalizedString.h"
#include "widgets/QPProgressIndicator.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const char* const kStyleSheet = R"(
#backgroundBox { background: #16191d; }
#subVideoBox { background: #000000; }
QLabel { color: #c9d1d9; }
QLabel[readoutTitle="true"] { color: #8b949e; font-size: 11px; }
QLabel[readout="true"] { color: #e6edf3; font-family: "DejaVu Sans Mono"; font-size: 13px; }
#mediaControlBox, #gsensorPanel, #mapContainerBottomView {
    background: #1e2328; border: 1px solid #2d333b; border-radius: 6px; }
#sideButtonBox { background: #1e2328; border-top-left-radius: 6px; border-top-right-radius: 6px; }
#mapContainerTopView { background: #0d1014; }
QTableView { background: #111418; alternate-background-color: #161a1f; color: #c9d1d9;
    border: none; gridline-color: transparent; selection-background-color: #1f5f8f;
    selection-color: #ffffff; }
QHeaderView::section { background: #22272e; color: #8b949e; border: none;
    border-right: 1px solid #2d333b; padding: 3px; font-size: 11px; }
QPushButton[textButton="true"] { color: #c9d1d9; background: #2a3038; border: 1px solid #3a424b;
    border-radius: 4px; padding: 3px 8px; min-width: 44px; }
QPushButton[textButton="true"]:checked { background: #f08c2e; color: #16191d; }
QPushButton[textButton="true"]:hover { border-color: #2f9be0; }
#speedTextButton, #sizeTextButton { min-width: 36px; padding: 3px 4px; }
QPushButton[stepButton="true"] { color: #c9d1d9; background: transparent; border: 1px solid #3a424b;
    border-radius: 4px; padding: 0px; min-width: 20px; max-width: 20px; min-height: 20px;
    max-height: 20px; font-weight: bold; }
QPushButton[stepButton="true"]:hover { border-color: #2f9be0; color: #ffffff; }
QPushButton[stepButton="true"]:pressed { background: #2f9be0; }
)";

template <typename Widget> Widget* makeBox(QWidget* parent, const char* name)
{
    auto* box = new Widget(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel* makeReadout(QWidget* parent, const char* name)
{
    auto* label = makeBox<QLabel>(parent, name);
    label->setProperty("readout", true);
    label->setMinimumWidth(84);
    return label;
}

QLabel* makeReadoutTitle(QWidget* parent, const char* key)
{
    auto* label = new QLabel(localizedString(QString::fromLatin1(key)), parent);
    label->setProperty("readoutTitle", true);
    return label;
}

QPushButton* makeTextButton(QWidget* parent, const char* name, const QString& title)
{
    auto* button = makeBox<QPushButton>(parent, name);
    button->setText(title);
    button->setProperty("textButton", true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A small "-" or "+" beside a readout.
QPushButton* makeStepButton(QWidget* parent, const char* name, const QString& title,
                            const char* toolTipKey)
{
    auto* button = makeBox<QPushButton>(parent, name);
    button->setText(title);
    button->setProperty("stepButton", true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(localizedString(QString::fromLatin1(toolTipKey)));
    return button;
}

GWImageButton* makeImageButton(QWidget* parent, const char* name, const char* image,
                               const char* toolTipKey)
{
    auto* button = makeBox<GWImageButton>(parent, name);
    button->setImageName(QString::fromLatin1(image));
    button->setToolTip(localizedString(QString::fromLatin1(toolTipKey)));
    return button;
}

// "-" readout "+" with little space between them.
QHBoxLayout* stepGroup(QPushButton* down, QWidget* readout, QPushButton* up)
{
    auto* group = new QHBoxLayout;
    group->setSpacing(2);
    group->addWidget(down);
    group->addWidget(readout);
    group->addWidget(up);
    return group;
}

} // namespace

void VXLAppDelegate::buildWindow()
{
    m_window = new CustomWindow;
    m_window->setObjectName(QStringLiteral("window"));
    m_window->setWindowTitle(localizedString(QStringLiteral("app.name")));
    m_window->setStyleSheet(QString::fromLatin1(kStyleSheet));
    m_window->setMinimumSize(minWindowSize());
    m_contentView = makeBox<QWidget>(m_window, "contentView");
    m_window->setCentralWidget(m_contentView);
    m_contentView->installEventFilter(this);

    m_backgroundBox = makeBox<QWidget>(m_contentView, "backgroundBox");
    m_backgroundBox->setAttribute(Qt::WA_StyledBackground);
    m_headBox = makeBox<GWThreePartImageView>(m_backgroundBox, "headBox");
    m_bodyBox = makeBox<QWidget>(m_backgroundBox, "bodyBox");
    m_bodyLeftBox = makeBox<QWidget>(m_bodyBox, "bodyLeftBox");
    m_bodyRightBox = makeBox<QWidget>(m_bodyBox, "bodyRightBox");
    m_videoBox = makeBox<QWidget>(m_bodyLeftBox, "videoBox");
    m_gsensorBox = makeBox<QWidget>(m_bodyLeftBox, "gsensorBox");
    m_mediaControlBox = makeBox<QWidget>(m_bodyLeftBox, "mediaControlBox");
    m_mediaControlBox->setAttribute(Qt::WA_StyledBackground);
    m_mediaControlBoxForFullScreen =
        makeBox<GWThreePartImageView>(m_bodyLeftBox, "mediaControlBoxForFullScreen");
    m_mediaControlBoxForFullScreen->hide();

    // The large video: framed background with the camera logo, the player's view over it.
    m_player1BackgroundView =
        makeBox<GWVideoBackgroundImageView>(m_videoBox, "player1BackgroundView");
    m_videoContainerView =
        makeBox<VXLScrollableVideoContainerView>(m_videoBox, "videoContainerView");
    m_video1View = makeBox<VLCVideoView>(m_videoContainerView, "video1View");

    buildHead();
    buildGsensorBox();
    buildControlBox();
    buildRightColumn();
    buildMenus();
}

void VXLAppDelegate::buildHead()
{
    m_headBox->setImageNames(QStringLiteral("head-background"), QStringLiteral("head-background"),
                             QStringLiteral("head-background"), 0);
    auto* layout = new QHBoxLayout(m_headBox);
    layout->setContentsMargins(14, 0, 14, 0);
    auto* logo = makeBox<GWImageButton>(m_headBox, "appLogo");
    logo->setImageName(QStringLiteral("app_logo"));
    logo->setCursor(Qt::ArrowCursor);
    logo->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(logo);
    layout->addStretch();
    m_openButton = makeBox<GWImageButton>(m_headBox, "openButton");
    m_openButton->setImageName(QStringLiteral("icon_open_n"));
    m_openButton->setImageSize(QSize(36, 36));
    m_openButton->setToolTip(localizedString(QStringLiteral("button.open_directory")));
    layout->addWidget(m_openButton);
    connect(m_openButton, &GWImageButton::clicked, this, &VXLAppDelegate::openMediaDirectoryDialog);

    // Above the head strip, centred over it by showLoading.
    m_progressIndicator = makeBox<QPProgressIndicator>(m_backgroundBox, "progressIndicator");
    m_progressIndicator->setGeometry(0, 22, 180, 6);
    m_progressIndicator->hide();
}

void VXLAppDelegate::buildGsensorBox()
{
    auto* outer = new QHBoxLayout(m_gsensorBox);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(4);
    // The graph paints no background of its own: it lies on a framed pane.
    auto* graphPane = makeBox<GWVideoBackgroundImageView>(m_gsensorBox, "graphPane");
    graphPane->setBackgroundImageName(QStringLiteral("panel"));
    auto* graphLayout = new QVBoxLayout(graphPane);
    graphLayout->setContentsMargins(0, 0, 0, 0);
    m_graphView = makeBox<GraphView>(graphPane, "graphView");
    graphLayout->addWidget(m_graphView);
    outer->addWidget(graphPane, 1);

    auto* panel = makeBox<QWidget>(m_gsensorBox, "gsensorPanel");
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setFixedWidth(220);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(12, 8, 12, 8);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    grid->addWidget(makeReadoutTitle(panel, stringKey("readout.gsensor")), 0, 0);
    m_gsensorXField = makeReadout(panel, "gsensorXField");
    m_gsensorYField = makeReadout(panel, "gsensorYField");
    m_gsensorZField = makeReadout(panel, "gsensorZField");
    grid->addWidget(m_gsensorXField, 1, 0);
    grid->addWidget(m_gsensorYField, 2, 0);
    grid->addWidget(m_gsensorZField, 3, 0);
    grid->addWidget(makeReadoutTitle(panel, stringKey("readout.speed")), 0, 1);
    m_speedField = makeReadout(panel, "speedField");
    grid->addWidget(m_speedField, 1, 1);
    grid->addWidget(makeReadoutTitle(panel, stringKey("readout.hdop")), 2, 1);
    m_hdopField = makeReadout(panel, "hdopField");
    grid->addWidget(m_hdopField, 3, 1);
    grid->addWidget(makeReadoutTitle(panel, stringKey("readout.satellites")), 4, 1);
    m_sateliteField = makeReadout(panel, "sateliteField");
    grid->addWidget(m_sateliteField, 5, 1);
    grid->setRowStretch(6, 1);
    outer->addWidget(panel);
}

void VXLAppDelegate::buildControlBox()
{
    auto* column = new QVBoxLayout(m_mediaControlBox);
    column->setContentsMargins(12, 6, 12, 4);
    column->setSpacing(0);
    m_videoPositionSlider = makeBox<GWSlider>(m_mediaControlBox, "videoPositionSlider");
    m_videoPositionSlider->setToolTip(localizedString(QStringLiteral("slider.position")));
    column->addWidget(m_videoPositionSlider);

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    m_playButton = makeBox<GWImageButton>(m_mediaControlBox, "playButton");
    m_playButton->setImageName(QStringLiteral("icon_play_n"));
    m_playButton->setToolTip(localizedString(QStringLiteral("button.play")));
    row->addWidget(m_playButton);
    m_swapButton = makeBox<GWImageButton>(m_mediaControlBox, "swapButton");
    m_swapButton->setImageName(QStringLiteral("icon_swap_n"));
    m_swapButton->setToolTip(localizedString(QStringLiteral("button.swap")));
    row->addWidget(m_swapButton);
    m_jumpBackwardButton = makeImageButton(m_mediaControlBox, "jumpBackwardButton",
                                           "icon_backward_n", "button.jump_backward");
    row->addWidget(m_jumpBackwardButton);
    m_jumpForwardButton = makeImageButton(m_mediaControlBox, "jumpForwardButton", "icon_forward_n",
                                          "button.jump_forward");
    row->addWidget(m_jumpForwardButton);
    row->addStretch();

    // The speed and size texts are readouts between their step buttons.
    m_speedTextButton =
        makeTextButton(m_mediaControlBox, "speedTextButton", QStringLiteral("1.0x"));
    m_speedTextButton->setToolTip(localizedString(QStringLiteral("button.speed")));
    m_speedTextButton->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_decreaseSpeedButton = makeStepButton(m_mediaControlBox, "decreaseSpeedButton",
                                           QStringLiteral("\u2212"), "button.speed_down");
    m_increaseSpeedButton = makeStepButton(m_mediaControlBox, "increaseSpeedButton",
                                           QStringLiteral("+"), "button.speed_up");
    row->addLayout(stepGroup(m_decreaseSpeedButton, m_speedTextButton, m_increaseSpeedButton));
    m_sizeTextButton = makeTextButton(m_mediaControlBox, "sizeTextButton", QStringLiteral("1.00x"));
    m_sizeTextButton->setToolTip(localizedString(QStringLiteral("button.size")));
    m_sizeTextButton->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_sizeDownButton = makeStepButton(m_mediaControlBox, "sizeDownButton", QStringLiteral("\u2212"),
                                      "button.size_down");
    m_sizeUpButton =
        makeStepButton(m_mediaControlBox, "sizeUpButton", QStringLiteral("+"), "button.size_up");
    row->addLayout(stepGroup(m_sizeDownButton, m_sizeTextButton, m_sizeUpButton));
    m_audioToggleButton = makeTextButton(m_mediaControlBox, "audioToggleButton",
                                         localizedString(QStringLiteral("audio.front")));
    m_audioToggleButton->setCheckable(true);
    m_audioToggleButton->setToolTip(localizedString(QStringLiteral("button.audio")));
    m_audioToggleButton->hide();
    // Its text changes; the strip must not squeeze the longer one.
    m_audioToggleButton->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    row->addWidget(m_audioToggleButton);
    m_volumeSlider = makeBox<QSlider>(m_mediaControlBox, "volumeSlider");
    m_volumeSlider->setOrientation(Qt::Horizontal);
    m_volumeSlider->setRange(0, 200);
    m_volumeSlider->setFixedWidth(70);
    m_volumeSlider->setSingleStep(10);
    m_volumeSlider->setPageStep(10);
    m_volumeSlider->setFocusPolicy(Qt::NoFocus);
    m_volumeSlider->setToolTip(localizedString(QStringLiteral("button.volume")));
    m_volumeDownButton = makeStepButton(m_mediaControlBox, "volumeDownButton",
                                        QStringLiteral("\u2212"), "button.volume_down");
    m_volumeUpButton = makeStepButton(m_mediaControlBox, "volumeUpButton", QStringLiteral("+"),
                                      "button.volume_up");
    row->addLayout(stepGroup(m_volumeDownButton, m_volumeSlider, m_volumeUpButton));
    m_fullScreenButton = makeImageButton(m_mediaControlBox, "fullScreenButton", "icon_fullscreen_n",
                                         "button.full_screen");
    m_fullScreenButton->setImageSize(QSize(32, 32));
    row->addWidget(m_fullScreenButton);
    column->addLayout(row);

    // The full-screen bar carries its own position slider, bound like the main one.
    m_mediaControlBoxForFullScreen->setImageNames(QStringLiteral("bottom-background"),
                                                  QStringLiteral("bottom-background"),
                                                  QStringLiteral("bottom-background"));
    auto* barLayout = new QHBoxLayout(m_mediaControlBoxForFullScreen);
    barLayout->setContentsMargins(16, 0, 16, 0);
    m_videoPositionSliderForFullScreen =
        makeBox<GWSlider>(m_mediaControlBoxForFullScreen, "videoPositionSliderForFullScreen");
    barLayout->addWidget(m_videoPositionSliderForFullScreen);
}

void VXLAppDelegate::buildRightColumn()
{
    m_sideButtonBox = makeBox<QWidget>(m_bodyRightBox, "sideButtonBox");
    m_sideButtonBox->setAttribute(Qt::WA_StyledBackground);
    auto* sideLayout = new QHBoxLayout(m_sideButtonBox);
    sideLayout->setContentsMargins(6, 0, 6, 0);
    m_recordButtonImageView = makeBox<GWImageButton>(m_sideButtonBox, "recordButtonImageView");
    m_recordButtonImageView->setText(localizedString(QStringLiteral("side.recordings")));
    m_recordButtonImageView->setImageSize(QSize(22, 22));
    m_informationButtonImageView =
        makeBox<GWImageButton>(m_sideButtonBox, "informationButtonImageView");
    m_informationButtonImageView->setText(localizedString(QStringLiteral("side.map")));
    m_informationButtonImageView->setImageSize(QSize(22, 22));
    sideLayout->addWidget(m_recordButtonImageView, 1);
    sideLayout->addWidget(m_informationButtonImageView, 1);
    connect(m_recordButtonImageView, &GWImageButton::clicked, this,
            &VXLAppDelegate::clickMediaListViewButton);
    connect(m_informationButtonImageView, &GWImageButton::clicked, this,
            &VXLAppDelegate::clickMapViewButton);

    m_mediaListBox = makeBox<QWidget>(m_bodyRightBox, "mediaListBox");
    m_mediaListScrollView = makeBox<QWidget>(m_mediaListBox, "mediaListScrollView");
    auto* listLayout = new QVBoxLayout(m_mediaListScrollView);
    listLayout->setContentsMargins(0, 0, 0, 0);
    m_mediaListTableView = makeBox<QTableView>(m_mediaListScrollView, "mediaListTableView");
    listLayout->addWidget(m_mediaListTableView);

    m_mapContainerView = makeBox<QWidget>(m_mediaListBox, "mapContainerView");
    m_mapContainerTopView = makeBox<QWidget>(m_mapContainerView, "mapContainerTopView");
    m_mapContainerTopView->setAttribute(Qt::WA_StyledBackground);
    auto* topLayout = new QVBoxLayout(m_mapContainerTopView);
    topLayout->setContentsMargins(0, 0, 0, 0);
    // Loads the map page now, at launch, so it is ready when the first recording plays.
    m_mapWebView = makeBox<VXLMapView>(m_mapContainerTopView, "mapWebView");
    topLayout->addWidget(m_mapWebView);
    m_mapContainerBottomView = makeBox<QWidget>(m_mapContainerView, "mapContainerBottomView");
    m_mapContainerBottomView->setAttribute(Qt::WA_StyledBackground);

    m_subVideoBox = makeBox<QWidget>(m_bodyRightBox, "subVideoBox");
    m_subVideoBox->setAttribute(Qt::WA_StyledBackground);
    m_player2BackgroundView =
        makeBox<GWVideoBackgroundImageView>(m_subVideoBox, "player2BackgroundView");
    m_video2View = makeBox<VLCVideoView>(m_subVideoBox, "video2View");
}

void VXLAppDelegate::initMediaListTableView()
{
    m_mediaListModel = new VXLMediaListModel(m_mediaList, this);
    m_mediaListTableView->setModel(m_mediaListModel);
    m_mediaListTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_mediaListTableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_mediaListTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_mediaListTableView->setAlternatingRowColors(true);
    m_mediaListTableView->setShowGrid(false);
    m_mediaListTableView->setWordWrap(false);
    // File names do not fit the narrow column: keep their camera letter and extension.
    m_mediaListTableView->setTextElideMode(Qt::ElideMiddle);
    m_mediaListTableView->setIconSize(QSize(30, 18));
    m_mediaListTableView->verticalHeader()->hide();
    m_mediaListTableView->verticalHeader()->setDefaultSectionSize(24);
    m_mediaListTableView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* header = m_mediaListTableView->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(VXLMediaListModel::SaveModeColumn, QHeaderView::Fixed);
    header->setSectionResizeMode(VXLMediaListModel::DateColumn, QHeaderView::Fixed);
    header->setSectionResizeMode(VXLMediaListModel::TimeColumn, QHeaderView::Fixed);
    header->setSectionResizeMode(VXLMediaListModel::FileColumn, QHeaderView::Stretch);
    header->resizeSection(VXLMediaListModel::SaveModeColumn, 84);
    header->resizeSection(VXLMediaListModel::DateColumn, 70);
    header->resizeSection(VXLMediaListModel::TimeColumn, 56);
    connect(m_mediaListTableView, &QTableView::doubleClicked, this, &VXLAppDelegate::changeAndPlay);
}

void VXLAppDelegate::buildMenus()
{
    QMenuBar* bar = m_window->menuBar();
    QMenu* file = bar->addMenu(localizedString(QStringLiteral("menu.file")));
    QAction* open = file->addAction(localizedString(QStringLiteral("menu.open_directory")));
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, &VXLAppDelegate::openMediaDirectoryDialog);
    file->addSeparator();
    QAction* close = file->addAction(localizedString(QStringLiteral("menu.close_window")));
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &VXLAppDelegate::closeWindow);
    QAction* quit = file->addAction(localizedString(QStringLiteral("menu.quit")));
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, &VXLAppDelegate::closeWindow);

    QMenu* view = bar->addMenu(localizedString(QStringLiteral("menu.view")));
    QAction* showList = view->addAction(localizedString(QStringLiteral("menu.show_recordings")));
    showList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    connect(showList, &QAction::triggered, this, &VXLAppDelegate::clickMediaListViewButton);
    QAction* showMap = view->addAction(localizedString(QStringLiteral("menu.show_map")));
    showMap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    connect(showMap, &QAction::triggered, this, &VXLAppDelegate::clickMapViewButton);

    QMenu* playback = bar->addMenu(localizedString(QStringLiteral("menu.playback")));
    QAction* play = playback->addAction(localizedString(QStringLiteral("menu.play_pause")));
    play->setShortcut(QKeySequence(Qt::Key_Space));
    connect(play, &QAction::triggered, this, [this] { m_controller->clickPlayButton(); });
    QAction* swap = playback->addAction(localizedString(QStringLiteral("menu.swap")));
    swap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(swap, &QAction::triggered, this, [this] { m_controller->swapPlayer(); });

    // The keys of a video player, beside the buttons of the control strip.
    const auto addAction = [this](QMenu* menu, const char* key, QList<QKeySequence> keys,
                                  auto slot) {
        QAction* action = menu->addAction(localizedString(QString::fromLatin1(key)));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    playback->addSeparator();
    addAction(playback, "menu.jump_backward", {QKeySequence(Qt::Key_Left)},
              [this] { m_controller->jumpBackward(); });
    addAction(playback, "menu.jump_forward", {QKeySequence(Qt::Key_Right)},
              [this] { m_controller->jumpForward(); });
    addAction(playback, "menu.speed_up", {QKeySequence(Qt::Key_BracketRight)},
              [this] { m_controller->increaseSpeed(); });
    addAction(playback, "menu.speed_down", {QKeySequence(Qt::Key_BracketLeft)},
              [this] { m_controller->decreaseSpeed(); });
    playback->addSeparator();
    addAction(playback, "menu.volume_up", {QKeySequence(Qt::Key_Up)},
              [this] { m_controller->volumeUp(); });
    addAction(playback, "menu.volume_down", {QKeySequence(Qt::Key_Down)},
              [this] { m_controller->volumeDown(); });

    view->addSeparator();
    // Escape leaves full screen through the window itself, so that outside full screen it
    // reaches the focused control as usual.
    addAction(view, "menu.full_screen",
              {QKeySequence(Qt::Key_F), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
              &VXLAppDelegate::toggleFullScreen);
    addAction(view, "menu.size_up", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
              &VXLAppDelegate::sizeUp);
    addAction(view, "menu.size_down", {QKeySequence::ZoomOut}, &VXLAppDelegate::sizeDown);

    // The menu bar is hidden in full screen; the window keeps every key working.
    for (QMenu* menu : {file, view, playback}) {
        m_window->addActions(menu->actions());
    }
}
