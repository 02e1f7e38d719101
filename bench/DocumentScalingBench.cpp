// How the document's report, SVG export and undo history scale with trail drags of 100, 200 and 400 events of
// 100 elements (one path of 10 segments per element, made through the Document API as the suites make it,
// inside the mouse-down undo context).
//
//   DocumentScaling/Drag/N        the drag itself; counters: the journal's bytes after it, the layer's paths
//   DocumentScaling/Report/N      the art report streamed into a stream that discards it
//   DocumentScaling/Svg/N         the SVG streamed the same way
//   DocumentScaling/UndoRedo/N    an undo and a redo of the whole drag
//
// peakBytes is the most heap the measured operation held at once beyond what was held before it, counted by
// the global operator new and delete of this program. Time should double with the document, peakBytes of the
// report and the SVG should stay the same.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <ostream>
#include <streambuf>
#include <string>

#include "bench/HeapMeter.h"
#include "apps/script/ArtReport.h"
#include "host/document/Document.h"
#include "host/document/SvgExport.h"

namespace {

// ---- the documents ----

AIPathSegment corner(AIReal h, AIReal v) {
    AIPathSegment segment{};
    segment.p = segment.in = segment.out = AIRealPoint{h, v};
    return segment;
}

// A trail drag: mouse down opens the context, every event adds 100 zigzag elements, each a path written
// segment by segment; mouse up closes the context.
void trailDrag(zz::Document& document, int events) {
    document.beginUndoContext();
    for (int event = 0; event < events; ++event) {
        const AIReal top = 10.0f + static_cast<AIReal>(event) * 1.5f;
        for (int element = 0; element < 100; ++element) {
            zz::ArtId path = 0;
            document.newArt(kPathArt, kPlaceAboveAll, 0, &path);
            const AIReal left = static_cast<AIReal>(element) * 3.7f;
            for (int s = 0; s < 10; ++s) {
                const AIPathSegment segment =
                    corner(left + static_cast<AIReal>(s) * 0.37f, s % 2 == 0 ? 0 : top);
                document.setSegments(path, s, 1, &segment);
            }
        }
    }
    document.endUndoContext();
}

// One document per size, made once.
zz::Document& dragged(int events) {
    static std::map<int, std::unique_ptr<zz::Document>> documents;
    std::unique_ptr<zz::Document>& document = documents[events];
    if (document == nullptr) {
        document = std::make_unique<zz::Document>();
        trailDrag(*document, events);
    }
    return *document;
}

// The time includes freeing the document.
void Drag(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    size_t journal = 0, paths = 0;
    for (auto _ : state) {
        zz::Document document;
        trailDrag(document, events);
        journal = document.journalBytes();
        paths = document.layerArtCount();
    }
    state.counters["journalBytes"] = static_cast<double>(journal);
    state.counters["paths"] = static_cast<double>(paths);
}

void Report(benchmark::State& state) {
    const zz::Document& document = dragged(static_cast<int>(state.range(0)));
    bench::NullBuffer discard;
    std::ostream out(&discard);
    int64_t peak = 0;
    for (auto _ : state) {
        bench::PeakMeter meter;
        zz::writeArtReport(out, document, 2);
        peak = std::max(peak, meter.extra());
    }
    state.counters["peakBytes"] = static_cast<double>(peak);
}

void Svg(benchmark::State& state) {
    const zz::Document& document = dragged(static_cast<int>(state.range(0)));
    bench::NullBuffer discard;
    std::ostream out(&discard);
    int64_t peak = 0;
    for (auto _ : state) {
        bench::PeakMeter meter;
        std::string error;
        if (!zz::writeSvg(document, out, &error)) state.SkipWithError(error.c_str());
        peak = std::max(peak, meter.extra());
    }
    state.counters["peakBytes"] = static_cast<double>(peak);
}

void UndoRedo(benchmark::State& state) {
    zz::Document& document = dragged(static_cast<int>(state.range(0)));
    int64_t peak = 0;
    for (auto _ : state) {
        bench::PeakMeter meter;
        if (!document.undo() || !document.redo()) state.SkipWithError("nothing to undo or redo");
        peak = std::max(peak, meter.extra());
    }
    state.counters["peakBytes"] = static_cast<double>(peak);
    state.counters["journalBytes"] = static_cast<double>(document.journalBytes());
}

} // namespace

BENCHMARK(Drag)->Name("DocumentScaling/Drag")->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(Report)
    ->Name("DocumentScaling/Report")
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Svg)->Name("DocumentScaling/Svg")->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoRedo)
    ->Name("DocumentScaling/UndoRedo")
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);
