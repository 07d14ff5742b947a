#include "VLCLibrary.h"

#include "PlayerLog.h"

#include <QDir>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <vlc/vlc.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <vector>

namespace {

// alsa-lib writes its errors straight to standard error, past libVLC's log: without a sound
// card every attempt to open the default device prints a block of them. They go to the
// libVLC category instead. alsa-lib is looked up at run time, as libVLC's plugin loads it.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err,
                                  const char* format, ...);

void alsaError(const char* file, int line, const char* function, int err, const char* format, ...)
{
    Q_UNUSED(file);
    Q_UNUSED(line);
    Q_UNUSED(err);
    if (!lcLibVLC().isDebugEnabled())
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    qCDebug(lcLibVLC, "alsa %s: %s", function, text);
}

void routeAlsaErrors()
{
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!alsa)
        alsa = dlopen("libasound.so.2", RTLD_LAZY);
    if (!alsa)
        return;
    using SetHandler = int (*)(AlsaErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(&alsaError);
    // The library stays loaded: the handler must outlive every player.
}

// libvdpau prints an error for every decoder that probes it when no VDPAU driver is
// installed (virtual displays, most machines without an NVIDIA card). Without one, only the
// VA-API decoders are tried for hardware decoding.
bool hasVdpauDriver()
{
    QStringList folders{QStringLiteral("/usr/lib/vdpau"), QStringLiteral("/usr/lib64/vdpau")};
    if (qEnvironmentVariableIsSet("VDPAU_DRIVER_PATH"))
        folders << qEnvironmentVariable("VDPAU_DRIVER_PATH");
    for (const QString& multiarch :
         QDir(QStringLiteral("/usr/lib"))
             .entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs | QDir::NoDotAndDotDot))
        folders << QStringLiteral("/usr/lib/%1/vdpau").arg(multiarch);
    for (const QString& folder : folders) {
        for (const QString& driver :
             QDir(folder).entryList({QStringLiteral("libvdpau_*.so*")}, QDir::Files)) {
            if (!driver.startsWith(QLatin1String("libvdpau_trace")))
                return true;
        }
    }
    return false;
}

// True when OpenGL on this display is drawn by the processor (Mesa's llvmpipe on a virtual or
// GPU-less display). libVLC's OpenGL video output then costs a processor core's share for
// every picture, and libVLC re-displays a paused picture 12 times a second: its plain X11
// output is far cheaper there.
bool openGLIsSoftware()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface))
        return true;
    const QByteArray renderer =
        QByteArray(reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER)))
            .toLower();
    context.doneCurrent();
    return renderer.contains("llvmpipe") || renderer.contains("softpipe") ||
           renderer.contains("software") || renderer.contains("swiftshader");
}

} // namespace

struct LibVLCLog
{
    static void message(void* data, int level, const libvlc_log_t* context, const char* format,
                        va_list args)
    {
        auto* library = static_cast<VLCLibrary*>(data);
        const char* objectType = nullptr;
        const char* header = nullptr;
        uintptr_t id = 0;
        libvlc_log_get_object(context, &objectType, &header, &id);
        const char* module = nullptr;
        const char* file = nullptr;
        unsigned line = 0;
        libvlc_log_get_context(context, &module, &file, &line);

        // A sound output that cannot be opened is answered by playing silently: its errors are
        // not the program's. The decoder gives up on an output with this message, after
        // every output module has failed, and tries again with its next block of sound.
        const bool outputGivenUp =
            level == LIBVLC_ERROR && std::strcmp(format, "failed to create audio output") == 0;
        if (outputGivenUp)
            library->noteSoundOutputFailure();
        const bool soundOutput =
            outputGivenUp || (objectType && std::strcmp(objectType, "audio output") == 0);

        // libVLC's errors are mostly its own business (late timestamps on a busy machine, a
        // sound output it replaces): info, one step above its warnings and notices. What the
        // user must know, the program reports itself.
        const QtMsgType type = level == LIBVLC_ERROR && !soundOutput ? QtInfoMsg : QtDebugMsg;
        if (!lcLibVLC().isEnabled(type))
            return;
        char text[1024];
        std::vsnprintf(text, sizeof text, format, args);
        const char* source = module ? module : (objectType ? objectType : "libvlc");
        if (type == QtInfoMsg)
            qCInfo(lcLibVLC, "%s: %s", source, text);
        else
            qCDebug(lcLibVLC, "%s: %s", source, text);
    }
};

VLCLibrary& VLCLibrary::sharedLibrary()
{
    static VLCLibrary library;
    return library;
}

QByteArrayList VLCLibrary::mediaOptions() const
{
    QByteArrayList options = m_mediaOptions;
    // Without a sound device the sound is not decoded at all: libVLC's silent outputs keep
    // poor time at twice the speed, and decoding sound for nobody costs for nothing.
    if (playsSilently())
        options << QByteArrayLiteral(":no-audio");
    return options;
}

VLCLibrary::VLCLibrary()
{
    // --play-and-pause: a recording that reaches its end stays paused on its last picture
    // (position about 0.96..0.98); without it the state is Ended, the picture goes black and
    // play() does nothing. The end-of-recording rule relies on the pause.
    std::vector<const char*> arguments = {
        "--play-and-pause",         "--no-osd", "--no-snapshot-preview", "--no-video-title-show",
        "--no-disable-screensaver", "--quiet",
    };
    if (openGLIsSoftware()) {
        arguments.push_back("--gl=none");
        arguments.push_back("--gles2=none");
    }
    // libVLC takes the choice of hardware decoders from each media, not from the instance.
    if (!hasVdpauDriver())
        m_mediaOptions << QByteArrayLiteral(":avcodec-hw=vaapi,vaapi_drm,none");
    routeAlsaErrors();
#ifdef __GLIBC__
    // Pictures of a megabyte or more come and go with every recording. glibc raises its mmap
    // threshold whenever such a block is freed, after which they are carved from the heap,
    // which then never shrinks: the resident memory grew by about 20 MB with each opening. A
    // fixed threshold keeps every large block in a mapping of its own, returned when freed.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    m_instance = libvlc_new(int(arguments.size()), arguments.data());
    if (!m_instance) {
        qCWarning(lcPlayer, "libVLC could not be started: %s", libvlc_errmsg());
        return;
    }
    libvlc_log_set(m_instance, &LibVLCLog::message, this);
}

VLCLibrary::~VLCLibrary()
{
    if (m_instance) {
        libvlc_log_unset(m_instance);
        libvlc_release(m_instance);
    }
}

void VLCLibrary::noteSoundOutputFailure()
{
    if (m_silentAudio.exchange(true))
        return;
    // Players are told on the GUI thread: nothing calls libVLC from its own threads.
    QMetaObject::invokeMethod(
        this,
        [this] {
            qCWarning(lcPlayer, "no sound device can be opened: recordings play without sound");
            Q_EMIT soundOutputFailed();
        },
        Qt::QueuedConnection);
}
