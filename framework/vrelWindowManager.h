// Window usage: per screen module, how many of its windows are open. The
// process-wide list is created by the framework's start-up and freed by its
// shut-down (ClearWindowUsage). This unit also knows the application's main
// window, which screens are opened into and which receives the main-window
// messages of the screens.
#pragma once

#include "vrelStringList.h"

#include <QString>

class QMainWindow;
class QMdiArea;

// Counter of the open windows of one module.
class TOzmWindowUsage {
public:
    int UseCount() const { return FUseCount; }
    // Adds one; an overflow leaves the count at 0.
    void IncCount();
    // Subtracts one, without a lower bound.
    void DecCount() { --FUseCount; }

private:
    int FUseCount = 1;
};

using TWindowUsageList = TVrelStringList<TOzmWindowUsage>;

// Module file name ("tr1000.so", letter case not significant) to its counter.
// An entry exists exactly while its count is above 0. Null outside the
// framework's start-up and shut-down.
extern TWindowUsageList *WindowUsageList;

// Start-up step: creates the empty list.
void CreateWindowUsage();
// Shut-down step: frees every counter and the list.
void ClearWindowUsage();

// Admits one more window of module `name`: a first window always; a further
// one while the count is below MaxInstance + 1 of the first open screen of
// that module (ModuleName compared exactly), which is otherwise brought to the
// front. Without such an open screen the window is refused silently.
bool AcquireWindowUsage(const QString &name);
// Counts one window of module `name` down; an unlisted name is ignored.
void ReleaseWindowUsage(const QString &name);

// The application's main window, the menu manager's Form (null when there is
// none), and its MDI area, into which screens of style 0 are opened.
QMainWindow *MainWindow();
QMdiArea *MainMdiArea();
