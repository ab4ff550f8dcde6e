#include "vrelLibrary.h"

#include <QFile>
#include <dlfcn.h>

namespace {
QString lastError()
{
    const char *text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QString();
}
} // namespace

TVrelLibrary::~TVrelLibrary()
{
    Unload();
}

bool TVrelLibrary::Load()
{
    if (FHandle)
        return true;
    FHandle = dlopen(QFile::encodeName(FFileName).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!FHandle)
        FErrorString = lastError();
    return FHandle != nullptr;
}

bool TVrelLibrary::Unload()
{
    if (!FHandle)
        return false;
    void *handle = FHandle;
    FHandle = nullptr;
    if (dlclose(handle) != 0) {
        FErrorString = lastError();
        return false;
    }
    return true;
}

void *TVrelLibrary::Resolve(const char *symbol) const
{
    return FHandle ? dlsym(FHandle, symbol) : nullptr;
}
