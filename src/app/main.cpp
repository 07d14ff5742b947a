// vexlo [--play] [DIR]: the main window; DIR is opened at start as the open panel would,
// and --play starts its first recording once the scan has reported.
#include "VXLAppDelegate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    // The map's web engine refuses to start as root with its sandbox on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The web engine shares GL contexts with the widgets; this must precede the application.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The map draws through Qt Quick. With its GL backend the whole window would be composed
    // with OpenGL, which fails beside libVLC's native video windows (the rest of the window
    // stays black); the software backend keeps the widgets' own painting.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
        qputenv("QT_QUICK_BACKEND", "software");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setOrganizationName(QStringLiteral("Vexlo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays the front and rear recordings of a "
                                                    "dash camera's card side by side."));
    parser.addHelpOption();
    const QCommandLineOption play(QStringLiteral("play"),
                                  QStringLiteral("Start the first recording of DIR."));
    parser.addOption(play);
    parser.addPositionalArgument(QStringLiteral("DIR"),
                                 QStringLiteral("Folder of recordings to open at start."),
                                 QStringLiteral("[DIR]"));
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() > 1) {
        std::fprintf(stderr, "vexlo: only one folder can be opened\n");
        return 2;
    }
    QString directory;
    if (!arguments.isEmpty()) {
        const QFileInfo info(arguments.first());
        if (!info.isDir()) {
            std::fprintf(stderr, "vexlo: %s is not a folder\n", qPrintable(arguments.first()));
            return 2;
        }
        directory = info.absoluteFilePath();
    } else if (parser.isSet(play)) {
        std::fprintf(stderr, "vexlo: --play needs a folder of recordings\n");
        return 2;
    }

    VXLAppDelegate delegate;
    QObject::connect(&app, &QApplication::aboutToQuit, &delegate, &VXLAppDelegate::die);
    delegate.applicationDidFinishLaunching();
    if (!directory.isEmpty()) {
        delegate.setPlayFirstWhenScanned(parser.isSet(play));
        delegate.openMediaDirectory(directory);
    }
    return app.exec();
}
