#include "VLCLibrary.h"

#include <QtGlobal>

#include <vlc/vlc.h>

VLCLibrary& VLCLibrary::sharedLibrary()
{
    static VLCLibrary library;
    return library;
}

VLCLibrary::VLCLibrary()
{
    // --play-and-pause: a recording that reaches its end stays paused on its last picture
    // (position about 0.96..0.98); without it the state is Ended, the picture goes black and
    // play() does nothing. The end-of-recording rule relies on the pause.
    const char* const arguments[] = {
        "--play-and-pause",         "--no-osd", "--no-snapshot-preview", "--no-video-title-show",
        "--no-disable-screensaver", "--quiet",
    };
    m_instance = libvlc_new(int(std::size(arguments)), arguments);
    if (!m_instance)
        qWarning("libVLC could not be started: %s", libvlc_errmsg());
}

VLCLibrary::~VLCLibrary()
{
    if (m_instance)
        libvlc_release(m_instance);
}
