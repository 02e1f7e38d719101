// Opening a kept workbench document: the workbench starts, finds the latest document in its folder and plays
// its history again on a fresh document (DocumentStore.h), as `zigzag serve` does at start and on Open.
//
//   DocumentOpen/Drags/N            N drags of the default zigzag, each a press, ten moves and a release
//   DocumentOpen/ThirtyElements/N   the same drags with thirty separate elements each (30 paths a drag)
//
// The time is from the host thread's start to the document being ready to draw on, the module's start-up
// included; `art` is the art the document holds then.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "host/base/Platform.h"
#include "apps/storage/DocumentStore.h"
#include "apps/workbench/HostLoop.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// A folder holding one document of `drags` drags over the page, the tool's settings given by `settings`.
fs::path makeDocument(int drags, const json& settings) {
    const fs::path folder = fs::temp_directory_path() / ("zz-open-bench-" + std::to_string(getpid()));
    fs::remove_all(folder);
    zz::DocumentFolder documents(folder.string());
    zz::DocumentStart start;
    start.seed = 7;
    start.settings = settings;
    std::string why;
    std::unique_ptr<zz::DocumentFile> file = documents.create("Bench", start, &why);
    std::vector<json> events;
    for (int drag = 0; drag < drags; ++drag) {
        const double x = 20 + (drag % 25) * 23, y = 760 - (drag / 25 % 40) * 18;
        events.push_back({{"do", "mouseDown"}, {"at", {x, y}}});
        for (int step = 1; step <= 10; ++step)
            events.push_back({{"do", "drag"}, {"to", {x + step * 6, y - step * 4}}});
        events.push_back({{"do", "mouseUp"}, {"at", {x + 60, y - 40}}});
    }
    if (!file || !file->append(events, 0, &why)) {
        std::fprintf(stderr, "the document cannot be made: %s\n", why.c_str());
        std::exit(1);
    }
    return folder;
}

void open(benchmark::State& state, const json& settings) {
    const fs::path folder = makeDocument(static_cast<int>(state.range(0)), settings);
    zz::Workbench::Options options;
    options.modulePath = zz::besideExecutable("KT07_Zigzag.aip");
    options.documentsPath = folder.string();
    double art = 0;
    for (auto _ : state) {
        zz::HostLoop loop(options);
        std::string why;
        if (!loop.start(&why)) {
            state.SkipWithError(why.c_str());
            break;
        }
        state.PauseTiming();
        const json answer = json::parse(loop.request(R"({"do":"state","since":0})").body);
        art = static_cast<double>(answer["delta"]["placed"].size());
        loop.stop();
        state.ResumeTiming();
    }
    state.counters["art"] = art;
    fs::remove_all(folder);
}

void DocumentOpen_Drags(benchmark::State& state) {
    open(state, json::object());
}
void DocumentOpen_ThirtyElements(benchmark::State& state) {
    open(state, {{"zigzagElements", 30}, {"separateElements", 1}});
}

} // namespace

BENCHMARK(DocumentOpen_Drags)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DocumentOpen_ThirtyElements)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
