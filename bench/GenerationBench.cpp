// Time of zigzag generations through the real module and host, and the host's cost per written segment.
//
//   Generation/Defaults          one generation with the default settings (10 elements of design 0), trail
//   off:
//                                each drag event undoes the previous generation and draws the next
//   Generation/Separate400D37    one generation of 400 elements of design 37, one path per element
//   Generation/Trail1000         a whole trail drag: mouse down, 1000 generations of the defaults, mouse up
//   Segment/ThroughSuite         one segment computed and appended with AI Path SetPathSegments
//   Segment/BareLoop             the same arithmetic appended to a std::vector
//
// When both segment benchmarks ran, a last line says how many times the bare loop's CPU time a segment
// through the suite costs (for the console format, the default).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "AIPath.h"
#include "host/core/ToolSession.h"
#include "host/base/Platform.h"
#include "apps/script/SettingsJson.h"

namespace {

using nlohmann::json;

// A tool session with the module started and the tool's settings at hand.
class ToolHost {
  public:
    explicit ToolHost(const json& settings) {
        std::string error;
        if (!session_.load(zz::besideExecutable("KT07_Zigzag.aip"), &error)) {
            std::fprintf(stderr, "cannot load the module: %s\n", error.c_str());
            std::exit(1);
        }
        session_.startup();
        ToolSettings* record = zz::settingsBlock(session_.host());
        if (record == nullptr || session_.tool() == nullptr) {
            std::fprintf(stderr, "the module did not start\n");
            std::exit(1);
        }
        zz::applySettingsPatch(*record, settings);
    }

    void down(AIRealPoint at) { session_.mouseDown(input(at)); }
    void drag(AIRealPoint at) {
        if (session_.drag(input(at)) != kSPNoError) {
            std::fprintf(stderr, "a drag event failed\n");
            std::exit(1);
        }
    }
    void up(AIRealPoint at) { session_.mouseUp(input(at)); }
    zz::Host& host() { return session_.host(); }

    // Segments in the layer's paths now.
    size_t segments() {
        size_t total = 0;
        for (const zz::Art* art = session_.document().layer().firstChild(); art != nullptr;
             art = art->nextSibling())
            total += art->data().segments.size();
        return total;
    }

  private:
    static zz::ToolInput input(AIRealPoint at) {
        zz::ToolInput input;
        input.point = at;
        return input;
    }
    zz::ToolSession session_;
};

// One generation per iteration: each drag event of one long drag replaces the previous generation.
void runGenerations(benchmark::State& state, const json& settings) {
    ToolHost tool(settings);
    tool.down({0.0f, 0.0f});
    float x = 200.0f;
    tool.drag({x, -300.0f});
    const size_t segments = tool.segments();
    for (auto _ : state) {
        x = x == 200.0f ? 201.0f : 200.0f; // a moving cursor
        tool.drag({x, -300.0f});
    }
    tool.up({x, -300.0f});
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * segments));
    state.counters["segments"] = static_cast<double>(segments);
}

void Generation_Defaults(benchmark::State& state) {
    runGenerations(state, json::object());
}
BENCHMARK(Generation_Defaults)->Name("Generation/Defaults")->Unit(benchmark::kMicrosecond);

void Generation_Separate400D37(benchmark::State& state) {
    runGenerations(
        state,
        json{{"zigzagElements", 400}, {"designIndex1", 37}, {"designIndex2", 37}, {"separateElements", 1}});
}
BENCHMARK(Generation_Separate400D37)->Name("Generation/Separate400D37")->Unit(benchmark::kMicrosecond);

// A whole trail drag of 1000 generations per iteration; the host's undo takes it away again afterwards.
void Generation_Trail1000(benchmark::State& state) {
    ToolHost tool(json{{"trailCursor", 1}});
    for (auto _ : state) {
        tool.down({0.0f, 0.0f});
        for (int i = 1; i <= 1000; ++i)
            tool.drag({200.0f + static_cast<float>(i) * 0.1f, -300.0f});
        tool.up({300.0f, -300.0f});
        state.PauseTiming();
        if (tool.host().document().layerArtCount() != 1000) state.SkipWithError("expected 1000 paths");
        tool.host().document().undo();
        state.ResumeTiming();
    }
    state.counters["generation"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1000.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(Generation_Trail1000)->Name("Generation/Trail1000")->Unit(benchmark::kMillisecond);

// The driver's arithmetic for one template point (the point walk's x, y and handles).
inline AIPathSegment pointSegment(int i, float px, float ex, float yBase, float step) {
    const float tx = (i % 2 == 1) ? 1.0f : 0.0f;
    const float ty = static_cast<float>(i % 3) * 0.5f;
    AIPathSegment segment{};
    segment.p.h = (ex - px) * tx + px;
    segment.p.v = 1.0f * step * ty + yBase;
    segment.in = segment.p;
    segment.out = segment.p;
    return segment;
}

constexpr int kSegmentsPerPath = 3000;

void Segment_ThroughSuite(benchmark::State& state) {
    zz::Host host;
    zz::CurrentHost scope(host);
    const void* table = nullptr;
    host.basicSuite()->AcquireSuite(kAIPathSuite, kAIPathSuiteVersion, &table);
    const auto* pathSuite = static_cast<const AIPathSuite*>(table);
    host.document().beginUndoContext();
    zz::ArtId id = 0;
    host.document().newArt(kPathArt, kPlaceAboveAll, 0, &id);
    auto path = reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(id));
    int16_t index = 0;
    for (auto _ : state) {
        const AIPathSegment segment = pointSegment(index, 0.0f, 10.0f, -static_cast<float>(index), -10.0f);
        if (pathSuite->SetPathSegments(path, index, 1, &segment) != kSPNoError)
            state.SkipWithError("write failed");
        if (++index == kSegmentsPerPath) {
            state.PauseTiming();
            host.document().undoChanges();
            host.document().newArt(kPathArt, kPlaceAboveAll, 0, &id);
            path = reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(id));
            index = 0;
            state.ResumeTiming();
        }
    }
    host.document().endUndoContext();
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(Segment_ThroughSuite)->Name("Segment/ThroughSuite");

void Segment_BareLoop(benchmark::State& state) {
    std::vector<AIPathSegment> segments;
    segments.reserve(kSegmentsPerPath);
    int index = 0;
    for (auto _ : state) {
        segments.push_back(pointSegment(index, 0.0f, 10.0f, -static_cast<float>(index), -10.0f));
        benchmark::DoNotOptimize(segments.data());
        if (++index == kSegmentsPerPath) {
            state.PauseTiming();
            segments.clear();
            index = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(Segment_BareLoop)->Name("Segment/BareLoop");

// The console reporter, and after the runs the ratio of the two segment benchmarks' CPU times (their means
// when they were repeated).
class SegmentRatioReporter : public benchmark::ConsoleReporter {
  public:
    explicit SegmentRatioReporter(OutputOptions options) : ConsoleReporter(options) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean") continue;
            const std::string name = run.run_name.function_name;
            if (name == "Segment/ThroughSuite") throughSuite_ = run.GetAdjustedCPUTime();
            if (name == "Segment/BareLoop") bareLoop_ = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        if (throughSuite_ > 0.0 && bareLoop_ > 0.0) {
            char line[160];
            std::snprintf(line, sizeof line,
                          "Segment/ThroughSuite costs %.2fx Segment/BareLoop (CPU %.2f ns / %.2f ns)\n",
                          throughSuite_ / bareLoop_, throughSuite_, bareLoop_);
            GetOutputStream() << line;
        }
        ConsoleReporter::Finalize();
    }

  private:
    double throughSuite_ = 0.0;
    double bareLoop_ = 0.0;
};

} // namespace

int main(int argc, char** argv) {
    // What the library's own console reporter would be given: colours for a terminal unless turned off.
    bool console = true;
    bool colour = isatty(STDOUT_FILENO) != 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("--benchmark_format=")) console = argument == "--benchmark_format=console";
        if (argument.starts_with("--benchmark_color="))
            colour = argument == "--benchmark_color=true" || argument == "--benchmark_color=yes" ||
                     argument == "--benchmark_color=1" ||
                     (argument == "--benchmark_color=auto" && isatty(STDOUT_FILENO) != 0);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (console) {
        SegmentRatioReporter reporter(colour ? benchmark::ConsoleReporter::OO_ColorTabular
                                             : benchmark::ConsoleReporter::OO_Tabular);
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
