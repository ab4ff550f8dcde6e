// Shared pieces of the screen-module tests: the process-wide objects, a main
// window with an MDI area, a look at whether a library is still mapped, and a
// form class that tests register as screen 9999 (module tr9999.so, which
// itself registers nothing).
#pragma once

#include "vrelForm.h"
#include "vrelFramework.h"
#include "vrelMenu.h"
#include "vrelModule.h"
#include "vrelStatusBar.h"
#include "vrelWindowManager.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <dlfcn.h>

// The framework's process-wide objects, made afresh for each test.
using TModuleFixture = TVrelFramework;

inline QString sampleModule(const char *fileName)
{
    return QStringLiteral(VREL_BIN_DIR "/Screen/") + QLatin1String(fileName);
}

// Whether the library at `path` is mapped in this process.
inline bool isMapped(const QString &path)
{
    void *handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

// Runs the deletions that closing forms has queued; a form going queues its
// sub-window, hence two rounds.
inline void runDeferredDeletes()
{
    for (int round = 0; round < 2; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Screen 9999 as the tests configure it.
struct TTestScreenSetup {
    static inline int MaxInstance = 0;
    static inline QString ModuleName = QStringLiteral("tr9999.so");
    static inline TVrelFormOptions Options = {};
    static inline QStringList Received; // commands of links received by any instance
};

class TVrel9999 : public TVrelForm {
public:
    TVrel9999()
    {
        SetCaption(QStringLiteral("[9999] test"));
        resize(300, 200);
        SetScreenID(QStringLiteral("9999"));
        SetModuleName(TTestScreenSetup::ModuleName);
        SetMaxInstance(TTestScreenSetup::MaxInstance);
        SetOptions(TTestScreenSetup::Options);
    }
    void ReceiveLink(TVrelLink &link) override { TTestScreenSetup::Received.append(link.Command()); }
};

// Registers TVrel9999 for the lifetime of the guard.
struct TTestScreenClass {
    TTestScreenClass() { RegisterClass(QStringLiteral("TVrel9999"), [] () -> TVrelForm * { return new TVrel9999; }); }
    ~TTestScreenClass() { UnRegisterClass(QStringLiteral("TVrel9999")); }
};

// A main window with an MDI area, registered as the application's main window.
struct TMdiHost {
    QMainWindow Window;
    QMdiArea *Area = new QMdiArea;
    TMdiHost()
    {
        Window.setCentralWidget(Area);
        Window.resize(1000, 800);
        MenuManager->SetForm(&Window);
        Window.show();
    }
    ~TMdiHost()
    {
        TVrelForm::FreeAll();
        if (MenuManager)
            MenuManager->SetForm(nullptr);
    }
};
