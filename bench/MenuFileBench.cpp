// Reading and writing menu files of BenchEntries() entries, against pugixml's
// DOM parse of the same plain bytes as the yardstick.
#include "BenchSupport.h"
#include "MenuGenerator.h"

#include "vrelMenu.h"
#include "vrelZLib.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <pugixml.hpp>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

// The generated definition in memory and in both file forms.
struct TMenuFiles {
    QTemporaryDir Dir;
    TMenuCollection Items;
    QString PlainPath, CompressedPath, SavePath;
    QByteArray PlainBytes, CompressedBytes;

    TMenuFiles()
    {
        GenerateMenu(Items, {BenchEntries()});
        PlainPath = Dir.filePath(QStringLiteral("menu.dat"));
        CompressedPath = Dir.filePath(QStringLiteral("menu-compressed.dat"));
        SavePath = Dir.filePath(QStringLiteral("saved.dat"));
        Items.SetSaveMode(smText);
        Items.SaveToFile(PlainPath);
        Items.SetSaveMode(smBinary);
        Items.SaveToFile(CompressedPath);
        Items.SetSaveMode(smText);
        PlainBytes = read(PlainPath);
        CompressedBytes = read(CompressedPath);
    }

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

const TMenuFiles &files()
{
    static const TMenuFiles instance;
    return instance;
}

void PugixmlParse(benchmark::State &state)
{
    const QByteArray &bytes = files().PlainBytes;
    for (auto _ : state) {
        auto doc = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result result = doc->load_buffer(bytes.constData(), size_t(bytes.size()));
        if (!result) {
            state.SkipWithError(result.description());
            break;
        }
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void load(benchmark::State &state, const QString &path, TSaveMode mode, qsizetype size)
{
    for (auto _ : state) {
        auto items = std::make_unique<TMenuCollection>();
        items->SetSaveMode(mode);
        items->LoadFromFile(path);
        if (items->Count() != BenchEntries()) {
            state.SkipWithError("the definition did not read back whole");
            break;
        }
        state.PauseTiming();
        items.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * size);
}

void PlainLoad(benchmark::State &state)
{
    load(state, files().PlainPath, smText, files().PlainBytes.size());
}

void CompressedLoad(benchmark::State &state)
{
    load(state, files().CompressedPath, smBinary, files().CompressedBytes.size());
}

// The load an application makes: the menu manager reads the plain file and
// fills its lookup tables as each entry is read.
void ManagerLoad(benchmark::State &state)
{
    const TMenuFiles &f = files();
    if (!MenuManager->SetFileName(f.PlainPath)) {
        state.SkipWithError("the menu manager did not read the file");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        MenuManager->Clear();
        state.ResumeTiming();
        if (!MenuManager->LoadFromFile() || MenuManager->Items().Count() != BenchEntries()) {
            state.SkipWithError("the menu manager did not read the file whole");
            break;
        }
    }
    MenuManager->Clear();
    state.SetBytesProcessed(state.iterations() * f.PlainBytes.size());
}

void PlainSave(benchmark::State &state)
{
    const TMenuFiles &f = files();
    for (auto _ : state)
        f.Items.SaveToFile(f.SavePath);
    state.SetBytesProcessed(state.iterations() * f.PlainBytes.size());
}

// zlib's inflate of the compressed file, through the library's stream routine.
void Inflate(benchmark::State &state)
{
    const QByteArray &bytes = files().CompressedBytes;
    for (auto _ : state) {
        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        QByteArray text;
        QBuffer out(&text);
        out.open(QIODevice::WriteOnly);
        DecompressStream(in, out);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

BENCHMARK(PugixmlParse)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(PlainLoad)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(ManagerLoad)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(PlainSave)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(CompressedLoad)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(Inflate)->Unit(benchmark::kMillisecond)->MinTime(3);

// Peak resident memory of `vrelmenu stat FILE`, in bytes; -1 when it did not
// run to its end. /usr/bin/time runs it: a process started straight from this
// one would be charged this process's own peak, which the kernel carries into
// the child's figure when it starts a new program.
qint64 statPeakRss(const QString &file)
{
    QTemporaryDir dir;
    const QByteArray report = dir.filePath(QStringLiteral("rss")).toLocal8Bit();
    const QByteArray program = (BenchBinDir() + QStringLiteral("/vrelmenu")).toLocal8Bit();
    const QByteArray path = file.toLocal8Bit();
    const char *argv[] = {"/usr/bin/time", "-f", "%M", "-o", report.constData(), program.constData(),
                          "stat", path.constData(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char **>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    QFile result(QString::fromLocal8Bit(report));
    if (!result.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const qint64 kib = result.readAll().trimmed().toLongLong(&ok);
    return ok ? kib * 1024 : -1;
}

} // namespace

void ReportMenuFileSummary(const TBenchTimes &times)
{
    const TMenuFiles &f = files();
    const double mib = 1024.0 * 1024.0;
    std::printf("\nMenu files of %lld entries: plain %.1f MiB, compressed %.1f MiB\n",
                static_cast<long long>(BenchEntries()), double(f.PlainBytes.size()) / mib,
                double(f.CompressedBytes.size()) / mib);
    const auto yardstick = times.find("PugixmlParse");
    if (yardstick != times.end()) {
        const double base = yardstick->second;
        auto ratio = [&](const char *name) { return times.count(name) ? times.at(name) / base : -1.0; };
        std::printf("CPU time as a ratio to pugixml's DOM parse of the plain bytes (%.1f ms):\n", base * 1000);
        const struct {
            const char *name, *label, *goal;
        } rows[] = {
            {"PlainLoad", "plain load", "goal <= 1.0x, must stay < 2x"},
            {"ManagerLoad", "manager load", "plain load with the lookup tables; goal <= 1.0x"},
            {"PlainSave", "plain save", "goal <= 1.0x"},
            {"CompressedLoad", "compressed load", "goal <= plain load + inflate"},
            {"Inflate", "inflate alone", ""},
        };
        for (const auto &row : rows)
            if (ratio(row.name) >= 0)
                std::printf("  %-16s %5.2fx  %s\n", row.label, ratio(row.name), row.goal);
        if (ratio("PlainLoad") >= 0 && ratio("Inflate") >= 0)
            std::printf("  %-16s %5.2fx\n", "plain + inflate", ratio("PlainLoad") + ratio("Inflate"));
    }
    const qint64 rss = statPeakRss(f.PlainPath);
    if (rss < 0)
        std::printf("Memory: vrelmenu stat did not run to its end\n");
    else
        std::printf("Memory: peak RSS of vrelmenu stat on the plain file %.1f MiB = %.2fx the file size "
                    "(goal <= 1.5x)\n",
                    double(rss) / mib, double(rss) / double(f.PlainBytes.size()));
}
