// The menu runtime: lookups in the menu manager's tables against QHash and
// std::unordered_map holding the same keys, and building a menu bar or a tree
// from a definition against creating the same items directly (the toolkit's
// floor).
#include "BenchSupport.h"
#include "CacheFill.h"
#include "MenuGenerator.h"

#include "vrelMenu.h"
#include "vrelShortCut.h"

#include <QHash>
#include <QSet>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <unordered_map>

namespace {

constexpr qsizetype kLookupEntries = 100000;
const qsizetype kBuildSizes[] = {10000, 100000};

enum class TKey { Code, Caption, Param };
const char *const kKeyNames[] = {"code", "caption", "param"};

// A manager holding a generated definition, every entry registered, and the
// distinct keys of each table in the order they were entered. Parameters are
// upper-cased, since only upper-case parameters can be found.
struct TLookupFixture {
    TVrelMenuManager Manager;
    QStringList Keys[3];

    TLookupFixture()
    {
        GenerateMenu(Manager.Items(), {kLookupEntries});
        QSet<QString> seen[3];
        auto keep = [&](TKey kind, const QString &key) {
            if (!key.isEmpty() && !seen[int(kind)].contains(key)) {
                seen[int(kind)].insert(key);
                Keys[int(kind)].append(key);
            }
        };
        for (qsizetype i = 0; i < Manager.Items().Count(); ++i) {
            TMenuCollectionItem &e = *Manager.Items().Items(i);
            e.SetParameters(UpperCaseAscii(e.Parameters()));
            Manager.RegisterItem(e);
            keep(TKey::Caption, TrimControl(e.Caption()));
            if (e.Command() != u"0000")
                keep(TKey::Code, e.Command());
            keep(TKey::Param, e.Parameters());
        }
    }
};

const TLookupFixture &lookupFixture()
{
    static const TLookupFixture instance;
    return instance;
}

TMenuCollectionItem *managerFind(const TVrelMenuManager &m, TKey kind, const QString &key)
{
    switch (kind) {
    case TKey::Code:
        return m.FindByCode(key);
    case TKey::Caption:
        return m.FindByCaption(key);
    case TKey::Param:
        return m.FindByParam(key);
    }
    return nullptr;
}

void ManagerLookup(benchmark::State &state, TKey kind)
{
    const TLookupFixture &f = lookupFixture();
    const QStringList &keys = f.Keys[int(kind)];
    for (auto _ : state)
        for (const QString &key : keys)
            benchmark::DoNotOptimize(managerFind(f.Manager, kind, key));
    state.SetItemsProcessed(state.iterations() * keys.size());
}

// The same keys in a container, each mapped to the first entry that has it.
template <class Map>
Map fillMap(TKey kind)
{
    const TLookupFixture &f = lookupFixture();
    Map map;
    for (const QString &key : f.Keys[int(kind)])
        map.emplace(key, managerFind(f.Manager, kind, key));
    return map;
}

void QHashLookup(benchmark::State &state, TKey kind)
{
    const QHash<QString, TMenuCollectionItem *> map = fillMap<QHash<QString, TMenuCollectionItem *>>(kind);
    const QStringList &keys = lookupFixture().Keys[int(kind)];
    for (auto _ : state)
        for (const QString &key : keys)
            benchmark::DoNotOptimize(map.value(key));
    state.SetItemsProcessed(state.iterations() * keys.size());
}

void StdLookup(benchmark::State &state, TKey kind)
{
    using TMap = std::unordered_map<QString, TMenuCollectionItem *>;
    const TMap map = fillMap<TMap>(kind);
    const QStringList &keys = lookupFixture().Keys[int(kind)];
    for (auto _ : state)
        for (const QString &key : keys) {
            const auto it = map.find(key);
            benchmark::DoNotOptimize(it == map.end() ? nullptr : it->second);
        }
    state.SetItemsProcessed(state.iterations() * keys.size());
}

// Generated definitions for the builds, one per size, with each entry's
// shortcut already converted for the direct creation.
struct TBuildFixture {
    TVrelMenuManager Manager;
    std::vector<QKeySequence> ShortCuts;
};

TBuildFixture &buildFixture(qsizetype entries)
{
    static std::map<qsizetype, std::unique_ptr<TBuildFixture>> fixtures;
    auto &f = fixtures[entries];
    if (!f) {
        f = std::make_unique<TBuildFixture>();
        GenerateMenu(f->Manager.Items(), {entries});
        for (qsizetype i = 0; i < f->Manager.Items().Count(); ++i)
            f->ShortCuts.push_back(TextToShortCut(f->Manager.Items().Items(i)->HotKey()));
    }
    return *f;
}

TVrelMenuManager &buildManager(qsizetype entries)
{
    return buildFixture(entries).Manager;
}

// Times `build`, which makes one widget full of items and hands it back;
// each result is freed untimed, and each timed run starts with cold caches.
// One untimed build comes first: the first build of a size grows the process
// heap (fresh pages), and without it whichever benchmark of a size ran first
// would pay for that alone.
template <class Build>
void timeBuilds(benchmark::State &state, qsizetype entries, Build build)
{
    build().reset();
    FillCachesWithOtherData();
    for (auto _ : state) {
        auto built = build();
        state.PauseTiming();
        built.reset();
        FillCachesWithOtherData();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * entries);
}

void BuildMenuBar(benchmark::State &state, qsizetype entries)
{
    TVrelMenuManager &m = buildManager(entries);
    timeBuilds(state, entries, [&m] {
        auto bar = std::make_unique<QMenuBar>();
        m.BuildMenus(bar.get());
        return bar;
    });
}

// The floor: one QAction per entry with what the menu shows of it (caption,
// shortcut, hint), a QMenu for each entry with children, in the same tree.
// Registering a shortcut is the toolkit's own work, so the floor does it too.
void DirectMenuBar(benchmark::State &state, qsizetype entries)
{
    const TBuildFixture &f = buildFixture(entries);
    const TMenuCollection &items = f.Manager.Items();
    timeBuilds(state, entries, [&f, &items] {
        auto bar = std::make_unique<QMenuBar>();
        QMenuBar *owner = bar.get();
        ReadMenuTree<QAction *>(items, [owner, &f](QAction *parent, TMenuCollectionItem &e) {
            auto *action = new QAction(e.Caption(), owner);
            action->setShortcut(f.ShortCuts[size_t(e.Index())]);
            action->setStatusTip(e.Hint());
            if (!parent) {
                owner->addAction(action);
            } else {
                if (!parent->menu())
                    parent->setMenu(new QMenu(owner));
                parent->menu()->addAction(action);
            }
            return action;
        });
        return bar;
    });
}

void BuildTree(benchmark::State &state, qsizetype entries)
{
    TVrelMenuManager &m = buildManager(entries);
    timeBuilds(state, entries, [&m] {
        auto tree = std::make_unique<QTreeWidget>();
        m.BuildMenus(tree.get(), true);
        return tree;
    });
}

// The floor: one tree item per entry with its text and entry, in the same
// tree, handed to the view in one step.
void DirectTree(benchmark::State &state, qsizetype entries)
{
    const TMenuCollection &items = buildManager(entries).Items();
    timeBuilds(state, entries, [&items] {
        auto tree = std::make_unique<QTreeWidget>();
        QList<QTreeWidgetItem *> tops;
        ReadMenuTree<QTreeWidgetItem *>(items, [&tops](QTreeWidgetItem *parent, TMenuCollectionItem &e) {
            auto *node = new QTreeWidgetItem(QStringList{e.Caption()});
            SetNodeEntry(node, &e);
            if (parent)
                parent->addChild(node);
            else
                tops.append(node);
            return node;
        });
        tree->addTopLevelItems(tops);
        return tree;
    });
}

std::string buildName(const char *what, qsizetype entries)
{
    return std::string(what) + '/' + std::to_string(entries);
}

const bool gRegistered = [] {
    for (TKey kind : {TKey::Code, TKey::Caption, TKey::Param}) {
        const std::string key = kKeyNames[int(kind)];
        benchmark::RegisterBenchmark(("Lookup/" + key + "/vrel").c_str(), ManagerLookup, kind)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Lookup/" + key + "/QHash").c_str(), QHashLookup, kind)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Lookup/" + key + "/unordered_map").c_str(), StdLookup, kind)
            ->Unit(benchmark::kMillisecond);
    }
    for (qsizetype entries : kBuildSizes) {
        const int iterations = entries > 10000 ? 6 : 40;
        benchmark::RegisterBenchmark(buildName("BuildMenuBar", entries).c_str(), BuildMenuBar, entries)
            ->Unit(benchmark::kMillisecond)->Iterations(iterations);
        benchmark::RegisterBenchmark(buildName("DirectMenuBar", entries).c_str(), DirectMenuBar, entries)
            ->Unit(benchmark::kMillisecond)->Iterations(iterations);
        benchmark::RegisterBenchmark(buildName("BuildTree", entries).c_str(), BuildTree, entries)
            ->Unit(benchmark::kMillisecond)->Iterations(iterations);
        benchmark::RegisterBenchmark(buildName("DirectTree", entries).c_str(), DirectTree, entries)
            ->Unit(benchmark::kMillisecond)->Iterations(iterations);
    }
    return true;
}();

} // namespace

void ReportMenuRuntimeSummary(const TBenchTimes &times)
{
    auto time = [&](const std::string &name) { return times.count(name) ? times.at(name) : -1.0; };
    std::printf("\nLookups in a %lld-entry definition, time per lookup as a ratio to QHash "
                "(and to std::unordered_map):\n",
                static_cast<long long>(kLookupEntries));
    for (int kind = 0; kind < 3; ++kind) {
        const char *key = kKeyNames[kind];
        const std::string base = std::string("Lookup/") + key;
        const double vrel = time(base + "/vrel"), qhash = time(base + "/QHash"),
                     std = time(base + "/unordered_map");
        if (vrel > 0 && qhash > 0 && std > 0)
            std::printf("  by %-8s %5.2fx  (%5.2fx)  %zu keys\n", key, vrel / qhash, vrel / std,
                        size_t(lookupFixture().Keys[kind].size()));
    }
    std::printf("Building as a ratio to creating the same items directly (goal <= 1.3x), and the\n"
                "growth from 10,000 to 100,000 entries (goal <= 11x):\n");
    for (const char *what : {"MenuBar", "Tree"}) {
        const double small = time(buildName((std::string("Build") + what).c_str(), 10000));
        const double large = time(buildName((std::string("Build") + what).c_str(), 100000));
        const double floorSmall = time(buildName((std::string("Direct") + what).c_str(), 10000));
        const double floorLarge = time(buildName((std::string("Direct") + what).c_str(), 100000));
        if (small > 0 && large > 0 && floorSmall > 0 && floorLarge > 0)
            std::printf("  %-8s 10,000: %5.2fx  100,000: %5.2fx  growth %5.2fx (floor %5.2fx)\n", what,
                        small / floorSmall, large / floorLarge, large / small, floorLarge / floorSmall);
    }
}
