// The installer's own bookkeeping per file, apart from the file system: the
// uninstall list the file loop writes (a file line, and its folder's line once)
// and the reading of those lines back when the product is removed. The time
// per file must stay flat from a thousand files to seventy thousand, whether
// they share twenty folders or each has its own.
// Build with the bench preset and run build/bench/bench/records_bench.

#include "installer/Installation.h"
#include "installer/UninstallLists.h"
#include "installer/UninstallRecord.h"

#include <benchmark/benchmark.h>

namespace {

String folderOf(int file, int folders) {
    return String::formatted("C:\\Program Files\\Bench Product\\dir%05d", file % folders);
}

void recordFiles(benchmark::State& state, int folders) {
    const int files = int(state.range(0));
    for (auto _ : state) {
        Installation installation;
        for (int i = 0; i < files; ++i) {
            const String folder = folderOf(i, folders ? folders : files);
            installation.recordForUninstall(folder, true);
            installation.recordForUninstall(
                String::formatted("%s\\file%05d.dat", folder.c_str(), i), false);
        }
        benchmark::DoNotOptimize(installation.uninstallList.c_str());
    }
    state.counters["per_file"] =
        benchmark::Counter(double(files) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void readListBack(benchmark::State& state) {
    const int files = int(state.range(0));
    Installation installation;
    for (int i = 0; i < files; ++i) {
        const String folder = folderOf(i, 20);
        installation.recordForUninstall(folder, true);
        installation.recordForUninstall(String::formatted("%s\\file%05d.dat", folder.c_str(), i),
                                        false);
    }
    for (auto _ : state) {
        int seen = 0;
        const int count = lineCount(installation.uninstallList);
        LineReader lines(installation.uninstallList);
        String line;
        while (lines.next(line))
            seen += recordedItem(line).kind == RecordedItemKind::File;
        benchmark::DoNotOptimize(seen + count);
    }
    state.counters["per_file"] =
        benchmark::Counter(double(files) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK_CAPTURE(recordFiles, twenty_folders, 20)->Arg(1000)->Arg(10000)->Arg(70000);
BENCHMARK_CAPTURE(recordFiles, a_folder_each, 0)->Arg(1000)->Arg(10000)->Arg(70000);
BENCHMARK(readListBack)->Arg(1000)->Arg(10000)->Arg(70000);
