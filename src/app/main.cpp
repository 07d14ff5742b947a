// vexlo [--play] [--card DIR] [--window NAME] [DIR]: the main window. DIR is opened at start
// as the open panel would, and --play starts its first recording once the scan has reported.
// --card names a folder that stands in for the camera's card when no USB card is found (its
// recordings are listed when no DIR is given); --window opens one of the secondary windows at
// start, and lists their names when given none.
#include "VXLAppDelegate.h"
#include "VXLApplication.h"
#include "VXLWindowRouter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

void printWindowNames()
{
    std::printf("Windows vexlo --window can open:\n");
    for (const QString& name : VXLWindowRouter::windowNames()) {
        std::printf("  %s\n", qPrintable(name));
    }
}

// A folder given on the command line, made absolute; empty with a message when it is not
// a folder.
QString folderArgument(const QString& argument, const char* what)
{
    const QFileInfo info(argument);
    if (!info.isDir()) {
        std::fprintf(stderr, "vexlo: %s %s is not a folder\n", what, qPrintable(argument));
        return {};
    }
    return info.absoluteFilePath();
}

// What must be set before the application object exists.
void prepareApplication()
{
    // Only warnings by default: the program's own diagnostics are in "vexlo.*" categories
    // that start off, and the libraries' notes (the web engine's set-up, "sandboxing
    // disabled") stay quiet too. QT_LOGGING_RULES overrides these rules.
    QLoggingCategory::setFilterRules(QStringLiteral("default.info=false\n"
                                                    "qt.webenginecontext.info=false"));
    // The map's web engine refuses to start as root with its sandbox on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The web engine shares GL contexts with the widgets.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The map draws through Qt Quick. With its GL backend the whole window would be composed
    // with OpenGL, which fails beside libVLC's native video windows (the rest of the window
    // stays black); the software backend keeps the widgets' own painting.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
        qputenv("QT_QUICK_BACKEND", "software");
    }
}

} // namespace

int main(int argc, char** argv)
{
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i) {
        rawArguments << QString::fromLocal8Bit(argv[i]);
    }
    // "--window" with nothing after it lists the names (a value option would refuse it).
    if (rawArguments.size() >= 2 && rawArguments.last() == u"--window") {
        printWindowNames();
        return 0;
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays the front and rear recordings of a "
                                                    "dash camera's card side by side."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption play(QStringLiteral("play"),
                                  QStringLiteral("Start the first recording of DIR."));
    const QCommandLineOption card(
        QStringLiteral("card"),
        QStringLiteral("Use DIR as the camera's card when no USB card is found, and list its "
                       "recordings when no other folder is given."),
        QStringLiteral("DIR"));
    const QCommandLineOption window(
        QStringLiteral("window"),
        QStringLiteral("Open the window NAME at start (without NAME: list the names)."),
        QStringLiteral("NAME"));
    parser.addOptions({play, card, window});
    parser.addPositionalArgument(QStringLiteral("DIR"),
                                 QStringLiteral("Folder of recordings to open at start."),
                                 QStringLiteral("[DIR]"));
    // The arguments are checked before the application starts, so that a mistake is
    // reported even without a display. Qt's own options (-platform, -style) are taken by the
    // application: when the first check does not know an option, the application takes its
    // own and the check runs again on the rest.
    prepareApplication();
    std::optional<QApplication> app;
    if (!parser.parse(rawArguments)) {
        app.emplace(argc, argv);
        parser.process(*app);
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                        QStringLiteral("vexlo"))),
                   stdout);
        return 0;
    }

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() > 1) {
        std::fprintf(stderr, "vexlo: only one folder can be opened\n");
        return 2;
    }
    VXLApplication::Options options;
    if (parser.isSet(card)) {
        options.cardFolder = folderArgument(parser.value(card), "the card");
        if (options.cardFolder.isEmpty()) {
            return 2;
        }
    }
    QString directory;
    if (!arguments.isEmpty()) {
        directory = folderArgument(arguments.first(), "the folder");
        if (directory.isEmpty()) {
            return 2;
        }
    } else if (!options.cardFolder.isEmpty()) {
        directory = options.cardFolder;
    } else if (parser.isSet(play)) {
        std::fprintf(stderr, "vexlo: --play needs a folder of recordings\n");
        return 2;
    }
    const QString windowName = parser.value(window);
    if (parser.isSet(window) && !VXLWindowRouter::windowNames().contains(windowName)) {
        std::fprintf(stderr, "vexlo: there is no window \"%s\"\n", qPrintable(windowName));
        printWindowNames();
        return 2;
    }

    if (!app) {
        app.emplace(argc, argv);
    }
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setOrganizationName(QStringLiteral("Vexlo"));

    VXLApplication application(options);
    VXLAppDelegate& delegate = application.delegate();
    QObject::connect(&*app, &QApplication::aboutToQuit, &application, &VXLApplication::die);
    delegate.applicationDidFinishLaunching();
    if (!directory.isEmpty()) {
        delegate.setPlayFirstWhenScanned(parser.isSet(play));
        delegate.openMediaDirectory(directory);
    }
    if (!windowName.isEmpty()) {
        application.router().showWindowNamed(windowName);
    }
    return app->exec();
}
