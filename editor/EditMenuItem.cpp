#include "EditMenuItem.h"

#include "Global.h"
#include "HangulEdit.h"
#include "vrelHash.h"
#include "vrelCodePage.h"
#include "vrelIniFile.h"
#include "vrelMenu.h"
#include "vrelPrompt.h"
#include "vrelShortCut.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>


namespace {

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_AltGr || key == Qt::Key_unknown;
}

// Integer of a number field as the dialog reads it; `fallback` for text that
// is no 32-bit integer.
qint32 fieldInteger(const QLineEdit *edit, qint32 fallback)
{
    qint64 value = 0;
    if (!TVrelIniFile::ParseInteger(edit->text().trimmed(), value) || value < INT32_MIN || value > INT32_MAX)
        return fallback;
    return qint32(value);
}

// Why `value` cannot be stored as the string property `property` of an entry
// in a menu file, or an empty text when it can. A menu file holds each entry
// on one line of code page 949 text with no escaping.
QString storageProblem(const QString &label, const char *property, const QString &value)
{
    if (value.contains(u'\r') || value.contains(u'\n'))
        return QStringLiteral("%1: 줄 바꿈은 메뉴 파일에 저장할 수 없습니다.").arg(label);
    if (fromCodePage(toCodePage(value)) != value)
        return QStringLiteral("%1: 메뉴 파일(코드 페이지 949)에 저장할 수 없는 문자가 있습니다.").arg(label);
    // Store the value in an entry of its own and read the line back: every
    // property must come back as it was.
    TMenuCollection scratch;
    TMenuCollectionItem *written = scratch.Add();
    const TPropList &props = TMenuCollectionItem::PropertyList();
    props.Find(property)->SetStr(*written, value);
    TMenuCollectionItem *read = scratch.Add();
    read->ParseXML(written->Entity());
    for (const TPropInfo &prop : props.Items()) {
        if (PropertyToText(*written, prop) != PropertyToText(*read, prop))
            return QStringLiteral("%1: 이 내용은 메뉴 파일에서 다른 값으로 읽힙니다. "
                                  "\"<\"와 \">\"로 된 표기를 고쳐 주십시오.")
                .arg(label);
    }
    return QString();
}

QCheckBox *newCheck(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit *newEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QComboBox *newList(QWidget *parent, const char *name, const QStringList &items)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    // Drop-down lists are chosen with the mouse or the arrow keys; Tab passes them.
    list->setFocusPolicy(Qt::ClickFocus);
    return list;
}

} // namespace

// ---------------------------------------------------------------------------
// THotKeyEdit

THotKeyEdit::THotKeyEdit(QWidget *parent) : QKeySequenceEdit(parent)
{
    setClearButtonEnabled(true);
}

void THotKeyEdit::keyPressEvent(QKeyEvent *event)
{
    // Tab and Backtab move on as in every other field.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        && (event->modifiers() & ~Qt::ShiftModifier) == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!isModifierKey(event->key()) && !keySequence().isEmpty())
        clear();
    QKeySequenceEdit::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// TfrmEditMenuItem

TfrmEditMenuItem::TfrmEditMenuItem(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("메뉴 속성 편집"));
    setFont(EditorFont());
    buildLayout();
    setTabOrder();
    FormCreate();
}

void TfrmEditMenuItem::buildLayout()
{
    // 속성(&P): the labelled fields, top to bottom.
    auto *properties = new QGroupBox(QStringLiteral("속성(&P)"), this);
    cbGroup = newList(properties, "cbGroup", {QStringLiteral("공통")});
    cbMenuStyle = newList(properties, "cbMenuStyle",
                          {QStringLiteral("일반 메뉴"), QStringLiteral("다른 메뉴 포함"), QStringLiteral("창 메뉴"),
                           QStringLiteral("개별 창")});
    cbRunStyle = newList(properties, "cbRunStyle",
                         {QStringLiteral("아무일도 하지 않음"), QStringLiteral("명령"), QStringLiteral("내부 FORM "),
                          QStringLiteral("외부 모듈"), QStringLiteral("MAP"), QStringLiteral("내부 WEB"),
                          QStringLiteral("외부 WEB"), QStringLiteral("외부 실행프로그램")});
    // Only a choice of the user runs the handler; filling the list does not.
    connect(cbRunStyle, &QComboBox::activated, this, &TfrmEditMenuItem::cbRunStyleChange);
    cbScreenStyle = newList(properties, "cbScreenStyle",
                            {QStringLiteral("MDI Child"), QStringLiteral("일반 폼"), QStringLiteral("모달 폼")});
    // Captions are Korean: the field asks the input method for Hangul.
    eCaption = new THangulEdit(properties);
    eCaption->setObjectName(QStringLiteral("eCaption"));
    eShort = newEdit(properties, "eShort");
    eHint = newEdit(properties, "eHint");
    eHint->setFocusPolicy(Qt::ClickFocus);
    cbIcon = newList(properties, "cbIcon",
                     {QStringLiteral("이미지없음"), QStringLiteral("주요화면"), QStringLiteral("내부WEB"),
                      QStringLiteral("외부WEB"), QStringLiteral("신규화면")});
    eTRCode = newEdit(properties, "eTRCode");
    eTRCode->installEventFilter(this);
    ePath = newEdit(properties, "ePath");
    ePath->setFocusPolicy(Qt::ClickFocus);
    eModule = newEdit(properties, "eModule");
    eFrame = newEdit(properties, "eFrame");
    eTabIndex = newEdit(properties, "eTabIndex");

    auto *form = new QGridLayout(properties);
    form->setVerticalSpacing(3);
    const std::pair<const char *, QWidget *> rows[] = {
        {"메뉴그룹", cbGroup},  {"메뉴종류", cbMenuStyle}, {"실행방법", cbRunStyle},   {"화면속성", cbScreenStyle},
        {"메뉴명", eCaption},   {"단축메뉴명", eShort},    {"힌트", eHint},           {"아이콘 종류", cbIcon},
        {"서비스 코드", eTRCode}, {"경로(URL)", ePath},     {"모듈명", eModule},       {"파라메터", eFrame},
        {"탭 번호", eTabIndex},
    };
    int row = 0;
    for (const auto &[label, field] : rows) {
        auto *text = new QLabel(QString::fromUtf8(label), properties);
        text->setBuddy(field);
        form->addWidget(text, row, 0);
        form->addWidget(field, row, 1);
        ++row;
    }
    form->setColumnStretch(1, 1);

    // 메뉴옵션(&M): shortcut and numbers on the left, states on the right.
    auto *menuOptions = new QGroupBox(QStringLiteral("메뉴옵션(&M)"), this);
    eShortCut = new THotKeyEdit(menuOptions);
    eShortCut->setObjectName(QStringLiteral("eShortCut"));
    connect(eShortCut, &QKeySequenceEdit::keySequenceChanged, this, [this] { FHotKeyEdited = true; });
    eGroupIndex = newEdit(menuOptions, "eGroupIndex");
    eTag = newEdit(menuOptions, "eTag");
    cbHidden = newCheck(menuOptions, "cbHidden", QStringLiteral("메뉴 감춤"));
    cbChecked = newCheck(menuOptions, "cbChecked", QStringLiteral("선택상태"));
    cbToogle = newCheck(menuOptions, "cbToogle", QStringLiteral("선택/비선택 반복"));
    cbEnable = newCheck(menuOptions, "cbEnable", QStringLiteral("활성상태"));
    auto *menuGrid = new QGridLayout(menuOptions);
    menuGrid->setVerticalSpacing(3);
    const std::pair<const char *, QWidget *> menuFields[] = {
        {"단축키", eShortCut}, {"그룹번호", eGroupIndex}, {"태그번호", eTag}};
    row = 0;
    for (const auto &[label, field] : menuFields) {
        auto *text = new QLabel(QString::fromUtf8(label), menuOptions);
        text->setBuddy(field);
        menuGrid->addWidget(text, row, 0);
        menuGrid->addWidget(field, row, 1);
        ++row;
    }
    menuGrid->addWidget(cbHidden, 0, 2);
    menuGrid->addWidget(cbChecked, 1, 2);
    menuGrid->addWidget(cbToogle, 2, 2);
    menuGrid->addWidget(cbEnable, 3, 2);
    menuGrid->setColumnStretch(1, 1);
    menuGrid->setColumnMinimumWidth(2, 130);

    // 화면옵션(&S): screen options on the left, caption buttons on the right.
    auto *screenOptions = new QGroupBox(QStringLiteral("화면옵션(&S)"), this);
    cbMulti = newCheck(screenOptions, "cbMulti", QStringLiteral("복수실행 허용"));
    cbMini = newCheck(screenOptions, "cbMini", QStringLiteral("미니로 카운트"));
    cbTop = newCheck(screenOptions, "cbTop", QStringLiteral("항상 위"));
    cbTab = newCheck(screenOptions, "cbTab", QStringLiteral("탭 사용"));
    cbSearch = newCheck(screenOptions, "cbSearch", QStringLiteral("검색 가능"));
    cbHelp = newCheck(screenOptions, "cbHelp", QStringLiteral("도움말"));
    cbSDI = newCheck(screenOptions, "cbSDI", QStringLiteral("독립화면"));
    cbLock = newCheck(screenOptions, "cbLock", QStringLiteral("화면고정"));
    cbZoom = newCheck(screenOptions, "cbZoom", QStringLiteral("화면확대/축소"));
    auto *screenGrid = new QGridLayout(screenOptions);
    screenGrid->setVerticalSpacing(3);
    row = 0;
    for (QCheckBox *box : {cbMulti, cbMini, cbTop, cbTab, cbSearch})
        screenGrid->addWidget(box, row++, 0);
    row = 0;
    for (QCheckBox *box : {cbHelp, cbSDI, cbLock, cbZoom})
        screenGrid->addWidget(box, row++, 1);

    // 성능옵션
    auto *performance = new QGroupBox(QStringLiteral("성능옵션"), this);
    cbCache = newCheck(performance, "cbCache", QStringLiteral("프로그램 기동시 DLL을 미리 로드함"));
    cbUnLoad = newCheck(performance, "cbUnLoad", QStringLiteral("가비지 콜렉션에서 제외"));
    auto *performanceBox = new QVBoxLayout(performance);
    performanceBox->setSpacing(3);
    performanceBox->addWidget(cbCache);
    performanceBox->addWidget(cbUnLoad);

    // 사용권한(&M): sixteen boxes in four columns of four, the cascade box
    // below them, the select buttons on the right.
    auto *permissions = new QGroupBox(QStringLiteral("사용권한(&M)"), this);
    auto *levelGrid = new QGridLayout;
    levelGrid->setVerticalSpacing(3);
    for (int i = 1; i <= 16; ++i) {
        QCheckBox *box = newCheck(permissions, "", QStringLiteral("Level #%1").arg(i, 2, 10, QLatin1Char('0')));
        box->setObjectName(QStringLiteral("cbLevel%1").arg(i, 2, 10, QLatin1Char('0')));
        cbLevel[size_t(i - 1)] = box;
        levelGrid->addWidget(box, (i - 1) % 4, (i - 1) / 4);
    }
    cbPermission = newCheck(permissions, "cbPermission", QStringLiteral("하위 메뉴의 권한도 동일하게 설정"));
    sbSelectAll = new QToolButton(permissions);
    sbSelectAll->setObjectName(QStringLiteral("sbSelectAll"));
    sbSelectAll->setText(QStringLiteral("모두선택(&S)"));
    sbSelectAll->setAutoRaise(true);
    sbSelectAll->setFocusPolicy(Qt::StrongFocus);
    sbSelectNone = new QToolButton(permissions);
    sbSelectNone->setObjectName(QStringLiteral("sbSelectNone"));
    sbSelectNone->setText(QStringLiteral("모두해제(&U)"));
    sbSelectNone->setAutoRaise(true);
    sbSelectNone->setFocusPolicy(Qt::StrongFocus);
    connect(sbSelectAll, &QToolButton::clicked, this, &TfrmEditMenuItem::sbSelectAllClick);
    connect(sbSelectNone, &QToolButton::clicked, this, &TfrmEditMenuItem::sbSelectNoneClick);
    auto *selectButtons = new QVBoxLayout;
    selectButtons->addWidget(sbSelectAll);
    selectButtons->addWidget(sbSelectNone);
    selectButtons->addStretch();
    auto *permissionLeft = new QVBoxLayout;
    permissionLeft->addLayout(levelGrid);
    permissionLeft->addWidget(cbPermission);
    auto *permissionBox = new QHBoxLayout(permissions);
    permissionBox->addLayout(permissionLeft, 1);
    permissionBox->addLayout(selectButtons);

    btnOK = new QPushButton(QStringLiteral("확인"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("취소"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, &TfrmEditMenuItem::Confirm);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *rightColumn = new QVBoxLayout;
    rightColumn->addWidget(menuOptions);
    rightColumn->addWidget(screenOptions);
    rightColumn->addWidget(performance);
    rightColumn->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(properties, 1);
    top->addLayout(rightColumn, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnOK);
    bottom->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(permissions);
    layout->addLayout(bottom);
    setFixedSize(693, 513);
}

void TfrmEditMenuItem::setTabOrder()
{
    QWidget *const order[] = {eCaption, eShort, eTRCode, eModule, eFrame, eTabIndex, eShortCut, eGroupIndex,
                              eTag, cbHidden, cbChecked, cbToogle, cbEnable, cbMulti, cbMini, cbTop, cbTab,
                              cbSearch, cbHelp, cbSDI, cbLock, cbZoom, cbCache, cbUnLoad};
    QWidget *previous = nullptr;
    auto chain = [&](QWidget *next) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (QWidget *w : order)
        chain(w);
    for (QCheckBox *box : cbLevel)
        chain(box);
    chain(cbPermission);
    chain(sbSelectAll);
    chain(sbSelectNone);
    chain(btnOK);
    chain(btnCancel);
}

void TfrmEditMenuItem::FormCreate()
{
    InitLevels();
    cbGroup->clear();
    cbGroup->addItems(MenuGroupNames);
    cbGroup->setCurrentIndex(-1);
}

void TfrmEditMenuItem::InitLevels()
{
    for (int i = 1; i <= 16; ++i) {
        ALevels[size_t(i)] = cbLevel[size_t(i - 1)];
        if (i - 1 < UserGroupNames.size())
            ALevels[size_t(i)]->setText(UserGroupNames.at(i - 1));
    }
}

void TfrmEditMenuItem::LoadFrom(const TMenuCollectionItem &item)
{
    // The first list item equal to the group without regard to letter case.
    int group = -1;
    for (int i = 0; i < cbGroup->count(); ++i) {
        if (cbGroup->itemText(i).compare(item.Group(), Qt::CaseInsensitive) == 0) {
            group = i;
            break;
        }
    }
    cbGroup->setCurrentIndex(group);
    cbMenuStyle->setCurrentIndex(int(item.MenuStyle()));
    cbRunStyle->setCurrentIndex(int(item.RunStyle()));
    // An index outside a list selects nothing.
    cbScreenStyle->setCurrentIndex(item.ScreenStyle() >= 0 && item.ScreenStyle() < cbScreenStyle->count()
                                       ? item.ScreenStyle()
                                       : -1);
    eCaption->setText(item.Caption());
    eShort->setText(item.ShortCaption());
    eHint->setText(item.Hint());
    eTRCode->setText(item.Command());
    cbIcon->setCurrentIndex(item.ImageIndex() >= -1 && item.ImageIndex() + 1 < cbIcon->count()
                                ? item.ImageIndex() + 1
                                : -1);
    ePath->setText(item.Path());
    eModule->setText(item.ModuleName());
    eFrame->setText(item.Parameters());
    eTabIndex->setText(QString::number(item.TabIndex()));
    eShortCut->setKeySequence(TextToShortCut(item.HotKey()));
    FHotKeyEdited = false;
    eGroupIndex->setText(QString::number(item.GroupIndex()));
    eTag->setText(QString::number(item.Tag()));
    cbHidden->setChecked(item.Hidden());
    cbChecked->setChecked(item.Checked());
    cbToogle->setChecked(item.Toogle());
    cbEnable->setChecked(item.Enabled());
    Permition = quint16(item.Permission() & 0xFFFF);
    cbCache->setChecked(item.Cache());
    cbUnLoad->setChecked(item.UnLoad());
    cbMulti->setChecked(item.Options().Contains(soMulti));
    cbMini->setChecked(item.Options().Contains(soMini));
    cbTop->setChecked(item.Options().Contains(soTop));
    cbTab->setChecked(item.Options().Contains(soTab));
    cbSearch->setChecked(item.Search());
    cbHelp->setChecked(item.Buttons().Contains(coHelp));
    cbSDI->setChecked(item.Buttons().Contains(coSDI));
    cbLock->setChecked(item.Buttons().Contains(coLock));
    cbZoom->setChecked(item.Buttons().Contains(coZoom));
    for (int i = 1; i <= 16; ++i)
        ALevels[size_t(i)]->setChecked(TestBit(Permition, i - 1));
    FFilled = {item.Caption(), item.ShortCaption(), item.Hint(), item.Command(),
               item.Path(),    item.ModuleName(),   item.Parameters()};
}

QString TfrmEditMenuItem::CheckTexts() const
{
    struct Field {
        const char *Label;
        const char *Property;
        const QLineEdit *Edit;
        const QString &Filled;
    };
    const Field fields[] = {
        {"메뉴명", "Caption", eCaption, FFilled.Caption},
        {"단축메뉴명", "ShortCaption", eShort, FFilled.ShortCaption},
        {"힌트", "Hint", eHint, FFilled.Hint},
        {"서비스 코드", "Command", eTRCode, FFilled.Command},
        {"경로(URL)", "Path", ePath, FFilled.Path},
        {"모듈명", "ModuleName", eModule, FFilled.ModuleName},
        {"파라메터", "Parameters", eFrame, FFilled.Parameters},
    };
    // Texts as they came from the entry were read from a menu file and go
    // back unchanged; only what the user typed needs looking at.
    for (const Field &field : fields) {
        if (field.Edit->text() == field.Filled)
            continue;
        const QString problem = storageProblem(QString::fromUtf8(field.Label), field.Property, field.Edit->text());
        if (!problem.isEmpty())
            return problem;
    }
    if (cbGroup->currentIndex() >= 0)
        return storageProblem(QStringLiteral("메뉴그룹"), "Group", cbGroup->currentText());
    return QString();
}

bool TfrmEditMenuItem::Confirm()
{
    const QString problem = CheckTexts();
    if (!problem.isEmpty()) {
        Prompter().ShowMessage(problem);
        return false;
    }
    accept();
    return true;
}

void TfrmEditMenuItem::WriteBack(TMenuCollectionItem &item, bool &cascade)
{
    // 1.
    DoCheck();
    // 2. A list left without a choice keeps the entry's value.
    if (cbGroup->currentIndex() >= 0)
        item.SetGroup(cbGroup->currentText());
    item.SetMenuStyle(TMenuStyle(qMax(0, cbMenuStyle->currentIndex())));
    item.SetRunStyle(TRunStyle(qMax(0, cbRunStyle->currentIndex())));
    if (cbScreenStyle->currentIndex() >= 0)
        item.SetScreenStyle(cbScreenStyle->currentIndex());
    item.SetHidden(cbHidden->isChecked());
    // 3.
    item.SetCaption(eCaption->text());
    item.SetHint(eHint->text());
    item.SetShortCaption(eShort->text());
    item.SetCommand(eTRCode->text());
    if (cbIcon->currentIndex() >= 0)
        item.SetImageIndex(cbIcon->currentIndex() - 1);
    item.SetPath(ePath->text());
    item.SetModuleName(eModule->text());
    item.SetParameters(eFrame->text());
    // 4. A shortcut the field could not show stays as it was unless the user
    // set another one.
    item.SetTabIndex(fieldInteger(eTabIndex, 1));
    if (FHotKeyEdited)
        item.SetHotKey(ShortCutToText(eShortCut->keySequence()));
    item.SetGroupIndex(fieldInteger(eGroupIndex, 0));
    item.SetTag(fieldInteger(eTag, 0));
    // 5.
    item.SetChecked(cbChecked->isChecked());
    item.SetToogle(cbToogle->isChecked());
    item.SetEnabled(cbEnable->isChecked());
    item.SetPermission(Permition);
    item.SetCache(cbCache->isChecked());
    item.SetUnLoad(cbUnLoad->isChecked());
    // 6. coShare has no box: it stays as the entry had it.
    TScreenOptions options;
    if (cbMulti->isChecked())
        options.Include(soMulti);
    if (cbMini->isChecked())
        options.Include(soMini);
    if (cbTop->isChecked())
        options.Include(soTop);
    if (cbTab->isChecked())
        options.Include(soTab);
    item.SetOptions(options);
    item.SetSearch(cbSearch->isChecked());
    TCaptionButtons buttons;
    if (item.Buttons().Contains(coShare))
        buttons.Include(coShare);
    if (cbHelp->isChecked())
        buttons.Include(coHelp);
    if (cbSDI->isChecked())
        buttons.Include(coSDI);
    if (cbLock->isChecked())
        buttons.Include(coLock);
    if (cbZoom->isChecked())
        buttons.Include(coZoom);
    item.SetButtons(buttons);
    // 7.
    cascade = cbPermission->isChecked();
}

void TfrmEditMenuItem::cbRunStyleChange(int index)
{
    if (index == rsNone || index == rsCommand || index == rsForm || index == rsExplorer) {
        for (QCheckBox *box : {cbMulti, cbMini, cbTop, cbTab, cbHelp, cbSDI, cbLock, cbZoom})
            box->setChecked(false);
    }
}

void TfrmEditMenuItem::eTRCodeExit()
{
    if (eModule->text().isEmpty())
        eModule->setText(eTRCode->text());
}

void TfrmEditMenuItem::sbSelectAllClick()
{
    for (int i = 1; i <= 16; ++i)
        ALevels[size_t(i)]->setChecked(true);
    DoCheck();
}

void TfrmEditMenuItem::sbSelectNoneClick()
{
    for (int i = 1; i <= 16; ++i)
        ALevels[size_t(i)]->setChecked(false);
    DoCheck();
}

void TfrmEditMenuItem::DoCheck()
{
    for (int i = 1; i <= 16; ++i) {
        if (ALevels[size_t(i)]->isChecked())
            SetBit(Permition, i - 1);
        else
            ClearBit(Permition, i - 1);
    }
}

bool TfrmEditMenuItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == eTRCode && event->type() == QEvent::FocusOut)
        eTRCodeExit();
    return QDialog::eventFilter(watched, event);
}

bool ShowEditMenuItem(TMenuCollectionItem &item, bool &cascade, QWidget *parent,
                      const std::function<void(TfrmEditMenuItem &)> &interact)
{
    TfrmEditMenuItem dialog(parent);
    dialog.LoadFrom(item);
    if (interact) {
        interact(dialog);
    } else {
        // Centred on the screen, not on the main window.
        dialog.move(dialog.screen()->availableGeometry().center() - dialog.rect().center());
        dialog.exec();
    }
    if (dialog.result() != QDialog::Accepted)
        return false;
    dialog.WriteBack(item, cascade);
    return true;
}
