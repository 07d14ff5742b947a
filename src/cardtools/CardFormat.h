#pragma once

#include "cardtools/CardFormatSystem.h"
#include "cardtools/GWUSBDiskEntity.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <memory>

// How a format ended, with what the window needs to report it and to refresh its list.
struct CardFormatResult
{
    enum class Outcome {
        Completed,          // formatted, config.bin put back (kept or factory)
        WriteProtected,     // the volume is write-protected: nothing ran
        TargetRefused,      // not a card that may be formatted now: nothing was formatted
        SettingsNotKept,    // the card's config.bin could not be kept: nothing was formatted
        FormatFailed,       // the formatter failed; remounting was tried
        VolumeNotFound,     // formatted, but not found again after mounting: nothing written
        SettingsNotPutBack, // formatted, but config.bin could not be written to it
    };

    Outcome outcome = Outcome::Completed;
    // The chosen volume, or the formatted one as it was found again after mounting.
    GWUSBDiskEntity volume;
    // The formatter's error number and message (FormatFailed), or the reason of the failure.
    int errorNumber = 0;
    QString errorMessage;
    // A string-table key naming the failure where the model layer gives one.
    QString errorKey;
    // Where the card's config.bin was kept, or empty when the card held none.
    QString keptSettingsPath;
    // The volume list taken at the end of the sequence, for the window to show.
    QList<GWUSBDiskEntity> volumes;
};

// The progress messages of a format, in order. Fixed texts: they are the format's own.
inline constexpr char kUnmountingMessage[] = "unmount disk...";
inline constexpr char kFormattingMessage[] = "formatting...";
inline constexpr char kMountingMessage[] = "try mount...";
inline constexpr char kFormatCompletedMessage[] = "Format completed!";

// A private folder of the user's where the card's config.bin is kept while the card is
// formatted (~/.local/share/Vexlo/kept-settings). The copies stay there afterwards.
QString defaultKeptSettingsFolder();

// Formats a card, blocking until done; call it off the GUI thread. Keeps the card's config.bin
// in `keepFolder`, checks that the volume may still be formatted, unmounts it, formats it with
// the camera's layout, mounts it again, finds it again by its device and puts config.bin back
// (the kept one, else the factory file). `progress` gets each step's message.
CardFormatResult runCardFormat(CardFormatSystem& system, const GWUSBDiskEntity& volume,
                               const QString& keepFolder,
                               const std::function<void(const QString&)>& progress = {});

// Runs runCardFormat on a worker thread and reports on the thread of this object.
class CardFormat : public QObject
{
    Q_OBJECT

public:
    explicit CardFormat(std::shared_ptr<CardFormatSystem> system,
                        QString keepFolder = defaultKeptSettingsFolder(),
                        QObject* parent = nullptr);
    // Waits for a running format: a format is never cut off half-way.
    ~CardFormat() override;

    // Starts a format of `volume`; ignored while one runs.
    void start(const GWUSBDiskEntity& volume);
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void progressMessage(const QString& message);
    void finished(const CardFormatResult& result);

private:
    std::shared_ptr<CardFormatSystem> m_system;
    QString m_keepFolder;
    bool m_running = false;
    QThreadPool m_pool;
};
