#include "vrelMenu.h"

TMenuCollectionItem *TMenuCollectionItem::Create(TMenuCollection &collection)
{
    return collection.Add();
}

const TPropList &TMenuCollectionItem::PropertyList()
{
    using T = TMenuCollectionItem;
    static const TPropList list({
        Prop::Set<&T::FButtons>("Buttons", kCaptionButtonNames),
        Prop::Boolean<&T::FCache>("Cache"),
        Prop::String<&T::FCaption>("Caption"),
        Prop::Boolean<&T::FChecked>("Checked"),
        Prop::String<&T::FCommand>("Command"),
        Prop::Integer<&T::FCount>("Count"),
        Prop::Boolean<&T::FEnabled>("Enabled"),
        Prop::String<&T::FGroup>("Group"),
        Prop::Integer<&T::FGroupIndex>("GroupIndex"),
        Prop::Boolean<&T::FHidden>("Hidden"),
        Prop::String<&T::FHint>("Hint"),
        Prop::String<&T::FHotKey>("HotKey"),
        Prop::Integer<&T::FImageIndex>("ImageIndex"),
        Prop::Enumeration<&T::FMenuStyle>("MenuStyle", kMenuStyleNames),
        Prop::String<&T::FModuleName>("ModuleName"),
        Prop::Set<&T::FOptions>("Options", kScreenOptionNames),
        Prop::String<&T::FParameters>("Parameters"),
        Prop::String<&T::FPath>("Path"),
        Prop::Integer<&T::FPermission>("Permission"),
        Prop::Enumeration<&T::FRunStyle>("RunStyle", kRunStyleNames),
        Prop::Integer<&T::FScreenStyle>("ScreenStyle"),
        Prop::Boolean<&T::FSearch>("Search"),
        Prop::String<&T::FShortCaption>("ShortCaption"),
        Prop::Integer<&T::FTabIndex>("TabIndex"),
        Prop::Integer<&T::FTag>("Tag"),
        Prop::Boolean<&T::FToogle>("Toogle"),
        Prop::String<&T::FTop>("Top"),
        Prop::Boolean<&T::FUnLoad>("UnLoad"),
        Prop::Boolean<&T::FVisible>("Visible"),
    });
    return list;
}

void TMenuCollectionItem::Assign(const TXMLCollectionItem &source)
{
    const auto *s = dynamic_cast<const TMenuCollectionItem *>(&source);
    if (!s)
        return TXMLCollectionItem::Assign(source);
    FButtons = s->FButtons;
    FCache = s->FCache;
    FCaption = s->FCaption;
    FChecked = s->FChecked;
    FCommand = s->FCommand;
    FCount = s->FCount;
    FEnabled = s->FEnabled;
    FGroup = s->FGroup;
    FGroupIndex = s->FGroupIndex;
    FHidden = s->FHidden;
    FHint = s->FHint;
    FHotKey = s->FHotKey;
    FImageIndex = s->FImageIndex;
    FMenuStyle = s->FMenuStyle;
    FModuleName = s->FModuleName;
    FNoAdd = s->FNoAdd;
    FPath = s->FPath;
    FParameters = s->FParameters;
    FOptions = s->FOptions;
    FPermission = s->FPermission;
    FRunStyle = s->FRunStyle;
    FScreenStyle = s->FScreenStyle;
    FSearch = s->FSearch;
    FShortCaption = s->FShortCaption;
    FTabIndex = s->FTabIndex;
    FTag = s->FTag;
    FToogle = s->FToogle;
    FTop = s->FTop;
    FUnLoad = s->FUnLoad;
    FVisible = s->FVisible;
}

TMenuCollection *TMenuCollectionItem::MenuCollection() const
{
    return static_cast<TMenuCollection *>(Collection());
}

void TMenuCollectionItem::AfterParse()
{
    if (TMenuCollection *c = MenuCollection(); c && c->Owner())
        c->Owner()->RegisterItem(*this);
}

QString TrimControl(QStringView text)
{
    while (!text.isEmpty() && text.front().unicode() <= 32)
        text = text.sliced(1);
    while (!text.isEmpty() && text.back().unicode() <= 32)
        text.chop(1);
    return text.toString();
}

QString TrimControl(const QString &text)
{
    if (text.isEmpty() || (text.front().unicode() > 32 && text.back().unicode() > 32))
        return text;
    return TrimControl(QStringView(text));
}

QString UpperCaseAscii(QStringView text)
{
    QString out = text.toString();
    for (QChar &c : out)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    return out;
}

QString UpperCaseAscii(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            return UpperCaseAscii(QStringView(text));
    return text;
}

QString TMenuCollectionItem::Name() const
{
    const qsizetype bracket = FCaption.indexOf(u']');
    if (bracket < 0)
        return FCaption;
    return TrimControl(QStringView(FCaption).sliced(bracket + 1));
}

TMenuCollection::~TMenuCollection() = default;

std::unique_ptr<TXMLCollectionItem> TMenuCollection::NewItem() const
{
    return std::unique_ptr<TXMLCollectionItem>(new TMenuCollectionItem());
}

void TMenuCollection::ItemRemoving(TXMLCollectionItem &item)
{
    if (FOwner)
        FOwner->UnregisterItem(static_cast<TMenuCollectionItem &>(item));
}
