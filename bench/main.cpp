// vrel_bench: the Google Benchmark runs, then a summary of the figures as
// ratios to their yardsticks. Extra flag: --entries=N (default 100000).
#include "BenchSupport.h"

#include "vrelFramework.h"

#include <QApplication>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

qsizetype gEntries = 100000;

// The console output, with every run's time kept for the summary.
class TCollectingReporter : public benchmark::ConsoleReporter {
public:
    TCollectingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
    TBenchTimes Times;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (!run.error_occurred && run.iterations > 0)
                Times[run.run_name.function_name] = run.cpu_accumulated_time / double(run.iterations);
    }
};

} // namespace

qsizetype BenchEntries()
{
    return gEntries;
}

QString BenchBinDir()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

int main(int argc, char **argv)
{
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--entries=", 10) == 0)
            gEntries = std::max<qsizetype>(1, std::atoll(argv[i] + 10));
        else
            args.push_back(argv[i]);
    }
    // Menu bars and trees need the widget toolkit; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    QApplication app(appArgc, argv);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    const TVrelFramework framework; // the process-wide menu manager
    TCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    ReportMenuFileSummary(reporter.Times);
    ReportMenuRuntimeSummary(reporter.Times);
    return 0;
}
