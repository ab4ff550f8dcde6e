// The tree that a flat menu list encodes, as the subcommands need it: for every
// entry placed in the tree its parent and its level, and, when a Count asks
// past the end of the list, the list error and the entry that asked.
#pragma once

#include <QString>
#include <vector>

class TMenuCollection;

struct TMenuShape {
    // Per entry placed, in list order (entry i is Items(i)): the index of its
    // parent, -1 for a top-level entry, and its level, 1 for a top-level entry.
    std::vector<qsizetype> Parent;
    std::vector<int> Level;
    // Set when the reading failed: the list error's text and the entry whose
    // Count asked for more entries than follow it.
    QString Error;
    qsizetype AskingEntry = -1;

    qsizetype Placed() const { return qsizetype(Parent.size()); }
    bool Failed() const { return AskingEntry >= 0; }
    int GreatestLevel() const;
};

// Reads the tree with ReadMenuTree, the reading every program uses.
TMenuShape ReadMenuShape(const TMenuCollection &items);
