#include "vrelFramework.h"

#include "vrelMenu.h"

namespace {
int startCount = 0;
} // namespace

// The order of the steps is fixed: the window usage list, then the module
// loader with its collector, then the menu manager; shut-down runs the same
// steps in reverse. The first two join here when the screen-module runtime does.
void VrelInitialize()
{
    if (startCount++ > 0)
        return;
    MenuManager = new TVrelMenuManager(nullptr);
}

void VrelFinalize()
{
    if (startCount == 0 || --startCount > 0)
        return;
    delete MenuManager;
    MenuManager = nullptr;
}
