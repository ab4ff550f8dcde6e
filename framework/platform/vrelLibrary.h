// One load of a shared library. Each object loads once (all symbols resolved
// at load) and unloads once, and the system counts the loads of one file, so
// the library leaves memory with the last unload. QLibrary is not used: it
// shares one handle among its objects per file and does not count the load of
// an object made while the file is already loaded, so unloading one object
// could unload a library that another still uses.
#pragma once

#include <QString>

class TVrelLibrary {
public:
    explicit TVrelLibrary(const QString &fileName) : FFileName(fileName) {}
    // Unloads when still loaded.
    ~TVrelLibrary();
    TVrelLibrary(const TVrelLibrary &) = delete;
    TVrelLibrary &operator=(const TVrelLibrary &) = delete;

    const QString &FileName() const { return FFileName; }
    bool IsLoaded() const { return FHandle != nullptr; }
    // Loads the library from its file name (an absolute path); false with
    // ErrorString set when it cannot be loaded.
    bool Load();
    // Gives this load back; false with ErrorString set when the system refuses.
    bool Unload();
    // Address of an exported symbol, or null.
    void *Resolve(const char *symbol) const;
    const QString &ErrorString() const { return FErrorString; }

private:
    QString FFileName;
    void *FHandle = nullptr;
    QString FErrorString;
};
