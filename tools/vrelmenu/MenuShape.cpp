#include "MenuShape.h"

#include "vrelMenu.h"

#include <algorithm>

int TMenuShape::GreatestLevel() const
{
    return Level.empty() ? 0 : *std::max_element(Level.begin(), Level.end());
}

TMenuShape ReadMenuShape(const TMenuCollection &items)
{
    TMenuShape shape;
    // Children each placed entry still waits for, to find the one that asked
    // past the end.
    std::vector<qint64> waiting;
    // Handles are entry index + 1; 0 (the value-initialised handle) is "no parent".
    auto place = [&](qsizetype parent, const TMenuCollectionItem &entry) -> qsizetype {
        const qsizetype p = parent - 1;
        shape.Parent.push_back(p);
        shape.Level.push_back(p < 0 ? 1 : shape.Level[size_t(p)] + 1);
        waiting.push_back(entry.Count());
        if (p >= 0)
            --waiting[size_t(p)];
        return shape.Placed();
    };
    try {
        ReadMenuTree<qsizetype>(items, place);
    } catch (const EListError &e) {
        shape.Error = e.Message();
        qsizetype n = shape.Placed() - 1;
        while (n >= 0 && waiting[size_t(n)] <= 0)
            n = shape.Parent[size_t(n)];
        shape.AskingEntry = n;
    }
    return shape;
}
