// A module library that registers no form class: loading it for screen 9999
// finds no "TVrel9999" unless a test registers one itself.
#include <QtGlobal>

extern "C" Q_DECL_EXPORT const char *VrelModuleDescription()
{
    return "classless";
}
