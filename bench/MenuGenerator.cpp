#include "MenuGenerator.h"

#include "vrelMenu.h"

#include <QStringList>
#include <random>

namespace {

const QStringList kSubjects{u"고객"_qs, u"거래처"_qs, u"상품"_qs,   u"주문"_qs, u"매출"_qs,   u"매입"_qs,
                            u"재고"_qs, u"사원"_qs,   u"급여"_qs,   u"회계"_qs, u"세금계산서"_qs, u"배송"_qs,
                            u"반품"_qs, u"견적"_qs,   u"계약"_qs,   u"창고"_qs, u"부서"_qs,   u"코드"_qs};
const QStringList kActions{u"등록"_qs,   u"조회"_qs,   u"수정"_qs,   u"리스트"_qs, u"현황"_qs,
                           u"집계표"_qs, u"마감"_qs,   u"출력"_qs,   u"승인"_qs,   u"이력 조회"_qs};
const QStringList kFolders{u"관리"_qs, u"업무"_qs, u"정보"_qs, u"보고서"_qs, u"설정"_qs};

class Generator {
public:
    Generator(TMenuCollection &items, const TMenuGeneratorOptions &options)
        : FItems(items), FOptions(options), FRandom(options.Seed)
    {
    }

    void Run()
    {
        while (FItems.Count() < FOptions.Entries)
            addFolder(1, QString());
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(FRandom); }
    const QString &pick(const QStringList &list) { return list[between(0, int(list.size()) - 1)]; }
    bool full() const { return FItems.Count() >= FOptions.Entries; }

    // A folder entry at `level` (1 = top level) and its subtree, whose
    // entries stay within MaxDepth levels; `top` is the top-level caption
    // (empty for a top-level folder, which is its own top).
    void addFolder(int level, const QString &top)
    {
        TMenuCollectionItem *folder = FItems.Add();
        const QString caption = pick(kSubjects) + u' ' + pick(kFolders);
        const QString ownTop = top.isEmpty() ? caption : top;
        folder->SetCaption(caption);
        folder->SetTop(ownTop);
        folder->SetRunStyle(rsNone);
        folder->SetPermission(65535);
        if (between(0, 3) == 0)
            folder->SetShortCaption(pick(kSubjects));
        int children = 0;
        const int wanted = between(3, 12);
        for (int i = 0; i < wanted && !full(); ++i, ++children) {
            if (level + 2 <= FOptions.MaxDepth && between(0, 4) == 0)
                addFolder(level + 1, ownTop);
            else if (between(0, 9) == 0)
                addSeparator(ownTop);
            else
                addScreen(ownTop);
        }
        folder->SetCount(children);
    }

    void addSeparator(const QString &top)
    {
        TMenuCollectionItem *e = FItems.Add();
        e->SetCaption(QStringLiteral("-"));
        e->SetTop(top);
        e->SetButtons({});
        e->SetOptions({});
        e->SetPermission(65535);
    }

    void addScreen(const QString &top)
    {
        TMenuCollectionItem *e = FItems.Add();
        const QString code = QString::number(1000 + (FNextCode++ % 9000));
        const QString name = pick(kSubjects) + u' ' + pick(kActions);
        e->SetCaption(QStringLiteral("[%1] %2").arg(code, name));
        e->SetCommand(code);
        e->SetModuleName(code);
        e->SetTop(top);
        e->SetPermission(between(1, 65535));
        e->SetHint(name + QStringLiteral(" 화면"));
        if (between(0, 4) == 0)
            e->SetHotKey(QStringLiteral("Ctrl+F%1").arg(between(1, 12)));
        if (between(0, 6) == 0) {
            e->SetRunStyle(rsMap);
            e->SetParameters(QStringLiteral("frm%1").arg(code));
        }
        if (between(0, 9) == 0)
            e->SetGroup(pick(kSubjects) + QStringLiteral("그룹"));
        e->SetScreenStyle(between(0, 2));
        e->SetImageIndex(between(-1, 40));
    }

    TMenuCollection &FItems;
    TMenuGeneratorOptions FOptions;
    std::mt19937 FRandom;
    int FNextCode = 0;
};

} // namespace

void GenerateMenu(TMenuCollection &items, const TMenuGeneratorOptions &options)
{
    Generator(items, options).Run();
}
