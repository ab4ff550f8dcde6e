// The menu manager's definition, loading, lookup tables and permission tests
// (unit vrelMenu).
#include "vrelMenu.h"

#include "vrelPrompt.h"

#include <QFileInfo>

TVrelMenuManager *MenuManager = nullptr;

const QString TVrelMenuManager::kNoMenuFile = QStringLiteral("메뉴 파일이 없습니다");

namespace {
// The key an entry's caption is entered under.
QString captionKey(const TMenuCollectionItem &item)
{
    return TrimControl(item.Caption());
}

bool hasCodeKey(const TMenuCollectionItem &item)
{
    return !item.Command().isEmpty() && item.Command() != u"0000";
}

// Adds a key unless it is empty; a key already present keeps its first entry.
void enter(TVrelHashList &table, const QString &key, TMenuCollectionItem &item)
{
    if (!key.isEmpty())
        table.Add(key, QString(), &item);
}

// Removes a key only when it refers to `item`.
void leave(TVrelHashList &table, const QString &key, const TMenuCollectionItem &item)
{
    if (key.isEmpty())
        return;
    TVrelHashLock lock(table);
    const PHashData p = table.Search(key);
    if (p && p->Data == &item)
        table.Delete(key);
}
} // namespace

TVrelMenuManager::TVrelMenuManager(QObject *AOwner)
    : QObject(AOwner),
      FWindowCascade(QStringLiteral("계단식 정렬(&C)")),
      FWindowCloseAll(QStringLiteral("모두 닫기(&A)")),
      FWindowTileHorz(QStringLiteral("수평 바둑판식 정렬(&H)")),
      FWindowTileVert(QStringLiteral("수직 바둑판식 정렬(&V)"))
{
}

TVrelMenuManager::~TVrelMenuManager()
{
    Clear();
    FForm = nullptr;
}

void TVrelMenuManager::SetPath(const QString &Value)
{
    FPath = Value.endsWith(u'/') ? Value : Value + u'/';
}

bool TVrelMenuManager::SetFileName(const QString &Value)
{
    if (Value == FFileName)
        return true;
    setFileParts(Value);
    return LoadFromFile();
}

void TVrelMenuManager::setFileParts(const QString &AFileName)
{
    const qsizetype slash = AFileName.lastIndexOf(u'/');
    FPath = AFileName.left(slash + 1);
    FFileName = AFileName.sliced(slash + 1);
}

void TVrelMenuManager::TakeLoaded(const QString &AFileName, TMenuCollection &ARead)
{
    setFileParts(AFileName);
    FLastError.clear();
    FItems.SetSaveMode(smText);
    Clear();
    FItems.TakeItems(ARead);
    for (qsizetype i = 0; i < FItems.Count(); ++i)
        RegisterItem(*FItems.Items(i));
    if (OnLoad)
        OnLoad(this);
}

bool TVrelMenuManager::LoadFromFile()
{
    const QString name = FPath + FFileName;
    FLastError.clear();
    if (!QFileInfo(name).isFile()) {
        FLastError = kNoMenuFile;
        Prompter().ShowMessage(kNoMenuFile);
        return false;
    }
    try {
        FItems.SetSaveMode(smText);
        Clear();
        // Each entry registers itself through AfterParse as soon as it is read.
        if (!FItems.LoadFromFile(name, FCompress)) {
            FLastError = kNoMenuFile; // gone since it was looked for
            return false;
        }
        if (OnLoad)
            OnLoad(this);
    } catch (const EVrelError &e) {
        FLastError = e.Message();
        return false;
    } catch (const std::exception &e) {
        FLastError = QString::fromLocal8Bit(e.what());
        return false;
    }
    return true;
}

void TVrelMenuManager::Append(const QString &AFileName)
{
    TMenuCollection appended; // no owner: its entries register nothing while read
    if (!appended.LoadFromFile(AFileName, true))
        throw EFOpenError(AFileName, QStringLiteral("No such file or directory"));
    for (qsizetype i = 0; i < appended.Count(); ++i) {
        TMenuCollectionItem *item = FItems.Add();
        item->Assign(*appended.Items(i));
        item->AfterParse();
    }
}

void TVrelMenuManager::Clear()
{
    // The tables are emptied first, so the entries leaving Items have no keys
    // to take with them.
    FListCode.Clear();
    FListParam.Clear();
    FListCaption.Clear();
    FModule.Clear();
    FEmptying = true;
    FItems.Clear();
    FEmptying = false;
}

void TVrelMenuManager::RegisterItem(TMenuCollectionItem &AItem)
{
    enter(FListCaption, captionKey(AItem), AItem);
    if (hasCodeKey(AItem))
        enter(FListCode, AItem.Command(), AItem);
    enter(FListParam, AItem.Parameters(), AItem);
    if (!AItem.Parameters().isEmpty() && !AItem.ModuleName().isEmpty())
        FModule.Add(AItem.ModuleName() + u'=' + AItem.Parameters());
}

void TVrelMenuManager::UnregisterItem(TMenuCollectionItem &AItem)
{
    if (FEmptying)
        return;
    leave(FListCaption, captionKey(AItem), AItem);
    if (hasCodeKey(AItem))
        leave(FListCode, AItem.Command(), AItem);
    leave(FListParam, AItem.Parameters(), AItem);
    // The module table holds names only, no reference to the entry.
}

bool TVrelMenuManager::CheckLevel(int APermission) const
{
    if (APermission < 0 || APermission > 65535)
        throw ERangeError();
    return MatchPermission(FLevel, APermission);
}

void TVrelMenuManager::SetLevel(int ALevel, bool AValue)
{
    if (ALevel < 0 || ALevel > 15)
        return;
    if (AValue)
        SetBit(FLevel, ALevel);
    else
        ClearBit(FLevel, ALevel);
}

TMenuCollectionItem *TVrelMenuManager::lookup(const TVrelHashList &table, const QString &key) const
{
    TVrelHashLock lock(table);
    const PHashData p = table.Search(key);
    return p ? static_cast<TMenuCollectionItem *>(p->Data) : nullptr;
}

TMenuCollectionItem *TVrelMenuManager::FindByCaption(const QString &ACaption) const
{
    return lookup(FListCaption, ACaption);
}

TMenuCollectionItem *TVrelMenuManager::FindByCode(const QString &ACode) const
{
    return lookup(FListCode, ACode);
}

TMenuCollectionItem *TVrelMenuManager::FindByParam(const QString &AParam) const
{
    return lookup(FListParam, UpperCaseAscii(AParam));
}

QString TVrelMenuManager::FindCaption(const QString &ACode) const
{
    const TMenuCollectionItem *item = FindByCode(ACode);
    return item ? item->Caption() : QString();
}

QString TVrelMenuManager::FindGroup(const QString &ACode) const
{
    return FindCaption(ACode);
}

int TVrelMenuManager::FindIndex(const QString &ACode) const
{
    const TMenuCollectionItem *item = FindByCode(ACode);
    return item ? int(item->Index()) : -1;
}

TMenuCollectionItem *TVrelMenuManager::FindByIndex(int AIndex) const
{
    return FItems.Items(AIndex);
}

QString TVrelMenuManager::FindModule(const QString &AFrame) const
{
    const TMenuCollectionItem *item = FindByParam(AFrame);
    if (item && item->RunStyle() == rsMap)
        return item->ModuleName();
    return FModule.Find(AFrame);
}

void TVrelMenuManager::AddChild(const QString &, TVrelForm *) {}

void TVrelMenuManager::RemoveChild(TVrelForm *) {}
