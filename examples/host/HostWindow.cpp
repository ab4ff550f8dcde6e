#include "HostWindow.h"

#include "vrelErrors.h"
#include "vrelForm.h"
#include "vrelMenu.h"
#include "vrelModule.h"
#include "vrelPrompt.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>

THostWindow::THostWindow() : FArea(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("VrelHost"));
    FArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(FArea);
    statusBar()->showMessage(QStringLiteral("메뉴에서 화면을 여십시오"));
    resize(1024, 768);

    MenuManager->SetForm(this);
    MenuManager->OnCommand = [this](QObject *, TMenuCollectionItem *item, bool, bool &) {
        if (item)
            OpenScreen(*item);
    };
    ModuleLoader->SetPrefix(QStringLiteral("tr"));
}

THostWindow::~THostWindow()
{
    // The screens go with the window, before the menu manager forgets it.
    delete FArea;
    MenuManager->OnCommand = nullptr;
}

bool THostWindow::OpenMenu(const QString &fileName, quint16 level, bool hideMode)
{
    MenuManager->SetLevel(level);
    MenuManager->SetHideMode(hideMode);
    if (!MenuManager->SetFileName(QFileInfo(fileName).absoluteFilePath()))
        return false;
    MenuManager->BuildMenus(menuBar());
    setWindowTitle(QStringLiteral("VrelHost - %1").arg(QFileInfo(fileName).fileName()));
    return true;
}

void THostWindow::OpenScreen(const TMenuCollectionItem &entry)
{
    if (entry.Command().isEmpty())
        return;
    try {
        ModuleLoader->Open(entry.Command(), 0, entry.ScreenStyle(), nullptr, entry.Caption());
    } catch (const EVrelError &e) {
        Prompter().ShowError(e.Message());
    }
}

bool THostWindow::event(QEvent *event)
{
    // Links sent to the main window and the screens' link menu and setup requests.
    if (event->type() == TVrelMessage::MessageType()) {
        const auto *message = static_cast<TVrelMessage *>(event);
        if (message->Link())
            statusBar()->showMessage(QStringLiteral("링크: %1").arg(message->Link()->Command()));
        return true;
    }
    return QMainWindow::event(event);
}
