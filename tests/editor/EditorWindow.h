// A main window opened on a small menu definition written as an outline,
// "A(A1(A11),A2),B=1000": captions, children in brackets, siblings separated
// by commas, and an optional TR code after "=". The outline of the tree, and
// of what saving it would write, read back the same way.
#pragma once

#include "Main.h"
#include "MenuFixture.h"
#include "ScriptedPrompter.h"
#include "vrelMenu.h"

#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>
#include <vector>

// Writes the outline as a plain menu file.
inline void writeOutline(const QString &outline, const QString &fileName)
{
    TMenuCollection items;
    std::vector<TMenuCollectionItem *> open; // the entries whose children are being read
    QString word;
    auto flush = [&] {
        if (word.isEmpty())
            return;
        TMenuCollectionItem &entry = addEntry(items, word.section(u'=', 0, 0));
        if (word.contains(u'='))
            entry.SetCommand(word.section(u'=', 1));
        if (!open.empty())
            open.back()->SetCount(open.back()->Count() + 1);
        word.clear();
    };
    for (QChar c : outline) {
        if (c == u'(') {
            flush();
            open.push_back(items.Items(items.Count() - 1));
        } else if (c == u')') {
            flush();
            open.pop_back();
        } else if (c == u',') {
            flush();
        } else {
            word += c;
        }
    }
    flush();
    writeMenuFile(items, fileName);
}

// The tree as an outline of its node texts.
inline QString treeOutline(const QTreeWidgetItem *parent, const QTreeWidget *tree)
{
    QStringList parts;
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem *node = parent ? parent->child(i) : tree->topLevelItem(i);
        QString part = node->text(0);
        if (node->childCount() > 0)
            part += u'(' + treeOutline(node, tree) + u')';
        parts << part;
    }
    return parts.join(u',');
}

inline QString treeOutline(const QTreeWidget *tree)
{
    return treeOutline(nullptr, tree);
}

// The outline of a saved menu file: captions by their Count values.
inline QString fileOutline(const QString &fileName)
{
    TMenuCollection items;
    items.SetSaveMode(smText);
    if (!items.LoadFromFile(fileName))
        return u"<no file>"_qs;
    struct Node {
        QString Caption;
        std::vector<size_t> Children;
    };
    std::vector<Node> nodes{Node{}}; // 0: the root
    ReadMenuTree<size_t>(items, [&](size_t parent, TMenuCollectionItem &entry) {
        nodes.push_back(Node{entry.Caption(), {}});
        nodes[parent].Children.push_back(nodes.size() - 1);
        return nodes.size() - 1;
    });
    std::function<QString(size_t)> outline = [&](size_t n) {
        QStringList parts;
        for (size_t c : nodes[n].Children)
            parts << nodes[c].Caption + (nodes[c].Children.empty() ? QString() : u'(' + outline(c) + u')');
        return parts.join(u',');
    };
    return outline(0);
}

// The node whose text is `text`, anywhere in the tree.
inline QTreeWidgetItem *nodeNamed(QTreeWidget *tree, const QString &text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

class EditorWindowFixture {
public:
    QTemporaryDir Dir;
    std::unique_ptr<ScriptedPrompter> Prompter;
    std::unique_ptr<TfrmMain> Main;

    QString path(const QString &name) const { return Dir.filePath(name); }

    void start()
    {
        Prompter = std::make_unique<ScriptedPrompter>();
        Main = std::make_unique<TfrmMain>();
        Main->resize(342, 536);
        Main->show();
        Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Main.get()));
    }

    void stop()
    {
        Main->DataChanged = false;
        Main.reset();
        MenuManager->Clear();
        Prompter.reset();
    }

    // Opens the outline as the document.
    void open(const QString &outline)
    {
        const QString file = path(u"menu.dat"_qs);
        writeOutline(outline, file);
        QVERIFY(Main->OpenMenuFile(file));
    }

    QTreeWidgetItem *node(const QString &text) const { return nodeNamed(Main->TreeList, text); }

    void select(const QString &text)
    {
        QTreeWidgetItem *n = node(text);
        QVERIFY2(n, qPrintable(text));
        Main->TreeList->setCurrentItem(n);
    }

    QString selectedText() const
    {
        QTreeWidgetItem *n = Main->TreeList->currentItem();
        return n ? n->text(0) : QString();
    }

    QString outline() const { return treeOutline(Main->TreeList); }

    // What saving the document would write, read back from a file of its
    // own (the document's file and state are left alone).
    QString saved() const { return fileOutline(savedFile()); }

    // Writes what saving the document would write to a file of its own and
    // returns its name.
    QString savedFile() const
    {
        const QString copy = path(u"saved.dat"_qs);
        Main->WriteDocument(copy);
        return copy;
    }
};
