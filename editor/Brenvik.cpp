// The menu editor Brenvik: the framework's start-up, the settings, the main
// window; `Brenvik FILE` opens FILE at start.
#include "Global.h"
#include "Main.h"
#include "vrelFramework.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brenvik"));
    QApplication::setFont(EditorFont());
    // The standard boxes and file dialogs speak Korean too (예, 아니요, 취소).
    QTranslator qtKorean;
    if (qtKorean.load(QStringLiteral("qtbase_ko"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtKorean);
    TVrelFramework framework;
    LoadSettings();
    TfrmMain frmMain;
    frmMain.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        frmMain.OpenMenuFile(arguments.at(1));
    return app.exec();
}
