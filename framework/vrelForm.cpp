#include "vrelForm.h"

#include "vrelErrors.h"
#include "vrelIniFile.h"
#include "vrelMenu.h"
#include "vrelModule.h"
#include "vrelStatusBar.h"
#include "vrelWindowManager.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QTime>
#include <utility>

TLinkMenuItem *TLinkMenuItems::Add()
{
    FItems.push_back(std::unique_ptr<TLinkMenuItem>(new TLinkMenuItem(this)));
    return FItems.back().get();
}

TLinkMenuItem *TLinkMenuItems::Items(qsizetype index) const
{
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    return FItems[size_t(index)].get();
}

namespace {

QList<TVrelForm *> &formList()
{
    static QList<TVrelForm *> forms;
    return forms;
}

quintptr nextHandle()
{
    static quintptr last = 0;
    return ++last;
}

TPrinterSetupRunner &printerSetupRunner()
{
    static TPrinterSetupRunner runner = [](QWidget *parent) {
        QPrinter printer;
        QPageSetupDialog dialog(&printer, parent);
        dialog.exec();
    };
    return runner;
}

} // namespace

void TVrelModuleInfo::Assign(const TVrelModuleInfo &source)
{
    FAuthor = source.FAuthor;
    FDescription = source.FDescription;
    FVersion = source.FVersion;
}

QEvent::Type TVrelMessage::MessageType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

void SendLinkMessage(QObject *receiver, TVrelLink &link)
{
    if (!receiver)
        return;
    TVrelMessage message(link);
    QCoreApplication::sendEvent(receiver, &message);
}

TPrinterSetupRunner SetPrinterSetupRunner(TPrinterSetupRunner runner)
{
    return std::exchange(printerSetupRunner(), std::move(runner));
}

// ---- Life

TVrelForm::TVrelForm(QWidget *parent) : QWidget(parent), FHandle(nextHandle())
{
    InitializeNewForm();
    formList().append(this);
}

void TVrelForm::InitializeNewForm()
{
    FGroup = -1;
    FLinkMenuItems = std::make_unique<TLinkMenuItems>(this);
    FMaxInstance = 0;
    FModuleName.clear();
    FModuleInfo = std::make_unique<TVrelModuleInfo>();
    FMonitor = 0;
    FOptions = {};
    FParams = std::make_unique<TVrelParams>();
    FResult = std::make_unique<TVrelParams>();
    FSavePosition = true;
    FScreenID.clear();
}

TVrelForm::~TVrelForm()
{
    formList().removeOne(this);
    endModal();
    if (FSavePosition) {
        // A position file that cannot be written must not stop the rest.
        try {
            SaveScreenPosition();
        } catch (...) {
        }
    }
    OnClose = nullptr;
    OnShow = nullptr;
    if (FSubWindow && MenuManager)
        MenuManager->RemoveChild(this);
    FParams.reset();
    FResult.reset();
    if (!FModuleName.isEmpty())
        ReleaseModule(FModuleName);
}

const QList<TVrelForm *> &TVrelForm::Forms()
{
    return formList();
}

void TVrelForm::FreeAll()
{
    // Sub-windows go with their forms; a form may free others while it goes.
    while (!formList().isEmpty()) {
        TVrelForm *form = formList().constLast();
        const QPointer<QWidget> sub = form->FSubWindow;
        delete form;
        delete sub.data();
    }
}

void TVrelForm::Loaded()
{
    if (FOptions.Contains(xoSysMenu) && !FSysMenuItem) {
        FSysMenuItem = new QAction(QStringLiteral("그룹 0"), this);
        FSysMenuItem->setData(SysMenuGroupCommand);
        attachSysMenuItem();
    }
}

void TVrelForm::attachSysMenuItem()
{
    if (!FSysMenuItem)
        return;
    if (QMdiSubWindow *sub = SubWindow())
        if (QMenu *menu = sub->systemMenu(); menu && !menu->actions().contains(FSysMenuItem))
            menu->addAction(FSysMenuItem);
}

QMdiSubWindow *TVrelForm::SubWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

QWidget *TVrelForm::frame() const
{
    if (FSubWindow)
        return FSubWindow.data();
    return const_cast<TVrelForm *>(this);
}

QObject *TVrelForm::findOwned(const QString &name) const
{
    const QList<QObject *> owned = findChildren<QObject *>();
    for (QObject *object : owned)
        if (object->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return object;
    return nullptr;
}

// ---- Messages, showing and closing

bool TVrelForm::event(QEvent *event)
{
    if (event->type() == TVrelMessage::MessageType()) {
        auto *message = static_cast<TVrelMessage *>(event);
        switch (message->Code()) {
        case TVrelMessage::cmDisplayMessage:
            DisplayMessage(message->Text());
            break;
        case TVrelMessage::cmLink:
            if (message->Link())
                ReceiveLink(*message->Link());
            break;
        default:
            // 3025: no text is bound to any error code, so nothing is shown.
            break;
        }
        return true;
    }
    if (event->type() == QEvent::ParentChange) {
        FSubWindow = SubWindow();
        if (QMdiSubWindow *sub = SubWindow()) {
            // The form frees its sub-window when it goes, not the reverse, so
            // that the destructor still sees the window's bounds.
            sub->setAttribute(Qt::WA_DeleteOnClose, false);
            connect(this, &QObject::destroyed, sub, &QObject::deleteLater, Qt::UniqueConnection);
        }
        attachSysMenuItem();
    }
    return QWidget::event(event);
}

void TVrelForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        DoShow();
}

void TVrelForm::DoShow()
{
    FormShow(this);
    if (OnShow)
        OnShow(this);
}

void TVrelForm::FormShow(QObject *)
{
    try {
        QWidget *active = focusWidget();
        if (active && active != this && active->isEnabled() && active->focusPolicy() != Qt::NoFocus)
            active->setFocus();
    } catch (...) {
    }
    InitControls();
}

void TVrelForm::InitControls()
{
    QWidget *window = frame();
    if (FInitWidth > 0)
        window->resize(FInitWidth, window->height());
    if (FInitHeight > 0)
        window->resize(window->width(), FInitHeight);
}

void TVrelForm::DoClose(TCloseAction &Action)
{
    BeforeClose();
    Action = caFree;
    if (OnClose)
        OnClose(this, Action);
}

void TVrelForm::FormClose(QObject *, TCloseAction &Action)
{
    BeforeClose();
    Action = caFree;
}

void TVrelForm::closeEvent(QCloseEvent *event)
{
    TCloseAction action = caHide;
    DoClose(action);
    switch (action) {
    case caNone:
        event->ignore();
        return;
    case caMinimize:
        event->ignore();
        frame()->showMinimized();
        return;
    case caHide:
        setAttribute(Qt::WA_DeleteOnClose, false);
        break;
    case caFree:
        setAttribute(Qt::WA_DeleteOnClose, true);
        break;
    }
    event->accept();
    if (FSubWindow)
        FSubWindow->hide();
    endModal();
}

void TVrelForm::endModal()
{
    if (!FModalLoop)
        return;
    if (FModalResult == mrNone)
        FModalResult = mrCancel;
    *FModalOut = FModalResult;
    FModalLoop->quit();
    FModalLoop = nullptr;
    FModalOut = nullptr;
}

int TVrelForm::ShowModal()
{
    int result = mrNone;
    QEventLoop loop;
    FModalResult = mrNone;
    FModalLoop = &loop;
    FModalOut = &result;
    setWindowModality(Qt::ApplicationModal);
    show();
    loop.exec(QEventLoop::DialogExec);
    return result;
}

void TVrelForm::SetModalResult(int value)
{
    FModalResult = value;
    if (FModalLoop && value != mrNone)
        close();
}

void TVrelForm::BringToFront()
{
    if (QMdiSubWindow *sub = SubWindow()) {
        if (sub->isMinimized())
            sub->showNormal();
        if (QMdiArea *area = sub->mdiArea())
            area->setActiveSubWindow(sub);
        sub->raise();
        return;
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

// ---- Position file

QString TVrelForm::PositionFileName() const
{
    return ModuleLoader ? ModuleLoader->SavePath() + FScreenID + QStringLiteral(".sav") : QString();
}

void TVrelForm::LoadScreenPosition()
{
    if (!ModuleLoader)
        return;
    // The first MDI child is the one on top, as the window list orders them.
    if (QMdiArea *area = MainMdiArea()) {
        const QList<QMdiSubWindow *> children = area->subWindowList(QMdiArea::StackingOrder);
        if (!children.isEmpty() && children.constLast()->isMaximized())
            return;
    }
    QWidget *window = frame();
    const QString fileName = PositionFileName();
    if (QFileInfo::exists(fileName)) {
        const TVrelIniFile ini(fileName);
        const QString section = QStringLiteral("POSITION");
        const int left = int(ini.ReadInteger(section, QStringLiteral("LEFT"), 0));
        const int top = int(ini.ReadInteger(section, QStringLiteral("TOP"), 0));
        const int width = int(ini.ReadInteger(section, QStringLiteral("WIDTH"), window->width()));
        const int height = int(ini.ReadInteger(section, QStringLiteral("HEIGHT"), window->height()));
        window->move(qMax(left, 0), qMax(top, 0));
        window->resize(width, height);
    } else if (FInitWidth != 0 && FInitHeight != 0) {
        window->resize(FInitWidth, FInitHeight);
    }
}

void TVrelForm::SaveScreenPosition()
{
    // Read as plain widget: this may run inside the sub-window's destruction.
    const QWidget *window = frame();
    if (!ModuleLoader || (window->windowState() & Qt::WindowMaximized))
        return;
    TVrelIniFile ini(PositionFileName());
    const QString section = QStringLiteral("POSITION");
    ini.WriteInteger(section, QStringLiteral("LEFT"), window->x());
    ini.WriteInteger(section, QStringLiteral("TOP"), window->y());
    ini.WriteInteger(section, QStringLiteral("WIDTH"), window->width());
    ini.WriteInteger(section, QStringLiteral("HEIGHT"), window->height());
    ini.UpdateFile();
}

// ---- Status bar, controls, dialogs

void TVrelForm::DisplayMessage(const QString &AData)
{
    auto *bar = qobject_cast<TVrelStatusBar *>(findOwned(QStringLiteral("STATUSBAR")));
    if (!bar || bar->PanelCount() < 2)
        return;
    bar->SetPanelText(0, QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")));
    bar->SetPanelText(1, u' ' + AData);
}

void TVrelForm::HideStatusBar()
{
    if (auto *bar = qobject_cast<TVrelStatusBar *>(findOwned(QStringLiteral("STATUSBAR"))))
        bar->hide();
}

void TVrelForm::PopUpMessage(int AErrorCode, const QByteArray &)
{
    QCoreApplication::postEvent(this, new TVrelMessage(TVrelMessage::cmPopUpMessage, AErrorCode));
}

void TVrelForm::PrinterSetup()
{
    if (printerSetupRunner())
        printerSetupRunner()(this);
}

void TVrelForm::FocusControl(const QString &AName)
{
    auto *control = qobject_cast<QWidget *>(findOwned(AName));
    if (control && control->isEnabled() && control->focusPolicy() != Qt::NoFocus)
        control->setFocus();
}

void TVrelForm::ExecuteLinkMenu(QObject *)
{
    TVrelMessage message(TVrelMessage::cmNone);
    if (QWidget *main = MainWindow())
        QCoreApplication::sendEvent(main, &message);
}

void TVrelForm::ExecuteSetup(QObject *)
{
    TVrelMessage message(TVrelMessage::cmNone);
    if (QWidget *main = MainWindow())
        QCoreApplication::sendEvent(main, &message);
}

TVrelForm *TVrelForm::FindRoot()
{
    for (QWidget *p = parentWidget(); p; p = p->parentWidget())
        if (auto *form = qobject_cast<TVrelForm *>(p))
            return form;
    return this;
}

void TVrelForm::DisableControls()
{
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->setEnabled(false);
}

void TVrelForm::EnableControls()
{
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->setEnabled(true);
}

// ---- Links

void TVrelForm::SendLink(TVrelLink &ALink)
{
    switch (ALink.Target()) {
    case stMain:
        SendLinkMessage(MainWindow(), ALink);
        break;
    case stApplication:
    case stWindow: {
        // A receiver may open or close screens: walk a snapshot and skip the gone.
        QList<QPointer<TVrelForm>> receivers;
        for (TVrelForm *form : Forms())
            if (ALink.Target() == stApplication || form->ScreenID() == ALink.ReceiverID())
                receivers.append(form);
        for (const QPointer<TVrelForm> &form : receivers)
            if (form)
                SendLinkMessage(form, ALink);
        break;
    }
    case stContainer:
        SendLinkMessage(FindRoot(), ALink);
        break;
    }
    if (FOnLinkSend)
        FOnLinkSend(this, ALink);
}

void TVrelForm::SendLink(const QString &ACommand, const QString &AName, const QString &AValue,
                         const QString &AReceiver, int AGroup, TLinkTarget ATarget)
{
    TVrelLink link;
    link.SetCommand(ACommand);
    link.SetGroup(AGroup);
    link.SetReceiverID(AReceiver);
    link.SetSenderHandle(FHandle);
    link.SetTarget(ATarget);
    link.AddParams(AName, AValue);
    SendLink(link);
}

void TVrelForm::ReceiveLink(TVrelLink &ALink)
{
    if (ALink.SenderHandle() == FHandle)
        return;
    if (ALink.Group() != -1 && ALink.Group() != FGroup)
        return;
    if (FOnLinkReceive)
        FOnLinkReceive(this, ALink);
}
