// The yardstick every other figure is read against: a memcpy of one frame,
// 32-bit and 16-bit at both screen sizes, in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void BM_MemcpyFrame(benchmark::State& state) {
    const auto bytes = static_cast<size_t>(state.range(0) * state.range(1) * state.range(2) / 8);
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_MemcpyFrame)
    ->Args({1920, 1080, 32})
    ->Args({3840, 2160, 32})
    ->Args({1920, 1080, 16})
    ->Args({3840, 2160, 16})
    ->ArgNames({"w", "h", "bits"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
