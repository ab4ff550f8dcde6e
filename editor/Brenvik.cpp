// The menu editor Brenvik: the framework's start-up, the settings, the main
// window; `Brenvik FILE` opens FILE at start.
#include "Global.h"
#include "Main.h"
#include "vrelFramework.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brenvik"));
    QApplication::setFont(EditorFont());
    TVrelFramework framework;
    LoadSettings();
    TfrmMain frmMain;
    frmMain.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        frmMain.OpenMenuFile(arguments.at(1));
    return app.exec();
}
