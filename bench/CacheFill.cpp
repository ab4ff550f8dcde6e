#include "CacheFill.h"

#include <benchmark/benchmark.h>
#include <cstddef>
#include <vector>

void FillCachesWithOtherData()
{
    // Larger than the last-level cache. Written once, so that it is backed by
    // memory of its own; afterwards only read: written lines would have to be
    // written back while the timed run fills the caches again, a cost of the
    // filling rather than of the run.
    static const std::vector<char> other(size_t(128) << 20, 1);
    int sum = 0;
    for (size_t i = 0; i < other.size(); i += 64)
        sum += other[i];
    benchmark::DoNotOptimize(sum);
}
