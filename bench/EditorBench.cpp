// vrel_editor_bench: the editor's main window on big definitions (10,000 and
// 100,000 entries): opening (load and tree), expand all, Find next without a
// match, the bulk group assignment and Save. The yardstick for opening is
// loading the same file plus adding as many plain items to a tree widget.
// A summary prints the growth from 10,000 to 100,000 and opening against its
// yardstick as ratios.
#include "CacheFill.h"
#include "Main.h"
#include "MenuGenerator.h"
#include "vrelFramework.h"
#include "vrelMenu.h"
#include "vrelPrompt.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUndoStack>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

// Answers every box without showing it: input boxes with a text that
// changes on each call, so that every group assignment changes every entry.
class TQuietPrompter final : public TVrelPrompter {
public:
    int Calls = 0;
    void ShowMessage(const QString &) override {}
    void ShowError(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    QMessageBox::StandardButton Ask(const QString &, const QString &, QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton) override
    {
        return QMessageBox::Ok;
    }
    bool InputQuery(const QString &, const QString &, QString &value) override
    {
        value = QStringLiteral("그룹%1").arg(++Calls);
        return true;
    }
    QString OpenFileName(const QString &, const QString &) override { return {}; }
    QString SaveFileName(const QString &, const QString &) override { return {}; }
};

QTemporaryDir *gDir = nullptr;

// The generated definition of `entries` entries, written once as a plain file.
QString menuFile(qsizetype entries)
{
    const QString file = gDir->filePath(QStringLiteral("menu%1.dat").arg(entries));
    if (!QFile::exists(file)) {
        TMenuCollection items;
        GenerateMenu(items, TMenuGeneratorOptions{entries, 4, 20261211});
        items.SetSaveMode(smText);
        items.SaveToFile(file);
    }
    return file;
}

std::unique_ptr<TfrmMain> openWindow(qsizetype entries)
{
    auto main = std::make_unique<TfrmMain>();
    main->OpenMenuFile(menuFile(entries));
    return main;
}

// Runs `f` with the clock stopped.
template <class F>
void untimed(benchmark::State &state, F f)
{
    state.PauseTiming();
    f();
    state.ResumeTiming();
}

void Open(benchmark::State &state)
{
    const QString file = menuFile(state.range(0));
    TfrmMain main;
    main.OpenMenuFile(file); // the first open of a size grows the process heap
    for (auto _ : state) {
        // Opening into an empty window: closing the document before is not
        // part of what is timed (nor of the yardstick's).
        untimed(state, [&] {
            main.DoCloseFile();
            FillCachesWithOtherData();
        });
        main.OpenMenuFile(file);
    }
}

void LoadAndPlainTree(benchmark::State &state)
{
    const QString file = menuFile(state.range(0));
    QTreeWidget tree;
    TMenuCollection items;
    auto loadAndFill = [&] {
        items.SetSaveMode(smText);
        items.LoadFromFile(file);
        for (qsizetype i = 0; i < items.Count(); ++i)
            new QTreeWidgetItem(&tree, QStringList{static_cast<TMenuCollectionItem *>(items.Items(i))->Caption()});
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    };
    loadAndFill(); // as Open: the heap is grown before the clock runs
    for (auto _ : state) {
        untimed(state, [&] {
            tree.clear();
            items.Clear();
            FillCachesWithOtherData();
        });
        loadAndFill();
    }
}

void ExpandAll(benchmark::State &state)
{
    auto main = openWindow(state.range(0));
    for (auto _ : state) {
        untimed(state, [&] {
            main->ExecuteCollapse();
            FillCachesWithOtherData();
        });
        main->ExpandExecute();
    }
}

void FindNextNoMatch(benchmark::State &state)
{
    auto main = openWindow(state.range(0));
    main->FindMethod = 1;
    main->FindName = QStringLiteral("no such code");
    main->TreeList->setCurrentItem(main->TreeList->topLevelItem(0));
    for (auto _ : state) {
        untimed(state, FillCachesWithOtherData);
        main->FindNext();
    }
}

void GroupAssignment(benchmark::State &state)
{
    auto main = openWindow(state.range(0));
    for (auto _ : state) {
        untimed(state, [&] {
            main->UndoStack->clear(); // the steps would pile up over the runs
            FillCachesWithOtherData();
        });
        main->mnuGroupClick();
    }
}

void Save(benchmark::State &state)
{
    auto main = openWindow(state.range(0));
    main->CurrentFile = gDir->filePath(QStringLiteral("saved.dat"));
    for (auto _ : state) {
        untimed(state, FillCachesWithOtherData);
        main->DoSave();
    }
}

class TCollectingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Times; // CPU seconds per iteration, by run name
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (!run.error_occurred && run.iterations > 0)
                Times[run.run_name.function_name + '/' + run.run_name.args] =
                    run.cpu_accumulated_time / double(run.iterations);
    }
};

} // namespace

// Each timed run comes after an untimed cache fill, so the quick commands run
// a fixed number of times rather than until the clock shows enough.
#define EDITOR_BENCH(name) BENCHMARK(name)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
// Opening is compared with its yardstick: both run for longer, so that a
// single disturbed run at 100,000 entries does not make the ratio.
EDITOR_BENCH(Open)->MinTime(2.0);
EDITOR_BENCH(LoadAndPlainTree)->MinTime(2.0);
EDITOR_BENCH(ExpandAll);
EDITOR_BENCH(FindNextNoMatch)->Iterations(40);
EDITOR_BENCH(GroupAssignment)->Iterations(40);
EDITOR_BENCH(Save);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TVrelFramework framework;
    TQuietPrompter prompter;
    TVrelPrompterScope scope(&prompter);
    QTemporaryDir dir;
    gDir = &dir;
    benchmark::Initialize(&argc, argv);
    TCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto time = [&](const char *name, int entries) {
        const auto it = reporter.Times.find(std::string(name) + '/' + std::to_string(entries));
        return it == reporter.Times.end() ? 0.0 : it->second;
    };
    std::printf("\nGrowth from 10,000 to 100,000 entries (linear: 10, goal at most 11):\n");
    for (const char *name : {"Open", "LoadAndPlainTree", "ExpandAll", "FindNextNoMatch", "GroupAssignment", "Save"})
        if (time(name, 10000) > 0)
            std::printf("  %-18s %6.2f\n", name, time(name, 100000) / time(name, 10000));
    std::printf("Opening against load + plain tree (goal at most 1.3):\n");
    for (int entries : {10000, 100000})
        if (time("LoadAndPlainTree", entries) > 0)
            std::printf("  %6d entries    %6.2f\n", entries, time("Open", entries) / time("LoadAndPlainTree", entries));
    benchmark::Shutdown();
    return 0;
}
