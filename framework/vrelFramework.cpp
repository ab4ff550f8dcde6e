#include "vrelFramework.h"

#include "vrelForm.h"
#include "vrelMenu.h"
#include "vrelModule.h"
#include "vrelWindowManager.h"

namespace {
int startCount = 0;
} // namespace

// The order of the steps is fixed: the window usage list, then the module
// loader with its collector, then the menu manager; shut-down runs the same
// steps in reverse, after every screen still open has been destroyed, so that
// no screen outlives its module, the menu manager or the window usage list.
void VrelInitialize()
{
    if (startCount++ > 0)
        return;
    CreateWindowUsage();
    CreateModuleLoader();
    MenuManager = new TVrelMenuManager(nullptr);
}

void VrelFinalize()
{
    if (startCount == 0 || --startCount > 0)
        return;
    TVrelForm::FreeAll();
    delete MenuManager;
    MenuManager = nullptr;
    FreeModuleLoader();
    ClearWindowUsage();
}
