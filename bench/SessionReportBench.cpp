// A long drawing session through the real module: trail drags of 100, 200 and 400 events of 100 elements
// each (one path per element), then the whole session report and the SVG of the document.
//
//   SessionScaling/Drag/N     the trail drag itself, through the tool session
//   SessionScaling/Report/N   the session report (what `zigzag run` writes), streamed into a stream that
//                             discards it
//   SessionScaling/Svg/N      the SVG export streamed the same way
//
// peakBytes is the most heap the measured step held at once beyond what was held before it. Time should
// double with the drag; the SVG's peakBytes should stay the same, and the report's grow only with its list of
// event results (one number per event of the script), never with the art.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <vector>

#include "bench/HeapMeter.h"
#include "host/base/Platform.h"
#include "host/core/ToolSession.h"
#include "host/document/SvgExport.h"
#include "apps/script/Report.h"
#include "apps/script/SettingsJson.h"

namespace {

// A started module whose tool trails: every drag event adds 100 separate element paths.
std::unique_ptr<zz::ToolSession> trailingSession() {
    auto session = std::make_unique<zz::ToolSession>();
    std::string error;
    if (!session->load(zz::besideExecutable("KT07_Zigzag.aip"), &error) || session->startup() != kSPNoError) {
        std::fprintf(stderr, "the module did not start: %s\n", error.c_str());
        std::exit(1);
    }
    zz::applySettingsPatch(
        *zz::settingsBlock(session->host()),
        nlohmann::json{{"trailCursor", 1}, {"zigzagElements", 100}, {"separateElements", 1}});
    return session;
}

void trailDrag(zz::ToolSession& session, int events) {
    zz::ToolInput input;
    input.point = {50.0f, 700.0f};
    session.mouseDown(input);
    for (int event = 1; event <= events; ++event) {
        input.point = {300.0f + static_cast<float>(event) * 0.5f, 100.0f};
        if (session.drag(input) != kSPNoError) {
            std::fprintf(stderr, "a drag event failed\n");
            std::exit(1);
        }
    }
    session.mouseUp(input);
}

void SessionScaling_Drag(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto session = trailingSession();
        state.ResumeTiming();
        trailDrag(*session, static_cast<int>(state.range(0)));
        state.PauseTiming();
        state.counters["paths"] = static_cast<double>(session->document().layerArtCount());
        session.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(SessionScaling_Drag)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

void SessionScaling_Report(benchmark::State& state) {
    auto session = trailingSession();
    trailDrag(*session, static_cast<int>(state.range(0)));
    const std::vector<std::optional<int64_t>> results(static_cast<size_t>(state.range(0)) + 3, 0);
    const std::vector<zz::DialogRecord> dialogs;
    bench::NullBuffer discard;
    std::ostream out(&discard);
    int64_t peak = 0;
    for (auto _ : state) {
        bench::PeakMeter meter;
        zz::writeReport(out, zz::ReportSources{*session, results, dialogs});
        peak = std::max(peak, meter.extra());
    }
    state.counters["peakBytes"] = static_cast<double>(peak);
    state.counters["paths"] = static_cast<double>(session->document().layerArtCount());
}
BENCHMARK(SessionScaling_Report)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

void SessionScaling_Svg(benchmark::State& state) {
    auto session = trailingSession();
    trailDrag(*session, static_cast<int>(state.range(0)));
    bench::NullBuffer discard;
    std::ostream out(&discard);
    int64_t peak = 0;
    for (auto _ : state) {
        bench::PeakMeter meter;
        std::string error;
        if (!zz::writeSvg(session->document(), out, &error)) state.SkipWithError(error.c_str());
        peak = std::max(peak, meter.extra());
    }
    state.counters["peakBytes"] = static_cast<double>(peak);
}
BENCHMARK(SessionScaling_Svg)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

} // namespace
