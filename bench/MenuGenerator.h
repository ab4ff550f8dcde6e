// Menu definitions of any size for the benchmarks: realistic entries (Korean
// captions, screen codes, permissions, separators) in a tree up to a given
// depth, with Count and Top filled as the editor's save fills them. The same
// arguments always give the same definition.
#pragma once

#include <QtGlobal>

class TMenuCollection;

struct TMenuGeneratorOptions {
    qsizetype Entries = 100000;
    int MaxDepth = 4;
    quint32 Seed = 20261211;
};

// Appends the definition to `items` (which should be empty).
void GenerateMenu(TMenuCollection &items, const TMenuGeneratorOptions &options = {});
