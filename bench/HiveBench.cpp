// The settings hive with many values or keys: parsing its text, and the whole start-up load from
// a file. Each should grow in proportion to the size of the hive (N or N lg N, never N^2).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/RegistryTree.h"
#include "settings/SettingsStore.h"

namespace {

namespace fs = std::filesystem;

// A hive whose settings key holds the nine values of a current layout and `extra` more.
std::string HiveText(std::int64_t extra) {
    std::string text =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Darozova]\n"
        "\"Version\"=dword:00000138\n";
    for (std::int64_t i = 0; i < extra; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "\"Value%06lld\"=dword:%08llx\n",
                      static_cast<long long>(i), static_cast<unsigned long long>(i));
        text += line;
    }
    return text;
}

void BM_ParseHive(benchmark::State& state) {
    const std::string text = HiveText(state.range(0));
    for (auto _ : state) {
        auto tree = CRegistryTree::Parse(text);
        benchmark::DoNotOptimize(tree);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseHive)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

// A hive file in a fresh temporary folder, removed with it at the end.
class CTempHive {
public:
    CTempHive() {
        std::string folder = (fs::temp_directory_path() / "nuv-bench-XXXXXX").string();
        if (::mkdtemp(folder.data()) != nullptr) m_folder = folder;
    }
    ~CTempHive() {
        if (!m_folder.empty()) fs::remove_all(m_folder);
    }
    CTempHive(const CTempHive&) = delete;
    CTempHive& operator=(const CTempHive&) = delete;

    bool Made() const { return !m_folder.empty(); }
    fs::path File() const { return m_folder / "registry.reg"; }

private:
    fs::path m_folder;
};

// LoadSettings from a hive file in a temporary folder: one reading of the file, no rewrite.
void BM_LoadSettings(benchmark::State& state) {
    const CTempHive temp;
    if (!temp.Made()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    CRegistryHive hive(temp.File());
    std::ofstream(hive.File()) << HiveText(state.range(0));
    ShoeSettings settings;
    benchmark::DoNotOptimize(LoadSettings(hive, settings));  // adds the eight settings once
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadSettings(hive, settings));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadSettings)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

// LoadSettings from a hive of another layout version with `n` keys below an obsolete key: the
// wipe of the old keys, in one reading and one rewrite of the file.
void BM_LoadSettingsWipingOldKeys(benchmark::State& state) {
    const CTempHive temp;
    if (!temp.Made()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string text =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Darozova]\n"
        "\"Version\"=dword:00000137\n\n";
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        text += "[HKEY_CURRENT_USER\\Vevududu\\Key" + std::to_string(i) + "]\n\"v\"=dword:1\n\n";
    }
    CRegistryHive hive(temp.File());
    ShoeSettings settings;
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(hive.File()) << text;
        state.ResumeTiming();
        benchmark::DoNotOptimize(LoadSettings(hive, settings));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadSettingsWipingOldKeys)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
