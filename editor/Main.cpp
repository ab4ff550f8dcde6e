#include "Main.h"

#include "Config.h"
#include "EditCommands.h"
#include "EditMenuItem.h"
#include "Global.h"
#include "Level.h"
#include "Pictures.h"
#include "Search.h"
#include "vrelMenu.h"
#include "vrelPrompt.h"
#include "vrelShortCut.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <vector>

namespace {

const QString kMenuFileFilter = QStringLiteral("메뉴 파일(*.dat)");
const QString kMenuFileSuffix = QStringLiteral("dat");
const QString kSaveQuestion = QStringLiteral("변경한 내용을 저장하시겠습니까 ?");
const QString kConfirmCaption = QStringLiteral("확인");
const QString kCompressedMenuFile =
    QStringLiteral("압축된 메뉴 파일입니다. 열기로는 읽을 수 없으니 \"메뉴 병합\"으로 불러오십시오.");

// A zlib stream starts with a header whose first byte names deflate and whose
// first two bytes, read as a big-endian number, are a multiple of 31.
bool startsAsZlibStream(const QByteArray &head)
{
    if (head.size() < 2)
        return false;
    const auto b0 = quint8(head[0]);
    const auto b1 = quint8(head[1]);
    return (b0 & 0x0F) == 8 && (b0 >> 4) <= 7 && ((b0 << 8) | b1) % 31 == 0;
}

// A plain menu file is text that starts with its header line, "<" after an
// optional byte-order mark and blanks.
bool startsAsPlainText(QByteArray head)
{
    for (const char *bom : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        if (head.startsWith(bom)) {
            head.remove(0, qstrlen(bom));
            break;
        }
    }
    return head.trimmed().startsWith('<');
}

QByteArray fileHead(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.read(16) : QByteArray();
}

bool startsAsPlainMenu(const QString &fileName)
{
    const QByteArray head = fileHead(fileName);
    return !startsAsZlibStream(head) && startsAsPlainText(head);
}

bool startsAsCompressedMenu(const QString &fileName)
{
    const QByteArray head = fileHead(fileName);
    return startsAsZlibStream(head) && !startsAsPlainText(head);
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Brenvik 1.12"));
    setFont(EditorFont());
    ImageList1 = ToolbarPictures();
    TreeImages = TreePictures();
    StateImages = StatePictures();
    EditMenuItem = [this](TMenuCollectionItem &item, bool &cascade) {
        return ShowEditMenuItem(item, cascade, this);
    };
    SearchMenu = [this](qint32 &method, QString &name) { return ShowSearch(method, name, this); };
    LevelCalculator = [this] { return ShowLevel(this); };

    createActions();
    createUndo();
    createToolBar();
    createMenus();
    createTree();
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFixedHeight(19);
    StatusBar->setSizeGripEnabled(false);
    setStatusBar(StatusBar);

    // The client area, below the menu bar: 342 × 536 at 456, 142.
    setGeometry(456, 142, 342, 536 + menuBar()->sizeHint().height());
}

TfrmMain::~TfrmMain()
{
    // The steps go while the window is whole: the stack tells the window of
    // its last changes as it empties.
    delete UndoStack;
}

// ---------------------------------------------------------------------------
// Window

void TfrmMain::createActions()
{
    struct Row {
        QAction **Target;
        const char *Name;
        const char *ShortHint;
        const char *LongHint;
        int Picture;
        QList<QKeySequence> Keys;
        std::function<void(TfrmMain *)> Handler;
    };
    const Row rows[] = {
        {&actNew, "actNew", "새로 만들기", "새 메뉴 데이터 파일을 만듭니다", 0, {QKeySequence(Qt::CTRL | Qt::Key_N)}, &TfrmMain::DoNewFile},
        {&actOpen, "actOpen", "열기", "메뉴 데이터 파일을 엽니다", 1, {QKeySequence(Qt::CTRL | Qt::Key_O)}, &TfrmMain::DoOpen},
        {&actClose, "actClose", "닫기", "편집중인 메뉴 데이터파일을 닫습니다", -1, {}, &TfrmMain::DoCloseFile},
        {&acAppend, "acAppend", "병합", "다른 메뉴 파일을 불러와 합칩니다", -1, {}, &TfrmMain::ExecuteMerge},
        {&actSave, "actSave", "저장", "편집중인 메뉴 데이터파일을 저장합니다", 2, {QKeySequence(Qt::CTRL | Qt::Key_S)}, &TfrmMain::DoSave},
        {&actSaveAs, "actSaveAs", "다른 이름으로 저장", "편집중인 메뉴 데이터파일을 다른 이름으로 저장합니다", -1, {}, &TfrmMain::DoSaveAs},
        {&actExitApp, "actExitApp", "끝내기", "편집을 마치고 종료합니다", -1, {}, &TfrmMain::DoExitApp},
        {&actDelete, "actDelete", "삭제", "현재 메뉴를 삭제합니다", 6, {QKeySequence(Qt::Key_Delete)}, &TfrmMain::DoDelete},
        {&actAbout, "actAbout", "프로그램 정보", "메뉴 편집기의 등록정보를 보입니다", 9, {}, &TfrmMain::AboutExecute},
        {&actAdd, "actAdd", "추가", "메뉴를 추가합니다", 4, {QKeySequence(Qt::Key_Insert)}, &TfrmMain::DoAdd},
        {&actAddChild, "actAddChild", "하위메뉴 추가", "하위 메뉴를 추가합니다", 5, {QKeySequence(Qt::CTRL | Qt::Key_Insert)}, &TfrmMain::DoAddChild},
        {&AcInsertSeperate, "AcInsertSeperate", "구분선", "구분선을 추가합니다", -1, {}, &TfrmMain::DoAddSeperate},
        {&actEdit, "actEdit", "편집", "선택한 메뉴 속성을 수정합니다", 3, {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}, &TfrmMain::DoEdit},
        {&actPreView, "actPreView", "미리보기", "편집중인 메뉴를 실제모양으로 보입니다", 7, {}, &TfrmMain::ExecutePreview},
        {&actExpand, "actExpand", "펼치기", "모든 메뉴를 펼칩니다", 8, {}, &TfrmMain::ExpandExecute},
        {&acCollapse, "acCollapse", "닫기", "모든 메뉴를 닫습니다", -1, {}, &TfrmMain::ExecuteCollapse},
        {&actFind, "actFind", "찾기", "메뉴를 검색합니다", -1, {QKeySequence(Qt::CTRL | Qt::Key_F)}, &TfrmMain::ExecuteFind},
        {&actMoveUp, "actMoveUp", "위로", "현재 메뉴를 위로 이동합니다", -1, {QKeySequence(Qt::CTRL | Qt::Key_Up)}, &TfrmMain::ExecuteMoveUp},
        {&actMoveDown, "actMoveDown", "아래로", "현재 메뉴를 아래로 이동합니다", -1, {QKeySequence(Qt::CTRL | Qt::Key_Down)}, &TfrmMain::ExecuteMoveDown},
        {&acFindNext, "acFindNext", "", "", -1, {QKeySequence(Qt::Key_F3)}, &TfrmMain::FindNext},
        {&acCopy, "acCopy", "복사", "메뉴 내용을 복사하여 새 메뉴를 만듭니다", -1, {}, &TfrmMain::DoCopy},
    };
    for (const Row &row : rows) {
        const QString shortHint = QString::fromUtf8(row.ShortHint);
        const QString longHint = QString::fromUtf8(row.LongHint);
        auto *action = new QAction(shortHint, this);
        action->setObjectName(QLatin1String(row.Name));
        if (!shortHint.isEmpty() || !longHint.isEmpty()) {
            action->setToolTip(shortHint);
            // The whole hint; the status bar shows its long part.
            action->setStatusTip(shortHint + u'|' + longHint);
        }
        if (row.Picture >= 0)
            action->setIcon(ImageList1.at(row.Picture));
        action->setShortcuts(row.Keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
                [this, handler = row.Handler] { run([this, &handler] { handler(this); }); });
        addAction(action);
        *row.Target = action;
        ActionList.append(action);
    }
}

void TfrmMain::createUndo()
{
    UndoStack = new QUndoStack(this);
    const auto follow = [this] { DataChanged = !UndoStack->isClean(); };
    connect(UndoStack, &QUndoStack::indexChanged, this, follow);
    connect(UndoStack, &QUndoStack::cleanChanged, this, follow);
    auto make = [this](QAction *&target, const char *name, const char *text, const char *longHint,
                       QStyle::StandardPixmap picture, QKeySequence key, bool undo) {
        const QString shortHint = QString::fromUtf8(text).section(u'(', 0, 0);
        target = new QAction(shortHint, this);
        target->setObjectName(QLatin1String(name));
        target->setToolTip(shortHint);
        target->setStatusTip(shortHint + u'|' + QString::fromUtf8(longHint));
        target->setIcon(style()->standardIcon(picture));
        target->setShortcut(key);
        target->setShortcutContext(Qt::WindowShortcut);
        target->setEnabled(false);
        connect(target, &QAction::triggered, this, [this, undo] {
            run([this, undo] { undo ? UndoStack->undo() : UndoStack->redo(); });
        });
        addAction(target);
    };
    make(actUndo, "actUndo", "실행 취소(&U)", "마지막 변경을 되돌립니다", QStyle::SP_ArrowBack,
         QKeySequence(Qt::CTRL | Qt::Key_Z), true);
    make(actRedo, "actRedo", "다시 실행(&R)", "되돌린 변경을 다시 합니다", QStyle::SP_ArrowForward,
         QKeySequence(Qt::CTRL | Qt::Key_Y), false);
    connect(UndoStack, &QUndoStack::canUndoChanged, actUndo, &QAction::setEnabled);
    connect(UndoStack, &QUndoStack::canRedoChanged, actRedo, &QAction::setEnabled);
}

void TfrmMain::createToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFixedHeight(28);
    ToolBar1->setContentsMargins(6, 0, 0, 0);
    ToolBar1->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto button = [this](const char *name, QAction *action) {
        auto *b = new QToolButton(ToolBar1);
        b->setObjectName(QLatin1String(name));
        b->setDefaultAction(action);
        b->setAutoRaise(true);
        b->setFixedSize(25, 24);
        ToolBar1->addWidget(b);
    };
    button("tbNew", actNew);
    button("tbOpen", actOpen);
    button("tbSave", actSave);
    ToolBar1->addSeparator();
    button("tbEdit", actEdit);
    button("tbAdd", actAdd);
    button("tbAddChild", actAddChild);
    button("tbDelete", actDelete);
    ToolBar1->addSeparator();
    button("tbUndo", actUndo);
    button("tbRedo", actRedo);
    ToolBar1->addSeparator();
    button("tbPreview", actPreView);
    ToolBar1->addSeparator();
    button("tbAbout", actAbout);
    ToolBar1->addSeparator();

    Level = new QLineEdit(QStringLiteral("65535"), ToolBar1);
    Level->setObjectName(QStringLiteral("Level"));
    Level->setReadOnly(true);
    Level->setFixedWidth(40);
    ToolBar1->addWidget(Level);
    tbCalc = new QToolButton(ToolBar1);
    tbCalc->setObjectName(QStringLiteral("tbCalc"));
    tbCalc->setIcon(ImageList1.at(10));
    tbCalc->setAutoRaise(true);
    tbCalc->setFixedSize(25, 24);
    connect(tbCalc, &QToolButton::clicked, this, [this] { run([this] { tbCalcClick(); }); });
    ToolBar1->addWidget(tbCalc);
}

void TfrmMain::createMenus()
{
    // A menu item shows its own text and runs its action; the action's
    // shortcut is shown beside the text in the text form menu files use
    // ("Enter", "Ins", "Ctrl+Up").
    auto item = [this](QMenu *menu, const char *name, const char *text, QAction *action) {
        QString label = QString::fromUtf8(text);
        if (action && !action->shortcut().isEmpty())
            label += u'\t' + ShortCutToText(action->shortcut());
        auto *entry = new QAction(label, menu);
        entry->setObjectName(QLatin1String(name));
        if (action) {
            entry->setIcon(action->icon());
            entry->setStatusTip(action->statusTip());
            entry->setEnabled(action->isEnabled());
            connect(entry, &QAction::triggered, action, &QAction::trigger);
            connect(action, &QAction::changed, entry, [entry, action] { entry->setEnabled(action->isEnabled()); });
        }
        menu->addAction(entry);
        return entry;
    };
    auto newMenu = [this](const char *name, const char *title) {
        auto *menu = menuBar()->addMenu(QString::fromUtf8(title));
        menu->setObjectName(QLatin1String(name));
        menu->setFont(EditorFont());
        return menu;
    };
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *file = newMenu("mnuFile", "파일(&F)");
    item(file, "mnuNew", "새로 만들기(&N)", actNew);
    item(file, "mnuOpen", "열기(&O)...", actOpen);
    item(file, "mnuClose", "닫기(&C)", actClose);
    file->addSeparator();
    item(file, "mnuMerge", "메뉴 병합(&M)...", acAppend);
    // "내보내기" has no command yet; it is shown but cannot be chosen.
    item(file, "N20", "내보내기", nullptr)->setEnabled(false);
    file->addSeparator();
    item(file, "mnuSave", "저장(&S)", actSave);
    item(file, "mnuSaveAs", "다른 이름으로 저장(&A)...", actSaveAs);
    file->addSeparator();
    item(file, "mnuExitApp", "끝내기(&X)", actExitApp);

    QMenu *edit = newMenu("mnuEdit", "편집(&E)");
    item(edit, "mnuUndo", "실행 취소(&U)", actUndo);
    item(edit, "mnuRedo", "다시 실행(&R)", actRedo);
    edit->addSeparator();
    item(edit, "mnuProperty", "속성(&P)...", actEdit);
    edit->addSeparator();
    item(edit, "mnuAdd", "메뉴 추가(&A)", actAdd);
    item(edit, "mnuAddChild", "하위메뉴 추가(&C)", actAddChild);
    item(edit, "mnuDelete", "메뉴 삭제(&D)", actDelete);
    edit->addSeparator();
    item(edit, "N17", "구분선 추가(&S)", AcInsertSeperate);
    item(edit, "mnuCopy", "메뉴 복사(L)", acCopy);
    connect(item(edit, "mnuGroup", "그룹 일괄지정(&G)", nullptr), &QAction::triggered, this,
            [this] { run([this] { mnuGroupClick(); }); });
    edit->addSeparator();
    item(edit, "mnuMoveUp", "위로(&U)", actMoveUp);
    item(edit, "mnuMoveDown", "아래로(N)", actMoveDown);
    edit->addSeparator();
    item(edit, "mnuFind", "찾기(&F)...", actFind);
    item(edit, "acFindNext1", "다음 찾기(&N)", acFindNext);
    edit->addSeparator();
    connect(item(edit, "mnuOption", "옵션(&O)...", nullptr), &QAction::triggered, this,
            [this] { run([this] { mnuOptionClick(); }); });

    QMenu *view = newMenu("mnuView", "보기(&V)");
    item(view, "mnuPreView", "미리보기(&P)...", actPreView);
    view->addSeparator();
    item(view, "mnuFullExpand", "모두 펼치기(&E)", actExpand);
    item(view, "mnuFullCollapse", "모두 접기(&C)", acCollapse);

    QMenu *help = newMenu("mnuHelp", "도움말(&H)");
    item(help, "mnuAbout", "프로그램 정보(&A)...", actAbout);

    TreePopup = new QMenu(this);
    TreePopup->setObjectName(QStringLiteral("TreePopup"));
    TreePopup->setFont(EditorFont());
    item(TreePopup, "pmAdd", "메뉴 추가(&A)", actAdd);
    item(TreePopup, "pmAddChild", "하위메뉴 추가(&C)", actAddChild);
    item(TreePopup, "pmDelete", "메뉴 삭제(&D)", actDelete);
    TreePopup->addSeparator();
    item(TreePopup, "pmAddSeperate", "구분선 추가(&S)", AcInsertSeperate);
    item(TreePopup, "pmCopy", "메뉴 복사(&L)", acCopy);
    TreePopup->addSeparator();
    item(TreePopup, "pmExpand", "모두 펼치기(&E)", actExpand);
    item(TreePopup, "pmCollapse", "모두 접기(&O)", acCollapse);
    TreePopup->addSeparator();
    item(TreePopup, "pmProperty", "속성(&P)...", actEdit);
}

void TfrmMain::createTree()
{
    TreeList = new QTreeWidget(this);
    TreeList->setObjectName(QStringLiteral("TreeList"));
    TreeList->setHeaderHidden(true);
    TreeList->setColumnCount(1);
    TreeList->setIndentation(28);
    TreeList->setIconSize(QSize(18, 18));
    TreeList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeList->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeList, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        // A right click selects the node under the pointer first (the view
        // does that on the press), so the pop-up acts on it.
        TreePopup->popup(TreeList->viewport()->mapToGlobal(pos));
    });
    // Drags start on a node; drops are this window's to handle.
    TreeList->setDragEnabled(true);
    TreeList->setDragDropMode(QAbstractItemView::DragDrop);
    TreeList->setDefaultDropAction(Qt::CopyAction);
    TreeList->viewport()->installEventFilter(this);
    connect(TreeList, &QTreeWidget::itemDoubleClicked, this, [this] { run([this] { DoEdit(); }); });
    connect(TreeList, &QTreeWidget::itemExpanded, this, &TfrmMain::TreeListGetImageIndex);
    connect(TreeList, &QTreeWidget::itemCollapsed, this, &TfrmMain::TreeListGetImageIndex);
    setCentralWidget(TreeList);
}

bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        ApplicationEvents1Hint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != TreeList->viewport())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (TreeListDragOver()) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        // A copy as far as the view knows, so that it removes nothing itself.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        const QPoint at = drop->position().toPoint();
        run([this, at] { TreeListDragDrop(at.x(), at.y()); });
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    bool goOn = false;
    run([&] { goOn = CheckSaveChanges(); });
    if (goOn)
        event->accept();
    else
        event->ignore();
}

void TfrmMain::run(const std::function<void()> &command)
{
    try {
        command();
    } catch (const EVrelError &e) {
        Prompter().ShowError(e.Message());
    } catch (const std::exception &e) {
        Prompter().ShowError(QString::fromLocal8Bit(e.what()));
    }
}

void TfrmMain::ApplicationEvents1Hint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    StatusBar->showMessage(bar < 0 ? hint : hint.mid(bar + 1));
}

// ---------------------------------------------------------------------------
// Tree nodes

void TfrmMain::TreeListGetImageIndex(QTreeWidgetItem *node)
{
    const int picture = node->childCount() == 0 ? 3 : node->isExpanded() ? 2 : 1;
    node->setIcon(0, TreeImages.at(picture));
}

void TfrmMain::updateAllImages()
{
    // Called right after nodes were put into the tree, whose view lays out
    // and draws them anew anyway: the pictures go in without a change notice
    // for every node.
    const QSignalBlocker quiet(TreeList->model());
    for (QTreeWidgetItemIterator it(TreeList); *it; ++it)
        TreeListGetImageIndex(*it);
}

void TfrmMain::FocusNode(QTreeWidgetItem *node)
{
    TreeList->setCurrentItem(node);
    node->setSelected(true);
    TreeList->scrollToItem(node);
}

// ---------------------------------------------------------------------------
// The document

bool TfrmMain::CheckSaveChanges()
{
    if (!DataChanged)
        return true;
    switch (Prompter().Ask(kConfirmCaption, kSaveQuestion,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return DoSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void TfrmMain::closeDocument()
{
    // The steps and the tree refer to the manager's entries: they go first.
    UndoStack->clear();
    TreeList->clear();
    MenuManager->Clear();
    CurrentFile.clear();
    DataChanged = false;
}

void TfrmMain::DoNewFile()
{
    if (CheckSaveChanges())
        closeDocument();
}

void TfrmMain::DoCloseFile()
{
    if (CheckSaveChanges())
        closeDocument();
}

void TfrmMain::DoOpen()
{
    if (!CheckSaveChanges())
        return;
    const QString fileName = Prompter().OpenFileName(kMenuFileFilter, kMenuFileSuffix);
    if (!fileName.isEmpty())
        OpenMenuFile(fileName);
}

bool TfrmMain::OpenMenuFile(const QString &FileName)
{
    // Always a full path: the document is known by it, and the manager keeps
    // its directory as Path.
    const QFileInfo info(FileName);
    const QString path = info.absoluteFilePath();
    if (!info.exists() || info.isDir()) {
        Prompter().ShowMessage(TVrelMenuManager::kNoMenuFile);
        return false;
    }
    // The document is read in the plain form; a compressed file would read as
    // garbage entries, so it is refused and left to Merge, which reads both.
    if (startsAsCompressedMenu(path)) {
        Prompter().ShowError(kCompressedMenuFile);
        return false;
    }
    // Read the whole file and its tree first: a file that cannot be read
    // whole leaves the open document as it is. What was read becomes the
    // document as it stands; the file is not read again.
    TMenuCollection read;
    try {
        read.SetSaveMode(smText);
        if (!read.LoadFromFile(path)) { // gone since it was looked for
            Prompter().ShowMessage(TVrelMenuManager::kNoMenuFile);
            return false;
        }
        ReadMenuTree<int>(read, [](int, TMenuCollectionItem &) { return 0; });
    } catch (const EVrelError &e) {
        Prompter().ShowError(e.Message());
        return false;
    }
    UndoStack->clear();
    TreeList->clear();
    MenuManager->TakeLoaded(path, read);
    CurrentFile = path;
    DataChanged = false;
    MenuManager->BuildMenus(TreeList, true);
    updateAllImages();
    TreeList->setFocus();
    if (TreeList->topLevelItemCount() > 0)
        FocusNode(TreeList->topLevelItem(0));
    return true;
}

void TfrmMain::AddNodeEntry(TMenuCollection &collection, QTreeWidgetItem *node, const QString &top)
{
    TMenuCollectionItem *entry = collection.Add();
    entry->Assign(*NodeEntry(node));
    entry->SetCount(node->childCount());
    entry->SetTop(top);
}

void TfrmMain::WriteDocument(const QString &FileName) const
{
    // Each node's entry is copied as AddNodeEntry copies it, written and let
    // go before the next: the text goes out as it is made, and the document
    // is never held twice.
    TMenuCollection passing;
    passing.SetSaveMode(smText);
    TXMLCollectionWriter writer(FileName, passing.DTDName(), passing.SaveMode());
    // Pre-order: each node before its children, children in display order;
    // every node carries the caption of its top-level ancestor.
    std::vector<QTreeWidgetItem *> pending;
    for (int i = 0; i < TreeList->topLevelItemCount(); ++i) {
        QTreeWidgetItem *topNode = TreeList->topLevelItem(i);
        const QString top = NodeEntry(topNode)->Caption();
        pending.push_back(topNode);
        while (!pending.empty()) {
            QTreeWidgetItem *node = pending.back();
            pending.pop_back();
            AddNodeEntry(passing, node, top);
            writer.Add(*passing.Items(0));
            passing.Clear();
            for (int c = node->childCount() - 1; c >= 0; --c)
                pending.push_back(node->child(c));
        }
    }
    writer.Commit();
}

bool TfrmMain::DoSave()
{
    if (CurrentFile.isEmpty())
        return DoSaveAs();
    try {
        WriteDocument(CurrentFile);
    } catch (const EVrelError &e) {
        Prompter().ShowError(e.Message());
        return false;
    }
    UndoStack->setClean();
    DataChanged = false;
    return true;
}

bool TfrmMain::DoSaveAs()
{
    const QString fileName = Prompter().SaveFileName(kMenuFileFilter, kMenuFileSuffix);
    if (fileName.isEmpty())
        return false;
    // The document takes the new name only once it has been written there.
    const QString previous = CurrentFile;
    CurrentFile = QFileInfo(fileName).absoluteFilePath();
    if (DoSave())
        return true;
    CurrentFile = previous;
    return false;
}

void TfrmMain::DoExitApp()
{
    close();
}

void TfrmMain::ExecuteMerge()
{
    const QString fileName = Prompter().OpenFileName(kMenuFileFilter, kMenuFileSuffix);
    if (!fileName.isEmpty())
        MergeMenuFile(fileName);
}

void TfrmMain::MergeMenuFile(const QString &FileName)
{
    TMenuCollection merged;
    // Told apart by their content: what this editor saves is plain text, the
    // other form a zlib stream; anything else is read as a stream and fails
    // with the stream's error.
    merged.SetSaveMode(startsAsPlainMenu(FileName) ? smText : smBinary);
    if (!merged.LoadFromFile(FileName)) {
        Prompter().ShowMessage(TVrelMenuManager::kNoMenuFile);
        TreeList->expandAll();
        return;
    }
    // Decode the whole tree before anything joins the document.
    struct Decoded {
        qsizetype Parent; // index into `decoded`, -1 at the top level
        TMenuCollectionItem *Entry;
    };
    std::vector<Decoded> decoded;
    decoded.reserve(size_t(merged.Count()));
    ReadMenuTree<qsizetype>(merged, [&](qsizetype parent, TMenuCollectionItem &entry) {
        decoded.push_back({parent - 1, &entry});
        return qsizetype(decoded.size()); // handles are index + 1; 0 is the top level
    });

    std::vector<QTreeWidgetItem *> nodes;
    nodes.reserve(decoded.size());
    const int topBefore = TreeList->topLevelItemCount();
    QTreeWidgetItem *selectedBefore = TreeList->currentItem();
    TreeList->setUpdatesEnabled(false);
    for (const Decoded &d : decoded) {
        TMenuCollectionItem *entry = MenuManager->Items().Add();
        entry->Assign(*d.Entry);
        entry->AfterParse();
        QTreeWidgetItem *node = d.Parent < 0 ? new TMenuTreeNode(TreeList, entry)
                                             : new TMenuTreeNode(nodes[size_t(d.Parent)], entry);
        node->setText(0, entry->Caption());
        nodes.push_back(node);
    }
    TreeList->setUpdatesEnabled(true);
    updateAllImages();
    TreeList->expandAll(); // each node it opens takes its open picture
    std::vector<QTreeWidgetItem *> added;
    for (int i = topBefore; i < TreeList->topLevelItemCount(); ++i)
        added.push_back(TreeList->topLevelItem(i));
    if (!added.empty())
        UndoStack->push(new TNodesCommand(*this, QStringLiteral("메뉴 병합"), TNodesCommand::nkAdded,
                                          std::move(added), selectedBefore));
}

// ---------------------------------------------------------------------------
// Commands

void TfrmMain::DoEdit()
{
    QTreeWidgetItem *node = TreeList->currentItem();
    TMenuCollectionItem *entry = NodeEntry(node);
    if (!entry)
        return;
    // The dialog edits a copy; the step puts its values into the entry.
    TMenuCollection scratch;
    TMenuCollectionItem *edited = scratch.Add();
    edited->Assign(*entry);
    bool cascade = false;
    if (!EditMenuItem(*edited, cascade))
        return;
    UndoStack->push(new TEditEntryCommand(*this, node, *edited, cascade));
}

void TfrmMain::SetChildPermission(QTreeWidgetItem *node, qint32 mask)
{
    std::vector<QTreeWidgetItem *> pending;
    for (int c = 0; c < node->childCount(); ++c)
        pending.push_back(node->child(c));
    while (!pending.empty()) {
        QTreeWidgetItem *child = pending.back();
        pending.pop_back();
        NodeEntry(child)->SetPermission(mask);
        for (int c = 0; c < child->childCount(); ++c)
            pending.push_back(child->child(c));
    }
}

void TfrmMain::ExpandExecute()
{
    TreeList->expandAll();
}

void TfrmMain::ExecuteCollapse()
{
    TreeList->collapseAll();
}

void TfrmMain::ExecutePreview()
{
    DoSave();
}

void TfrmMain::AboutExecute()
{
    Prompter().ShowMessage(QStringLiteral("Vrel Brenvik 1.10"));
}

void TfrmMain::mnuOptionClick()
{
    ShowConfig(this);
}

void TfrmMain::mnuGroupClick()
{
    QString group;
    if (!Prompter().InputQuery(QStringLiteral("메뉴그룹 일괄지정"), QStringLiteral("그룹명"), group))
        return;
    bool changed = false;
    std::vector<std::pair<TMenuCollectionItem *, QString>> before;
    before.reserve(size_t(MenuManager->Items().Count())); // as many as there are nodes
    for (QTreeWidgetItemIterator it(TreeList); *it; ++it) {
        TMenuCollectionItem *entry = NodeEntry(*it);
        changed = changed || entry->Group() != group;
        before.emplace_back(entry, entry->Group());
        entry->SetGroup(group);
    }
    // Like every change of the document, the assignment is a step that is
    // offered for saving.
    if (changed)
        UndoStack->push(new TGroupCommand(*this, std::move(before), group));
}

void TfrmMain::DoAdd()
{
    QTreeWidgetItem *selected = TreeList->currentItem();
    const TUndoMacro step(*UndoStack, QStringLiteral("메뉴 추가"));
    DataChanged = true;
    TMenuCollectionItem *entry = MenuManager->Items().Add();
    QTreeWidgetItem *node;
    if (selected && selected->parent()) {
        // At the end of the selected node's sibling list, with the parent's mask.
        entry->SetPermission(NodeEntry(selected->parent())->Permission());
        node = new TMenuTreeNode(selected->parent(), entry);
        TreeListGetImageIndex(selected->parent());
    } else {
        bool ok = false;
        const int level = Level->text().toInt(&ok);
        entry->SetPermission(ok ? level : 65535);
        node = new TMenuTreeNode(TreeList, entry);
    }
    entry->SetGroup(DefaultMenuGroup);
    showAdded(node, selected);
    DoEdit();
}

void TfrmMain::DoAddChild()
{
    QTreeWidgetItem *selected = TreeList->currentItem();
    if (!selected)
        return;
    const TUndoMacro step(*UndoStack, QStringLiteral("하위메뉴 추가"));
    addChildEntry(selected);
    DoEdit();
}

void TfrmMain::DoAddSeperate()
{
    QTreeWidgetItem *selected = TreeList->currentItem();
    if (!selected)
        return;
    addChildEntry(selected, [](TMenuCollectionItem &separator) {
        separator.SetCaption(QStringLiteral("-"));
        separator.SetButtons({});
        separator.SetOptions({});
    });
}

void TfrmMain::addChildEntry(QTreeWidgetItem *parent, const std::function<void(TMenuCollectionItem &)> &fill)
{
    DataChanged = true;
    TMenuCollectionItem *entry = MenuManager->Items().Add();
    if (fill)
        fill(*entry);
    entry->SetGroup(NodeEntry(parent)->Group());
    entry->SetPermission(NodeEntry(parent)->Permission());
    auto *node = new TMenuTreeNode(parent, entry);
    node->setText(0, entry->Caption());
    parent->setExpanded(true);
    TreeListGetImageIndex(parent);
    showAdded(node, parent);
}

void TfrmMain::showAdded(QTreeWidgetItem *node, QTreeWidgetItem *selectedBefore)
{
    TreeListGetImageIndex(node);
    FocusNode(node);
    recordAdded(node, selectedBefore);
}

void TfrmMain::DoCopy()
{
    QTreeWidgetItem *selected = TreeList->currentItem();
    if (!selected)
        return;
    const TUndoMacro step(*UndoStack, QStringLiteral("메뉴 복사"));
    DataChanged = true;
    TMenuCollectionItem *entry = MenuManager->Items().Add();
    entry->Assign(*NodeEntry(selected));
    QTreeWidgetItem *node = selected->parent() ? new TMenuTreeNode(selected->parent(), entry)
                                               : new TMenuTreeNode(TreeList, entry);
    node->setText(0, selected->text(0));
    entry->SetGroup(DefaultMenuGroup);
    showAdded(node, selected);
    DoEdit();
}

void TfrmMain::DoDelete()
{
    QTreeWidgetItem *selected = TreeList->currentItem();
    if (!selected)
        return;
    if (Prompter().Ask(kConfirmCaption, QStringLiteral("현재 메뉴 및 하위메뉴를 삭제하시겠습니까 ?"),
                       QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        != QMessageBox::Ok)
        return;
    // The node with its subtree, and the entries of all of them, leave the
    // document; the step keeps them for undo.
    UndoStack->push(new TNodesCommand(*this, QStringLiteral("메뉴 삭제"), TNodesCommand::nkDeleted, {selected},
                                      selected));
}

void TfrmMain::recordAdded(QTreeWidgetItem *node, QTreeWidgetItem *selectedBefore)
{
    UndoStack->push(new TNodesCommand(*this, QString(), TNodesCommand::nkAdded, {node}, selectedBefore));
}

// ---------------------------------------------------------------------------
// Moves

void TfrmMain::ExecuteMoveUp()
{
    QTreeWidgetItem *selected = TreeList->currentItem();
    if (!selected)
        return;
    // The node shown directly above the selected one.
    QTreeWidgetItem *above = PreviousNode(TreeList, selected);
    if (!above)
        return;
    while (!NodeVisible(above))
        above = above->parent();
    const QString text = QStringLiteral("위로");
    if (NodeLevel(above) == NodeLevel(selected) || above == selected->parent())
        UndoStack->push(new TMoveCommand(*this, text, selected, above, mpBefore, selected));
    else if (above->parent())
        UndoStack->push(new TMoveCommand(*this, text, selected, above->parent(), mpLastChild, selected));
}

void TfrmMain::ExecuteMoveDown()
{
    QTreeWidgetItem *selected = TreeList->currentItem();
    if (!selected)
        return;
    QTreeWidgetItem *below = FindMoveDownTarget(selected);
    if (!below)
        return;
    const QString text = QStringLiteral("아래로");
    if (below->childCount() > 0 && below->isExpanded())
        UndoStack->push(new TMoveCommand(*this, text, selected, below, mpFirstChild, selected));
    else if (NodeLevel(below) == NodeLevel(selected))
        UndoStack->push(new TMoveCommand(*this, text, below, selected, mpBefore, selected));
    else
        UndoStack->push(new TMoveCommand(*this, text, selected, below, mpBefore, selected));
}

bool TfrmMain::TreeListDragOver()
{
    return true;
}

void TfrmMain::TreeListDragDrop(int X, int Y)
{
    QTreeWidgetItem *dragged = TreeList->currentItem();
    QTreeWidgetItem *target = TreeList->itemAt(X, Y);
    if (!dragged || !target || InsideSubtree(target, dragged))
        return;
    const QString text = QStringLiteral("끌어 놓기");
    if (X <= TreeList->indentation())
        UndoStack->push(new TMoveCommand(*this, text, dragged, target, mpBefore, dragged));
    else // as the target's last child, shown collapsed as a rebuilt subtree is
        UndoStack->push(new TMoveCommand(*this, text, dragged, target, mpLastChild, dragged, true));
}

// ---------------------------------------------------------------------------
// Search

bool TfrmMain::anyEntryMatches() const
{
    const TMenuCollection &items = MenuManager->Items();
    for (qsizetype i = 0; i < items.Count(); ++i)
        if (MatchesSearch(*items.Items(i), FindMethod, FindName))
            return true;
    return false;
}

bool TfrmMain::findFrom(QTreeWidgetItem *from)
{
    if (!from || !anyEntryMatches())
        return false;
    // Display order from `from` to the end, collapsed branches included.
    for (QTreeWidgetItemIterator it(from); *it; ++it) {
        QTreeWidgetItem *node = *it;
        if (!MatchesSearch(*NodeEntry(node), FindMethod, FindName))
            continue;
        for (QTreeWidgetItem *p = node->parent(); p; p = p->parent())
            p->setExpanded(true);
        TreeList->setFocus();
        TreeList->setCurrentItem(node);
        node->setSelected(true);
        TreeList->scrollToItem(node, QAbstractItemView::PositionAtTop);
        return true;
    }
    return false;
}

void TfrmMain::ExecuteFind()
{
    if (!SearchMenu(FindMethod, FindName))
        return;
    if (!findFrom(TreeList->topLevelItem(0)))
        Prompter().ShowMessage(QStringLiteral("%1을(를) 찾을 수 없습니다").arg(FindName));
}

void TfrmMain::FindNext()
{
    QTreeWidgetItem *selected = TreeList->currentItem();
    QTreeWidgetItem *start = TreeList->topLevelItem(0);
    if (selected) {
        QTreeWidgetItemIterator after(selected);
        start = *++after;
    }
    if (!findFrom(start))
        Prompter().ShowMessage(QStringLiteral("%1을(를) 더이상 찾을 수 없습니다").arg(FindName));
}

// ---------------------------------------------------------------------------
// Level calculator

void TfrmMain::tbCalcClick()
{
    const int mask = LevelCalculator();
    if (mask != -1)
        Level->setText(QString::number(mask));
}
