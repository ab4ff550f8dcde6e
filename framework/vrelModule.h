// The module loader: loads the screen module libraries on behalf of open
// screens, counts their users and unloads a library nobody uses any more a few
// seconds later from a timer-driven collector, never from inside the
// destructor that gave it back. It also opens screens from screen codes, and
// holds the class registry into which modules register their form classes.
#pragma once

#include "vrelErrors.h"
#include "vrelLibrary.h"
#include "vrelStringList.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class TVrelForm;
class TVrelLink;

// "Can't load package %s.\n%s": a module library that exists but cannot be loaded.
class EPackageError : public EVrelError {
public:
    EPackageError(const QString &fileName, const QString &reason);
};

// "Class %s not found"
class EClassNotFound : public EVrelError {
public:
    explicit EClassNotFound(const QString &className);
};

// ---- Class registry: form class name (letter case not significant) to factory.

using TVrelFormFactory = TVrelForm *(*)();

void RegisterClass(const QString &className, TVrelFormFactory factory);
void UnRegisterClass(const QString &className);
// The factory of `className`; raises EClassNotFound when none is registered.
TVrelFormFactory FindClass(const QString &className);
bool IsClassRegistered(const QString &className);

// A module's start-up and shut-down: a static object of this type registers the
// form class when the library is loaded and unregisters it when the library is
// unloaded. The loader constructs the form, then calls its Loaded step.
template <class TForm>
class TVrelFormRegistrar {
public:
    explicit TVrelFormRegistrar(const char *className) : FName(QString::fromLatin1(className))
    {
        RegisterClass(FName, [] () -> TVrelForm * { return new TForm; });
    }
    ~TVrelFormRegistrar() { UnRegisterClass(FName); }
    TVrelFormRegistrar(const TVrelFormRegistrar &) = delete;
    TVrelFormRegistrar &operator=(const TVrelFormRegistrar &) = delete;

private:
    QString FName;
};

// What a module library declares about itself: its form class, its description
// text and its version. The host reads description and version through
// ReadModuleDescription without creating the form.
#define VREL_SCREEN_MODULE(FormClass, DescriptionText, VersionText)                       \
    static const TVrelFormRegistrar<FormClass> vrelFormRegistrar(#FormClass);           \
    extern "C" Q_DECL_EXPORT const char *VrelModuleDescription() { return DescriptionText; } \
    extern "C" Q_DECL_EXPORT const char *VrelModuleVersion() { return VersionText; }

struct TVrelModuleDescription {
    QString Description;
    QString Version;
};
// Reads description and version (UTF-8 texts) of the module library at `path`.
// False when the library cannot be loaded or declares neither.
bool ReadModuleDescription(const QString &path, TVrelModuleDescription &description);

// ---- Loaded libraries.

// One loaded library: the number of uses not yet given back and the handle of
// that load (one TVrelLibrary per load, so that loads and unloads match).
class TVrelModuleEntry {
public:
    explicit TVrelModuleEntry(std::unique_ptr<TVrelLibrary> handle = {}) : FHandle(std::move(handle)) {}

    int Count() const { return FCount; }
    void Inc() { ++FCount; }
    void Dec() { --FCount; }
    TVrelLibrary *Handle() const { return FHandle.get(); }
    std::unique_ptr<TVrelLibrary> TakeHandle() { return std::move(FHandle); }

private:
    int FCount = 1;
    std::unique_ptr<TVrelLibrary> FHandle;
};

using TVrelModuleList = TVrelStringList<TVrelModuleEntry>;

class TVrelModuleLoader : public QObject {
    Q_OBJECT

public:
    // Paths beside the running executable; the collector timer runs every 5000 ms.
    TVrelModuleLoader();
    // Stops the timer and releases every library (UnLoadAll).
    ~TVrelModuleLoader() override;

    bool CheckWindow() const { return FCheckWindow; }
    void SetCheckWindow(bool value) { FCheckWindow = value; }
    const QString &DataPath() const { return FDataPath; }
    void SetDataPath(const QString &value) { FDataPath = value; }
    const QString &ModulePath() const { return FModulePath; }
    void SetModulePath(const QString &value) { FModulePath = value; }
    const QString &Path() const { return FPath; }
    void SetPath(const QString &value) { FPath = value; }
    const QString &Prefix() const { return FPrefix; }
    void SetPrefix(const QString &value) { FPrefix = value; }
    const QString &ReportPath() const { return FReportPath; }
    void SetReportPath(const QString &value) { FReportPath = value; }
    const QString &SavePath() const { return FSavePath; }
    void SetSavePath(const QString &value) { FSavePath = value; }

    // Libraries in use (file name to entry) and libraries waiting to be unloaded.
    const TVrelModuleList &UseList() const { return FUseList; }
    const TVrelModuleList &KillList() const { return FKillList; }
    QTimer &GarbageCollector() { return FGarbageCollector; }

    // Gives back one use of module `AModuleName`; the last use queues the
    // library for the collector. An unlisted name is ignored.
    void UnLoad(const QString &AModuleName);
    // Releases every library in both lists at once, whatever the counts.
    void UnLoadAll();
    // Unloads every queued library. A run always ends: an entry is taken off
    // the queue before it is unloaded, and a failing unload is swallowed.
    void CollectGarbage();

    // Loads or reuses the module of screen code `AFormName` and creates its
    // form; nothing when the module is missing (the user is told) or has no
    // such form class (silently). A library that cannot be loaded raises
    // EPackageError.
    TVrelForm *Load(const QString &AFormName);
    // Admits, loads, creates and shows a screen: style 0 as MDI child of the
    // main window with its position restored and `ALink` delivered before
    // returning, 1 modeless, 2 modal and freed afterwards, any other created
    // and hidden. The caption is given to the menu manager only.
    void Open(const QString &AFormName, int AMonitor, int FormStyle, TVrelLink *ALink,
              const QString &ACaption);
    // Loads, creates and shows a screen modally; -1 when no form could be made.
    int OpenModal(const QString &AFormName);

    // Module file name of a screen code: Prefix + code + ".so".
    QString ModuleFileName(const QString &AFormName) const;

private:
    // Takes one use of library `fileName` (loading it when not in use);
    // false when the file name is not a plain file name or no file exists.
    bool acquireModule(const QString &fileName);

    bool FCheckWindow = false;
    QString FDataPath;
    QTimer FGarbageCollector;
    TVrelModuleList FKillList{Qt::CaseInsensitive};
    QString FModulePath;
    QString FPath;
    QString FPrefix;
    QString FReportPath;
    QString FSavePath;
    TVrelModuleList FUseList{Qt::CaseInsensitive};
};

// The process-wide loader; null outside the framework's start-up and shut-down.
extern TVrelModuleLoader *ModuleLoader;

// Start-up and shut-down steps of the loader.
void CreateModuleLoader();
void FreeModuleLoader();

// Counts one window of module `name` down and gives back one use of it; a
// screen form calls it from its destructor.
void ReleaseModule(const QString &name);

// The library file extension of the platform.
inline QString ModuleExtension() { return QStringLiteral(".so"); }
