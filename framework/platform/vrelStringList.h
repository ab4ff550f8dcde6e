// A list of texts, each optionally carrying an object that the list owns; texts
// are compared with or without regard to letter case as chosen at creation.
// This is the one place for the name lists of the framework (loaded modules,
// window counts, "name=value" parameter lists), so that case folding is not
// scattered over the code.
#pragma once

#include "vrelErrors.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct TNoObject {};

template <class T = TNoObject>
class TVrelStringList {
public:
    explicit TVrelStringList(Qt::CaseSensitivity cs = Qt::CaseInsensitive) : FCase(cs) {}

    qsizetype Count() const { return qsizetype(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }
    Qt::CaseSensitivity CaseSensitivity() const { return FCase; }

    const QString &Strings(qsizetype index) const { return at(index).Text; }
    void SetStrings(qsizetype index, const QString &text) { at(index).Text = text; }
    T *Objects(qsizetype index) const { return at(index).Object.get(); }

    qsizetype Add(const QString &text, std::unique_ptr<T> object = {})
    {
        FItems.push_back(Item{text, std::move(object)});
        return Count() - 1;
    }

    void Delete(qsizetype index)
    {
        at(index);
        FItems.erase(FItems.begin() + index);
    }

    void Clear() { FItems.clear(); }

    qsizetype IndexOf(QStringView text) const
    {
        for (qsizetype i = 0; i < Count(); ++i)
            if (FItems[size_t(i)].Text.compare(text, FCase) == 0)
                return i;
        return -1;
    }

    // Position of the "name=value" text whose name is `name`, or -1.
    qsizetype IndexOfName(QStringView name) const
    {
        for (qsizetype i = 0; i < Count(); ++i)
            if (NameOf(FItems[size_t(i)].Text).compare(name, FCase) == 0)
                return i;
        return -1;
    }

    // Name part of a "name=value" text: everything before the first "=".
    static QStringView NameOf(const QString &text)
    {
        const qsizetype eq = text.indexOf(u'=');
        return eq < 0 ? QStringView(text) : QStringView(text).left(eq);
    }
    // Value part of a "name=value" text: everything after the first "=".
    static QString ValueOf(const QString &text)
    {
        const qsizetype eq = text.indexOf(u'=');
        return eq < 0 ? QString() : text.mid(eq + 1);
    }

    QString Names(qsizetype index) const { return NameOf(Strings(index)).toString(); }
    QString ValueFromIndex(qsizetype index) const { return ValueOf(Strings(index)); }
    QString Values(QStringView name) const
    {
        const qsizetype i = IndexOfName(name);
        return i < 0 ? QString() : ValueOf(Strings(i));
    }

    QStringList Texts() const
    {
        QStringList out;
        out.reserve(Count());
        for (const Item &item : FItems)
            out.append(item.Text);
        return out;
    }

private:
    struct Item {
        QString Text;
        std::unique_ptr<T> Object;
    };

    Item &at(qsizetype index)
    {
        if (index < 0 || index >= Count())
            throw EListError::IndexOutOfBounds(index);
        return FItems[size_t(index)];
    }
    const Item &at(qsizetype index) const { return const_cast<TVrelStringList *>(this)->at(index); }

    Qt::CaseSensitivity FCase;
    std::vector<Item> FItems;
};
