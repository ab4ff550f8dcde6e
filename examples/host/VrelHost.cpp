// VrelHost: an application built on the framework. It shows a main window
// with an MDI area, builds its menu bar from a menu file and opens the screen
// modules from the menu.
//
//   VrelHost [--level N] [--hide] [MENUFILE]
#include "HostWindow.h"

#include "vrelFramework.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

// The bundled sample menu: beside the program, in the source tree above the
// build directory, or where the source tree was at build time.
QString bundledSample()
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates{
        dir + QStringLiteral("/sample.dat"),
        dir + QStringLiteral("/../../examples/sample.dat"),
        QStringLiteral(VREL_SOURCE_DIR "/examples/sample.dat"),
    };
    for (const QString &path : candidates)
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    return candidates.constLast();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("VrelHost"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Opens screen modules from a menu file."));
    parser.addHelpOption();
    const QCommandLineOption levelOption(QStringLiteral("level"),
                                         QStringLiteral("Permission level of the user, 0 to 65535 (default 65535)."),
                                         QStringLiteral("N"), QStringLiteral("65535"));
    const QCommandLineOption hideOption(QStringLiteral("hide"),
                                        QStringLiteral("Leave out the entries the level does not grant, instead of disabling them."));
    parser.addOption(levelOption);
    parser.addOption(hideOption);
    parser.addPositionalArgument(QStringLiteral("MENUFILE"), QStringLiteral("Menu file (default: the bundled sample)."));
    parser.process(app);

    bool ok = false;
    const uint level = parser.value(levelOption).toUInt(&ok);
    if (!ok || level > 65535) {
        std::fprintf(stderr, "VrelHost: --level takes a number from 0 to 65535\n");
        return 2;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "VrelHost: one menu file at most\n");
        return 2;
    }
    const QString menuFile = files.isEmpty() ? bundledSample() : files.first();

    TVrelFramework framework;
    THostWindow window;
    window.OpenMenu(menuFile, quint16(level), parser.isSet(hideOption));
    window.show();
    return app.exec();
}
