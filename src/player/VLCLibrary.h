#pragma once

#include <QByteArrayList>
#include <QObject>

#include <atomic>

struct libvlc_instance_t;

// The one libVLC instance of the program, made on first use with the options every player
// relies on (a finished recording pauses on its last picture instead of ending black).
// libVLC's messages go to the "vexlo.libvlc" logging category. When no sound device can be
// opened, the library says so once (soundOutputFailed), and the players then play silently,
// without decoding sound, instead of trying the device again for every block of sound.
class VLCLibrary : public QObject
{
    Q_OBJECT

public:
    static VLCLibrary& sharedLibrary();

    libvlc_instance_t* instance() const { return m_instance; }
    // Options every media gets (":name=value").
    QByteArrayList mediaOptions() const;

    // True once opening a sound output has failed: players play without sound.
    bool playsSilently() const { return m_silentAudio.load(); }

    VLCLibrary(const VLCLibrary&) = delete;
    VLCLibrary& operator=(const VLCLibrary&) = delete;

Q_SIGNALS:
    // On the GUI thread, once per run.
    void soundOutputFailed();

private:
    VLCLibrary();
    ~VLCLibrary() override;

    // libVLC's thread.
    void noteSoundOutputFailure();

    libvlc_instance_t* m_instance = nullptr;
    QByteArrayList m_mediaOptions;
    std::atomic<bool> m_silentAudio{false};

    friend struct LibVLCLog;
};
