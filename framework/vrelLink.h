// Links: small messages that open screens send each other. A link carries a
// command text, named parameters ("name=value", names without regard to letter
// case) and its addressing: the route, a group filter, the receiving screen
// code and the sending window. The sender owns a link; it lives for one
// synchronous delivery (see TVrelForm::SendLink).
#pragma once

#include "vrelStringList.h"

#include <QString>
#include <QtGlobal>
#include <functional>

class QObject;
class TVrelLink;

// Route of a link.
enum TLinkTarget : int {
    stMain,        // the application's main window
    stApplication, // every open screen form
    stContainer,   // the nearest screen form that contains the sender, or the sender itself
    stWindow       // every open screen form whose ScreenID equals the link's ReceiverID
};

// Handler for sent and received links; a screen form passes itself as Sender.
using TVrelLinkEvent = std::function<void(QObject *Sender, TVrelLink &Link)>;

// The parameter rule of links and screen parameter lists: a non-empty value
// replaces the entry of that name (letter case not significant) or is
// appended; an empty value deletes the entry, so an empty value never travels.
void SetParameter(TVrelStringList<> &list, const QString &name, const QString &value);

class TVrelLink {
public:
    TVrelLink() = default;
    TVrelLink(const TVrelLink &) = delete;
    TVrelLink &operator=(const TVrelLink &) = delete;

    const QString &Command() const { return FCommand; }
    void SetCommand(const QString &value) { FCommand = value; }
    int Group() const { return FGroup; }
    void SetGroup(int value) { FGroup = value; }
    const QString &Module() const { return FModule; }
    void SetModule(const QString &value) { FModule = value; }
    const QString &ReceiverID() const { return FReceiverID; }
    void SetReceiverID(const QString &value) { FReceiverID = value; }
    // Id of the sending screen's window (TVrelForm::Handle); 0 for none.
    quintptr SenderHandle() const { return FSenderHandle; }
    void SetSenderHandle(quintptr value) { FSenderHandle = value; }
    const QString &SenderID() const { return FSenderID; }
    void SetSenderID(const QString &value) { FSenderID = value; }
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    TLinkTarget Target() const { return FTarget; }
    void SetTarget(TLinkTarget value) { FTarget = value; }

    // Sets parameter `name` to `data` by the parameter rule.
    void AddParams(const QString &name, const QString &data) { SetParameter(FParams, name, data); }

    // Number of parameters.
    qsizetype Count() const { return FParams.Count(); }
    // Reading parameters: by name (empty text when absent) and by position
    // (raising "List index out of bounds (%d)" outside 0..Count-1).
    QString Values(const QString &name) const { return FParams.Values(name); }
    bool HasParam(const QString &name) const { return FParams.IndexOfName(name) >= 0; }
    QString Names(qsizetype index) const { return FParams.Names(index); }
    QString ValueFromIndex(qsizetype index) const { return FParams.ValueFromIndex(index); }
    // The stored "name=value" text at `index`.
    const QString &Strings(qsizetype index) const { return FParams.Strings(index); }

private:
    QString FCommand;
    int FGroup = -1;
    QString FModule;
    TVrelStringList<> FParams{Qt::CaseInsensitive};
    QString FReceiverID;
    quintptr FSenderHandle = 0;
    QString FSenderID;
    int FTag = 0;
    TLinkTarget FTarget = stApplication;
};
