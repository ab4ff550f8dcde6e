#include "vrelModule.h"

#include "vrelForm.h"
#include "vrelMenu.h"
#include "vrelPrompt.h"
#include "vrelWindowManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

TVrelModuleLoader *ModuleLoader = nullptr;

EPackageError::EPackageError(const QString &fileName, const QString &reason)
    : EVrelError(QStringLiteral("Can't load package %1.\n%2").arg(fileName, reason))
{
}

EClassNotFound::EClassNotFound(const QString &className)
    : EVrelError(QStringLiteral("Class %1 not found").arg(className))
{
}

// ---- Class registry

namespace {

struct TClassEntry {
    TVrelFormFactory Factory;
};

TVrelStringList<TClassEntry> &classRegistry()
{
    static TVrelStringList<TClassEntry> registry(Qt::CaseInsensitive);
    return registry;
}

// The directory of the running executable, with its trailing separator.
QString executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath() + u'/';
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + u'/';
}

// A module file name stays inside the module directory: a plain file name of
// letters, digits, "_", "-" and ".", without "..".
bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name.contains(u".."))
        return false;
    for (QChar c : name)
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.'))
            return false;
    return true;
}

} // namespace

void RegisterClass(const QString &className, TVrelFormFactory factory)
{
    auto &registry = classRegistry();
    const qsizetype index = registry.IndexOf(className);
    if (index >= 0)
        registry.Objects(index)->Factory = factory;
    else
        registry.Add(className, std::make_unique<TClassEntry>(TClassEntry{factory}));
}

void UnRegisterClass(const QString &className)
{
    auto &registry = classRegistry();
    const qsizetype index = registry.IndexOf(className);
    if (index >= 0)
        registry.Delete(index);
}

TVrelFormFactory FindClass(const QString &className)
{
    const auto &registry = classRegistry();
    const qsizetype index = registry.IndexOf(className);
    if (index < 0)
        throw EClassNotFound(className);
    return registry.Objects(index)->Factory;
}

bool IsClassRegistered(const QString &className)
{
    return classRegistry().IndexOf(className) >= 0;
}

bool ReadModuleDescription(const QString &path, TVrelModuleDescription &description)
{
    TVrelLibrary library(QFileInfo(path).absoluteFilePath());
    if (!library.Load())
        return false;
    using TText = const char *(*)();
    const auto text = reinterpret_cast<TText>(library.Resolve("VrelModuleDescription"));
    const auto version = reinterpret_cast<TText>(library.Resolve("VrelModuleVersion"));
    if (text)
        description.Description = QString::fromUtf8(text());
    if (version)
        description.Version = QString::fromUtf8(version());
    library.Unload();
    return text || version;
}

// ---- Loader

TVrelModuleLoader::TVrelModuleLoader()
    : FPath(executableDir())
{
    FModulePath = FPath + QStringLiteral("Screen/");
    FReportPath = FPath + QStringLiteral("Report/");
    FSavePath = FPath + QStringLiteral("Saved/");
    FGarbageCollector.setInterval(5000);
    connect(&FGarbageCollector, &QTimer::timeout, this, &TVrelModuleLoader::CollectGarbage);
    FGarbageCollector.start();
}

TVrelModuleLoader::~TVrelModuleLoader()
{
    FGarbageCollector.stop();
    UnLoadAll();
}

QString TVrelModuleLoader::ModuleFileName(const QString &AFormName) const
{
    return FPrefix + AFormName + ModuleExtension();
}

void TVrelModuleLoader::UnLoad(const QString &AModuleName)
{
    const qsizetype index = FUseList.IndexOf(AModuleName);
    if (index < 0)
        return;
    TVrelModuleEntry *entry = FUseList.Objects(index);
    entry->Dec();
    if (entry->Count() != 0)
        return;
    FKillList.Add(QString(), std::make_unique<TVrelModuleEntry>(entry->TakeHandle()));
    FUseList.Delete(index);
}

namespace {
void releaseLibrary(std::unique_ptr<TVrelLibrary> library)
{
    // A library the system refuses to unload stays loaded; the entry goes anyway.
    if (library)
        library->Unload();
}
} // namespace

void TVrelModuleLoader::UnLoadAll()
{
    while (!FUseList.IsEmpty()) {
        std::unique_ptr<TVrelLibrary> library = FUseList.Objects(0)->TakeHandle();
        FUseList.Delete(0);
        releaseLibrary(std::move(library));
    }
    while (!FKillList.IsEmpty()) {
        std::unique_ptr<TVrelLibrary> library = FKillList.Objects(0)->TakeHandle();
        FKillList.Delete(0);
        releaseLibrary(std::move(library));
    }
}

void TVrelModuleLoader::CollectGarbage()
{
    FGarbageCollector.stop();
    while (!FKillList.IsEmpty()) {
        std::unique_ptr<TVrelLibrary> library = FKillList.Objects(0)->TakeHandle();
        FKillList.Delete(0);
        releaseLibrary(std::move(library));
    }
    FGarbageCollector.start();
}

bool TVrelModuleLoader::acquireModule(const QString &fileName)
{
    const QString fullPath = QFileInfo(FModulePath + fileName).absoluteFilePath();
    if (!isPlainFileName(fileName) || !QFileInfo(fullPath).isFile()) {
        Prompter().ShowMessage(QStringLiteral("Module %1을(를) 찾을 수 없습니다").arg(fileName));
        return false;
    }
    const qsizetype index = FUseList.IndexOf(fileName);
    if (index >= 0) {
        FUseList.Objects(index)->Inc();
        return true;
    }
    auto library = std::make_unique<TVrelLibrary>(fullPath);
    if (!library->Load())
        throw EPackageError(fileName, library->ErrorString());
    FUseList.Add(fileName, std::make_unique<TVrelModuleEntry>(std::move(library)));
    return true;
}

TVrelForm *TVrelModuleLoader::Load(const QString &AFormName)
{
    const QString fileName = ModuleFileName(AFormName);
    if (!acquireModule(fileName))
        return nullptr;
    TVrelForm *form = nullptr;
    try {
        form = FindClass(QStringLiteral("TVrel") + AFormName)();
        form->Loaded();
        return form;
    } catch (...) {
        // The form that failed gives back nothing itself; the use is given back here.
        if (form) {
            form->SetModuleName(QString());
            form->SetSavePosition(false);
            delete form;
        }
        UnLoad(fileName);
        return nullptr;
    }
}

namespace {
// A screen of its own window stays above the main window and goes with it.
void keepAboveMainWindow(TVrelForm *form)
{
    if (QMainWindow *main = MainWindow())
        form->setParent(main, form->windowFlags() | Qt::Window);
}
} // namespace

void TVrelModuleLoader::Open(const QString &AFormName, int AMonitor, int FormStyle, TVrelLink *ALink,
                             const QString &ACaption)
{
    const QString usageKey = QStringLiteral("tr") + AFormName + ModuleExtension();
    if (!AcquireWindowUsage(usageKey))
        return;
    // The admission is given back when no form comes of it, so that later
    // opens of this screen are not refused for a window that never opened.
    TVrelForm *form = nullptr;
    try {
        form = Load(AFormName);
    } catch (...) {
        ReleaseWindowUsage(usageKey);
        throw;
    }
    if (!form) {
        ReleaseWindowUsage(usageKey);
        return;
    }
    form->SetMonitor(AMonitor);
    switch (FormStyle) {
    case 0:
        if (MenuManager)
            MenuManager->AddChild(ACaption.isEmpty() ? form->Caption() : ACaption, form);
        if (QMdiArea *area = MainMdiArea())
            area->addSubWindow(form);
        form->show();
        form->LoadScreenPosition();
        if (ALink)
            SendLinkMessage(form, *ALink);
        break;
    case 1:
        keepAboveMainWindow(form);
        form->show();
        break;
    case 2: {
        keepAboveMainWindow(form);
        const QPointer<TVrelForm> modal(form);
        form->ShowModal();
        delete modal.data();
        break;
    }
    default:
        break;
    }
}

int TVrelModuleLoader::OpenModal(const QString &AFormName)
{
    TVrelForm *form = Load(AFormName);
    if (!form)
        return -1;
    return form->ShowModal();
}

// ---- Process-wide loader

void CreateModuleLoader()
{
    if (!ModuleLoader)
        ModuleLoader = new TVrelModuleLoader;
}

void FreeModuleLoader()
{
    delete ModuleLoader;
    ModuleLoader = nullptr;
}

void ReleaseModule(const QString &name)
{
    ReleaseWindowUsage(name);
    if (ModuleLoader)
        ModuleLoader->UnLoad(name);
}
