// What the benchmark programs share: the size of the generated definitions,
// the measured times, and where the built programs are.
#pragma once

#include <QString>
#include <map>
#include <string>

// Entries of the generated menu definitions (--entries=N, default 100,000).
qsizetype BenchEntries();

// Seconds of CPU time per iteration, by benchmark name. CPU time rather than
// real time: the machines that run the benchmarks are shared.
using TBenchTimes = std::map<std::string, double>;

// Directory of the running program, which holds the other built programs.
QString BenchBinDir();

// Printed after the runs: the menu file figures as ratios, and the memory
// that `vrelmenu stat` needs.
void ReportMenuFileSummary(const TBenchTimes &times);
// Printed after the runs: menu lookups and menu building as ratios to
// their yardsticks.
void ReportMenuRuntimeSummary(const TBenchTimes &times);
