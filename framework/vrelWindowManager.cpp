#include "vrelWindowManager.h"

#include "vrelForm.h"
#include "vrelMenu.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

TWindowUsageList *WindowUsageList = nullptr;

void TOzmWindowUsage::IncCount()
{
    FUseCount = int(unsigned(FUseCount) + 1u);
    if (FUseCount < 0)
        FUseCount = 0;
}

void CreateWindowUsage()
{
    if (!WindowUsageList)
        WindowUsageList = new TWindowUsageList(Qt::CaseInsensitive);
}

void ClearWindowUsage()
{
    delete WindowUsageList;
    WindowUsageList = nullptr;
}

bool AcquireWindowUsage(const QString &name)
{
    if (!WindowUsageList)
        return false;
    const qsizetype index = WindowUsageList->IndexOf(name);
    if (index < 0) {
        WindowUsageList->Add(name, std::make_unique<TOzmWindowUsage>());
        return true;
    }
    for (TVrelForm *form : TVrelForm::Forms()) {
        if (form->ModuleName() != name)
            continue;
        TOzmWindowUsage *usage = WindowUsageList->Objects(index);
        if (usage->UseCount() < form->MaxInstance() + 1) {
            usage->IncCount();
            return true;
        }
        form->BringToFront();
        return false;
    }
    return false;
}

void ReleaseWindowUsage(const QString &name)
{
    if (!WindowUsageList)
        return;
    const qsizetype index = WindowUsageList->IndexOf(name);
    if (index < 0)
        return;
    TOzmWindowUsage *usage = WindowUsageList->Objects(index);
    usage->DecCount();
    if (usage->UseCount() == 0)
        WindowUsageList->Delete(index);
}

QMainWindow *MainWindow()
{
    return MenuManager ? MenuManager->Form() : nullptr;
}

QMdiArea *MainMdiArea()
{
    QMainWindow *main = MainWindow();
    return main ? qobject_cast<QMdiArea *>(main->centralWidget()) : nullptr;
}
