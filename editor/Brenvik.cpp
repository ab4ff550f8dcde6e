// The menu editor Brenvik: framework start-up, settings, main window.
#include "Global.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brenvik"));
    LoadSettings();
    return 0;
}
