// The screen form base: every screen that a screen module delivers derives
// from TVrelForm. Besides the form it holds the screen's parameter lists
// (TVrelParams) and link menu entries (TLinkMenuItem, TLinkMenuItems).
#pragma once

#include "vrelLink.h"
#include "vrelMiniXML.h"
#include "vrelStringList.h"

#include <QByteArray>
#include <QEvent>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QEventLoop;
class QMdiSubWindow;

// A screen's "name=value" list (Params and Result of a form). Entries are set
// by the parameter rule of links; the framework fills neither list.
class TVrelParams {
public:
    TVrelParams() = default;
    TVrelParams(const TVrelParams &) = delete;
    TVrelParams &operator=(const TVrelParams &) = delete;

    void Add(const QString &name, const QString &value) { SetParameter(FList, name, value); }
    void Clear() { FList.Clear(); }
    qsizetype Count() const { return FList.Count(); }

    QString Values(const QString &name) const { return FList.Values(name); }
    QString Names(qsizetype index) const { return FList.Names(index); }
    QString ValueFromIndex(qsizetype index) const { return FList.ValueFromIndex(index); }

private:
    TVrelStringList<> FList{Qt::CaseInsensitive};
};

// Key and modifier code of a menu entry, as the class library stores it.
using TShortCut = quint16;

class TLinkMenuItems;

// One link menu entry of a screen.
class TLinkMenuItem {
public:
    TLinkMenuItems *Collection() const { return FCollection; }

    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &value) { FCaption = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    const QString &ScreenID() const { return FScreenID; }
    void SetScreenID(const QString &value) { FScreenID = value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value)
    {
        if (FShortCut != value)
            FShortCut = value;
    }

private:
    friend class TLinkMenuItems;
    explicit TLinkMenuItem(TLinkMenuItems *collection) : FCollection(collection) {}

    TLinkMenuItems *FCollection;
    QString FCaption;
    bool FEnabled = true;
    QString FScreenID;
    TShortCut FShortCut = 0;
};

// The link menu entries of a screen form, owned by the form, which is also
// their owner for storing and naming.
class TLinkMenuItems {
public:
    explicit TLinkMenuItems(QObject *owner) : FOwner(owner) {}
    TLinkMenuItems(const TLinkMenuItems &) = delete;
    TLinkMenuItems &operator=(const TLinkMenuItems &) = delete;

    QObject *Owner() const { return FOwner; }
    TLinkMenuItem *Add();
    qsizetype Count() const { return qsizetype(FItems.size()); }
    // Item at `index`; "List index out of bounds (%d)" outside the list.
    TLinkMenuItem *Items(qsizetype index) const;

private:
    QObject *FOwner;
    std::vector<std::unique_ptr<TLinkMenuItem>> FItems;
};

// Description of a screen module: author, description and version texts.
class TVrelModuleInfo {
public:
    const QString &Author() const { return FAuthor; }
    void SetAuthor(const QString &value) { FAuthor = value; }
    const QString &Description() const { return FDescription; }
    void SetDescription(const QString &value) { FDescription = value; }
    const QString &Version() const { return FVersion; }
    void SetVersion(const QString &value) { FVersion = value; }
    // Copies all three texts.
    void Assign(const TVrelModuleInfo &source);

private:
    QString FAuthor;
    QString FDescription;
    QString FVersion = QStringLiteral("1.0.0.0");
};

// Screen options; only xoSysMenu has an effect in the base class.
enum TVrelFormOption : quint8 { xoAutoFont, xoPopup, xoPosition, xoSysMenu };
using TVrelFormOptions = TSet<TVrelFormOption>;

// What closing a form does with it.
enum TCloseAction : quint8 { caNone, caHide, caFree, caMinimize };

// Modal results.
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// The system menu entry that xoSysMenu adds, and its command id.
inline constexpr int SysMenuGroupCommand = 8034;

// The window messages of screens and of the main window, told apart by the
// first parameter: 3024 shows a text in the status bar, 3025 is a posted error
// code, 4044 carries a link; 0 asks the main window for its link menu or setup.
class TVrelMessage : public QEvent {
public:
    enum : int { cmNone = 0, cmDisplayMessage = 3024, cmPopUpMessage = 3025, cmLink = 4044 };

    // The event type of these messages.
    static QEvent::Type MessageType();

    TVrelMessage(int code, qintptr value = 0) : QEvent(MessageType()), FCode(code), FValue(value) {}
    TVrelMessage(const QString &text) : QEvent(MessageType()), FCode(cmDisplayMessage), FText(text) {}
    TVrelMessage(TVrelLink &link) : QEvent(MessageType()), FCode(cmLink), FLink(&link) {}

    int Code() const { return FCode; }
    qintptr Value() const { return FValue; }
    const QString &Text() const { return FText; }
    TVrelLink *Link() const { return FLink; }

private:
    int FCode;
    qintptr FValue = 0;
    QString FText;
    TVrelLink *FLink = nullptr;
};

// Delivers `link` to `receiver` synchronously as the link message.
void SendLinkMessage(QObject *receiver, TVrelLink &link);

// Runs the printer setup dialog with `parent` as parent. Programs use Qt's page
// setup dialog; tests install their own.
using TPrinterSetupRunner = std::function<void(QWidget *parent)>;
TPrinterSetupRunner SetPrinterSetupRunner(TPrinterSetupRunner runner);

// The base of every screen. A screen form belongs to the application: it is
// listed in Forms() from construction to destruction, frees itself when it is
// closed in any style, and on destruction saves its position, gives back its
// window count and its module.
class TVrelForm : public QWidget {
    Q_OBJECT

public:
    explicit TVrelForm(QWidget *parent = nullptr);
    ~TVrelForm() override;

    // Every screen form alive, in the order of creation.
    static const QList<TVrelForm *> &Forms();
    // Destroys every screen form; the framework's shut-down runs this first,
    // so that no screen outlives its module or the window usage list.
    static void FreeAll();

    // Stable id of the form's window, carried in links as SenderHandle.
    quintptr Handle() const { return FHandle; }

    // Stored properties.
    int Group() const { return FGroup; }
    void SetGroup(int value) { FGroup = value; }
    const QString &ModuleName() const { return FModuleName; }
    void SetModuleName(const QString &value) { FModuleName = value; }
    int InitHeight() const { return FInitHeight; }
    void SetInitHeight(int value) { FInitHeight = value; }
    int InitWidth() const { return FInitWidth; }
    void SetInitWidth(int value) { FInitWidth = value; }
    TLinkMenuItems &LinkMenuItems() const { return *FLinkMenuItems; }
    int MaxInstance() const { return FMaxInstance; }
    void SetMaxInstance(int value) { FMaxInstance = value; }
    const TVrelModuleInfo &ModuleInfo() const { return *FModuleInfo; }
    TVrelModuleInfo &ModuleInfo() { return *FModuleInfo; }
    void SetModuleInfo(const TVrelModuleInfo &value) { FModuleInfo->Assign(value); }
    TVrelFormOptions Options() const { return FOptions; }
    void SetOptions(TVrelFormOptions value) { FOptions = value; }
    bool SavePosition() const { return FSavePosition; }
    void SetSavePosition(bool value) { FSavePosition = value; }
    const QString &ScreenID() const { return FScreenID; }
    void SetScreenID(const QString &value) { FScreenID = value; }
    const TVrelLinkEvent &OnLinkReceive() const { return FOnLinkReceive; }
    void SetOnLinkReceive(TVrelLinkEvent handler) { FOnLinkReceive = std::move(handler); }
    const TVrelLinkEvent &OnLinkSend() const { return FOnLinkSend; }
    void SetOnLinkSend(TVrelLinkEvent handler) { FOnLinkSend = std::move(handler); }

    // Public properties that are not stored.
    int Monitor() const { return FMonitor; }
    void SetMonitor(int value) { FMonitor = value; }
    TVrelParams &Params() const { return *FParams; }
    TVrelParams &Result() const { return *FResult; }
    QString ParentCaption() const { return QString(); }
    void SetParentCaption(const QString &) {}
    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &value) { setWindowTitle(value); }

    // The form's show and close handlers.
    std::function<void(QObject *Sender)> OnShow;
    std::function<void(QObject *Sender, TCloseAction &Action)> OnClose;

    // Called before every close; empty in the base.
    virtual void BeforeClose() {}
    // Both send (message 0) synchronously to the application's main window.
    virtual void ExecuteLinkMenu(QObject *Sender);
    virtual void ExecuteSetup(QObject *Sender);
    // Focuses the owned control named `AName` (letter case not significant)
    // when it can take the focus.
    virtual void FocusControl(const QString &AName);
    // Focuses the active control (errors swallowed), then InitControls.
    virtual void FormShow(QObject *Sender);
    // Applies InitWidth and InitHeight when they are above 0.
    virtual void InitControls();
    // Time stamp and text in the first two panels of the status bar named "STATUSBAR".
    virtual void DisplayMessage(const QString &AData);
    // Posts the error code to the form itself and returns at once.
    virtual void PopUpMessage(int AErrorCode, const QByteArray &AData);
    // Ignores links carrying the form's own handle or another group; otherwise OnLinkReceive.
    virtual void ReceiveLink(TVrelLink &ALink);
    // After the form description has been applied: adds the system menu entry
    // "그룹 0" (command 8034) when Options contains xoSysMenu.
    virtual void Loaded();

    void DisableControls();
    void EnableControls();
    // The nearest screen form containing this one, or this one.
    TVrelForm *FindRoot();
    void FormClose(QObject *Sender, TCloseAction &Action);
    void HideStatusBar();
    // Restores position and size from the position file (MDI children).
    void LoadScreenPosition();
    // Writes position and size to the position file unless the window is
    // maximized; raises EIniFileException when the file cannot be written.
    // Without the framework's module loader both do nothing.
    void SaveScreenPosition();
    // Position file of this screen: SavePath + ScreenID + ".sav"; empty
    // without the module loader.
    QString PositionFileName() const;
    void PrinterSetup();

    // Routes a link that the caller owns, then raises OnLinkSend.
    void SendLink(TVrelLink &ALink);
    // Builds a link with one parameter and this form as sender, routes it, frees it.
    void SendLink(const QString &ACommand, const QString &AName, const QString &AValue,
                  const QString &AReceiver, int AGroup, TLinkTarget ATarget);

    // Shows the form modally and returns its modal result once it is closed or
    // a modal result is set.
    int ShowModal();
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value);

    // The MDI sub-window holding the form, or null.
    QMdiSubWindow *SubWindow() const;
    // Shows the form's window above the others and activates it.
    void BringToFront();
    // The "그룹 0" system menu entry, or null without xoSysMenu.
    QAction *SysMenuItem() const { return FSysMenuItem; }

protected:
    void DoClose(TCloseAction &Action);
    void DoShow();
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void InitializeNewForm();
    // The window whose bounds are the screen's: the MDI sub-window or the form.
    QWidget *frame() const;
    // The owned object named `name`, letter case not significant.
    QObject *findOwned(const QString &name) const;
    void attachSysMenuItem();
    void endModal();

    // Every field starts zeroed, as a new component does; InitializeNewForm
    // then sets the defaults that differ.
    quintptr FHandle;
    QString FModuleName;
    int FGroup = 0;
    int FInitHeight = 0;
    int FInitWidth = 0;
    std::unique_ptr<TLinkMenuItems> FLinkMenuItems;
    int FMaxInstance = 0;
    std::unique_ptr<TVrelModuleInfo> FModuleInfo;
    int FMonitor = 0;
    TVrelFormOptions FOptions;
    std::unique_ptr<TVrelParams> FParams;
    std::unique_ptr<TVrelParams> FResult;
    bool FSavePosition = false;
    QString FScreenID;
    TVrelLinkEvent FOnLinkReceive;
    TVrelLinkEvent FOnLinkSend;

    QAction *FSysMenuItem = nullptr;
    // The sub-window while the form is an MDI child; read as a plain widget in
    // the destructor, which may run inside the sub-window's destruction.
    QPointer<QWidget> FSubWindow;
    int FModalResult = mrNone;
    QEventLoop *FModalLoop = nullptr;
    int *FModalOut = nullptr;
};
