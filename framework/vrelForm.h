// The screen form base: every screen that a screen module delivers derives
// from TVrelForm. Besides the form it holds the screen's parameter lists
// (TVrelParams) and link menu entries (TLinkMenuItem, TLinkMenuItems).
#pragma once

#include "vrelLink.h"
#include "vrelStringList.h"

#include <QString>
#include <memory>
#include <vector>

class QObject;

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
