#include "VXLClipController.h"

#include "VXLMainWindow.h"
#include "app/playback/VXLPlayInfo.h"
#include "clipexport/VXLClipExporter.h"
#include "library/VXLMediaList.h"
#include "player/VXLPlayerInterface.h"
#include "ui_VXLClipExportDialog.h"
#include "ui_VXLMainWindow.h"
#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QDesktopServices>
#include <QFileInfo>

#include <cmath>

VXLClipController::VXLClipController(const Parts& parts, QObject* parent)
    : QObject(parent), m_window(parts.window), m_mediaList(parts.mediaList),
      m_playInfo(parts.playInfo), m_player1(parts.player1), m_mileDisplay(parts.mileDisplay),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    m_exporter = new VXLClipExporter(this);
    m_exporter->setLowPriority(true);
    connect(m_exporter, &VXLClipExporter::prepared, this, [this](double, const QStringList& notes) {
        if (m_dialog)
            m_dialog->showPrepared(notes);
    });
    connect(m_exporter, &VXLClipExporter::progressChanged, this,
            [this](double share, double secondsLeft) {
                if (m_dialog)
                    m_dialog->showProgress(share, secondsLeft);
            });
    connect(m_exporter, &VXLClipExporter::finished, this, &VXLClipController::exportFinished);

    // The player learns a recording's length once it has opened it; the marks are drawn
    // from then on.
    connect(m_player1, &VXLPlayerInterface::mediaPlayerTimeChanged, this, [this] {
        rememberLength();
        updateSliderMarks();
    });
    connect(m_player1, &VXLPlayerInterface::mediaPlayerStateChanged, this,
            &VXLClipController::updateSliderMarks);
    connect(m_mediaList, &VXLMediaList::mediaListChanged, this, [this] {
        m_lengths.clear();
        clearMarks();
    });
}

VXLClipController::~VXLClipController()
{
    // The exporter (a child) cancels a running export and removes its file.
    delete m_dialog;
}

std::optional<VXLClipController::Playing> VXLClipController::playing() const
{
    if (!m_player1 || !m_player1->media())
        return std::nullopt;
    const QString path = m_player1->media()->path();
    for (const VXLMediaPtr& media : m_mediaList->medias()) {
        if (media->path() != path)
            continue;
        const VLCTime length = m_player1->media()->length();
        Playing now{media, 0, 0};
        now.length = length.isValid() && length.intValue() > 0 ? double(length.intValue()) / 1000
                                                               : knownLength(*media);
        now.length = std::max(now.length, 0.0);
        now.position = std::clamp(m_playInfo->position(), 0.0, 1.0) * now.length;
        return now;
    }
    return std::nullopt;
}

double VXLClipController::knownLength(const VXLMedia& media) const
{
    return m_lengths.value(media.path(), -1);
}

void VXLClipController::rememberLength()
{
    if (!m_player1 || !m_player1->media())
        return;
    const VLCTime length = m_player1->media()->length();
    if (length.isValid() && length.intValue() > 0)
        m_lengths.insert(m_player1->media()->path(), double(length.intValue()) / 1000);
}

void VXLClipController::markIn()
{
    rememberLength();
    if (const std::optional<Playing> now = playing(); now && now->length > 0) {
        setMarks(markClipIn(m_marks, m_mediaList->content(), *now->media, now->position,
                            now->length, [this](const VXLMedia& m) { return knownLength(m); }));
    }
}

void VXLClipController::markOut()
{
    rememberLength();
    if (const std::optional<Playing> now = playing(); now && now->length > 0) {
        setMarks(markClipOut(m_marks, m_mediaList->content(), *now->media, now->position,
                             now->length, [this](const VXLMedia& m) { return knownLength(m); }));
    }
}

void VXLClipController::clearMarks()
{
    setMarks({});
}

void VXLClipController::setMarks(const ClipMarks& marks)
{
    m_marks = marks;
    updateSliderMarks();
}

std::optional<ClipMarks> VXLClipController::exportMarks() const
{
    if (m_marks.isSet())
        return m_marks;
    const std::optional<Playing> now = playing();
    if (!now || now->length <= 0)
        return std::nullopt;
    return defaultClipMarks(m_mediaList->content(), *now->media, now->position, now->length);
}

void VXLClipController::updateSliderMarks()
{
    if (!m_window)
        return;
    Ui::VXLMainWindow& ui = m_window->ui();
    const std::optional<Playing> now = playing();
    std::optional<double> offset;
    if (m_marks.isSet() && now && now->length > 0) {
        for (const VXLMediaPtr& origin : m_mediaList->medias()) {
            if (origin->path() == m_marks.recordingPath) {
                offset = recordingOffset(m_mediaList->content(), *origin, *now->media,
                                         [this](const VXLMedia& m) { return knownLength(m); });
                break;
            }
        }
    }
    for (GWSlider* slider : {ui.videoPositionSlider, ui.videoPositionSliderForFullScreen}) {
        if (offset) {
            slider->setMarkedSpan((m_marks.in - *offset) / now->length,
                                  (m_marks.out - *offset) / now->length);
        } else {
            slider->clearMarkedSpan();
        }
    }
}

void VXLClipController::showExportDialog()
{
    if (m_dialog && m_dialog->isExporting()) {
        m_dialog->show();
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    rememberLength();
    const std::optional<ClipMarks> marks = exportMarks();
    if (!marks) {
        showAlertSheet(m_window, localizedString(QStringLiteral("clip.msg.no_recording")),
                       localizedString(QStringLiteral("clip.msg.no_recording_info")));
        return;
    }
    m_exportMarks = *marks;
    if (!m_dialog) {
        m_dialog = new VXLClipExportDialog(m_window);
        m_dialog->setWindowFlag(Qt::Window);
        connect(m_dialog, &VXLClipExportDialog::exportRequested, this,
                &VXLClipController::startExport);
        connect(m_dialog, &VXLClipExportDialog::cancelRequested, m_exporter,
                &VXLClipExporter::cancel);
    }
    const QFileInfo recording(m_exportMarks.recordingPath);
    bool oneCamera = true;
    if (const VXLMediaPairPtr pair = m_mediaList->findMediaPairWithFileName(recording.fileName()))
        oneCamera = !(pair->frontMedia && pair->rearMedia);
    m_dialog->setExporting(false);
    m_dialog->setSpan(recording.fileName(), m_exportMarks.in, m_exportMarks.out, oneCamera);

    // The file is named after the moment the span begins, by the camera's clock.
    QDateTime moment = QDateTime::currentDateTime();
    for (const VXLMediaPtr& media : m_mediaList->medias()) {
        if (media->path() == m_exportMarks.recordingPath) {
            if (const std::optional<QDateTime> start = recordingNameTime(*media))
                moment = start->addMSecs(std::llround(m_exportMarks.in * 1000));
            break;
        }
    }
    VXLClipExportDialog::Settings settings;
    if (m_haveLastSettings)
        settings = m_lastSettings;
    settings.outputPath = VXLClipExportDialog::proposedOutputPath(moment);
    m_dialog->setSettings(settings);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void VXLClipController::startExport()
{
    if (!m_dialog || m_exporter->isRunning())
        return;
    const VXLClipExportDialog::Settings settings = m_dialog->settings();
    m_lastSettings = settings;
    m_haveLastSettings = true;
    ClipExportRequest request;
    request.recordingPath = m_exportMarks.recordingPath;
    request.from = m_exportMarks.in;
    request.to = m_exportMarks.out;
    request.layout = settings.layout;
    request.overlay = settings.overlay;
    request.quality = settings.quality;
    request.miles = m_mileDisplay && m_mileDisplay();
    request.outputPath = QFileInfo(settings.outputPath).absoluteFilePath();
    request.list = m_mediaList->content();
    m_dialog->setExporting(true);
    m_exporter->start(request);
}

void VXLClipController::exportFinished(const ClipExportResult& result)
{
    if (!m_dialog)
        return;
    if (result.status == ClipExportResult::Status::Cancelled) {
        m_dialog->setExporting(false);
        m_dialog->hide();
        return;
    }
    if (result.status == ClipExportResult::Status::Failed) {
        // The dialog stays, so that another folder or span can be chosen.
        m_dialog->setExporting(false);
        showAlertSheet(m_dialog, localizedString(QStringLiteral("clip.msg.failed")),
                       result.problem);
        return;
    }
    m_dialog->setExporting(false);
    m_dialog->hide();
    QStringList info{result.outputPath};
    info << result.notes;
    const QString path = result.outputPath;
    showChoiceSheet(m_window, localizedString(QStringLiteral("clip.msg.done")),
                    info.join(QStringLiteral("\n\n")),
                    {localizedString(QStringLiteral("clip.show_in_folder")),
                     localizedString(QStringLiteral("clip.play")),
                     localizedString(QStringLiteral("clip.close"))},
                    [this, path](int chosen) {
                        if (chosen == 0)
                            m_openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
                        else if (chosen == 1)
                            m_openUrl(QUrl::fromLocalFile(path));
                    });
}
