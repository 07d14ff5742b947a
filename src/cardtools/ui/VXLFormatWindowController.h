#pragma once

#include "cardtools/CardFormat.h"
#include "cardtools/GWUSBDiskEntity.h"

#include <QList>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class BlockDeviceSource;

namespace Ui {
class VXLFormatWindowController;
}

// The format window: the USB volumes, the file system and allocation unit the format will use,
// and the Format button, which (after a confirmation naming the volume) runs the whole format
// off the GUI thread with its progress messages, then reports how it ended.
class VXLFormatWindowController : public QWidget
{
    Q_OBJECT

public:
    // Lists and formats through `system`; the card's config.bin is kept in `keepFolder` while
    // the card is formatted.
    explicit VXLFormatWindowController(std::shared_ptr<CardFormatSystem> system,
                                       QWidget* parent = nullptr,
                                       const QString& keepFolder = defaultKeptSettingsFolder());
    // On the desktop: the volumes of `source`, which outlives the window.
    explicit VXLFormatWindowController(const BlockDeviceSource& source, QWidget* parent = nullptr);
    ~VXLFormatWindowController() override;

    // Lists the volumes again in the background; `completion` runs once the list is replaced.
    void loadUSBVolumes(std::function<void()> completion = {});
    const QList<GWUSBDiskEntity>& usbDiskArray() const { return m_usbDiskArray; }
    std::optional<GWUSBDiskEntity> selectedUSBDisk() const;
    std::optional<GWUSBDiskEntity> selectUSBByDevFile(const QString& device);
    void updateSelectedDiskInfo();

    bool isFormatting() const { return m_format.isRunning(); }
    bool isProgressShown() const { return !m_stopProgressBar; }
    // Tests: scales the progress display's ticks (0.3 s each).
    void setTimeScale(double scale);

public Q_SLOTS:
    void changeDisk(int index);
    void onFormat();
    void cancel();

Q_SIGNALS:
    // The volume list was replaced (after a listing or a format).
    void usbVolumesLoaded();
    // A format ended and its alert is open.
    void formatEnded(const CardFormatResult& result);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void windowDidLoad();
    void doFormat(const GWUSBDiskEntity& volume);
    void formatDidFinished(const CardFormatResult& result);
    void setUSBVolumes(const QList<GWUSBDiskEntity>& volumes);
    void setFormatting(bool formatting);
    void showProgressBar(const QString& message);
    void updateProgressBar(double expectedSeconds);
    void hideProgressBar();
    void showCannotFormat(const GWUSBDiskEntity& volume, const QString& reason);

    std::unique_ptr<Ui::VXLFormatWindowController> ui;
    std::shared_ptr<CardFormatSystem> m_system;
    CardFormat m_format;
    QThreadPool m_listPool;
    quint64 m_listGeneration = 0;
    QList<GWUSBDiskEntity> m_usbDiskArray;
    bool m_stopProgressBar = true;
    double m_progress = 0;
    QTimer m_progressTimer;
    double m_timeScale = 1.0;
    bool m_centred = false;
};
