// What the finishing options cost: one generation of the heaviest drawing the options dialog allows, and the
// same generation with every finishing option off, so that the ratio of the two can be read.
//
//   Finishing/Heaviest   separate elements, 400 elements, 5 reflections, drop shadow, pattern mode 4, random
//                        warp, random colours for fill and stroke (colour mode 3), random width, opacity and
//                        blend mode, fill, stroke and width jitter, random rotation and scaling
//   Finishing/Off        separate elements, 400 elements, every finishing option at its default (off)
//
// Each iteration is one drag event through the real module; with the trail off it undoes the generation
// before it and draws the next. "art" is the number of art objects the generation leaves in the layer,
// counted through every container (groups, envelopes and what they hold); "symbols" the symbol definitions.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "host/base/Platform.h"
#include "host/core/ToolSession.h"
#include "apps/script/SettingsJson.h"

namespace {

using nlohmann::json;

// Art objects below `root`, at any depth.
size_t artBelow(const zz::Art& root) {
    size_t count = 0;
    for (const zz::Art* child = root.firstChild(); child != nullptr; child = child->nextSibling())
        zz::forEachNode(child, [&count](const zz::Art*) { ++count; });
    return count;
}

size_t definitions(const zz::Document& document) {
    size_t count = 0;
    for (const zz::Art* each = document.symbols().firstChild(); each != nullptr; each = each->nextSibling())
        ++count;
    return count;
}

zz::ToolInput at(float h, float v) {
    zz::ToolInput input;
    input.point = {h, v};
    return input;
}

void runFinishing(benchmark::State& state, const json& settings) {
    zz::ToolSession session;
    std::string error;
    if (!session.load(zz::besideExecutable("KT07_Zigzag.aip"), &error) || session.startup() != kSPNoError ||
        zz::settingsBlock(session.host()) == nullptr) {
        std::fprintf(stderr, "the module did not start: %s\n", error.c_str());
        std::exit(1);
    }
    zz::applySettingsPatch(*zz::settingsBlock(session.host()), settings);

    session.mouseDown(at(0.0f, 0.0f));
    float x = 200.0f;
    if (session.drag(at(x, -300.0f)) != kSPNoError) state.SkipWithError("the first generation failed");
    for (auto _ : state) {
        x = x == 200.0f ? 201.0f : 200.0f; // a moving cursor
        if (session.drag(at(x, -300.0f)) != kSPNoError) {
            state.SkipWithError("a generation failed");
            break;
        }
    }
    // What the last generation left: the art of one generation, since each one undid the one before.
    state.counters["art"] = static_cast<double>(artBelow(session.document().layer()));
    state.counters["symbols"] = static_cast<double>(definitions(session.document()));
    session.mouseUp(at(x, -300.0f));
}

const json kSeparate400 = {{"separateElements", 1}, {"zigzagElements", 400}};

void Finishing_Heaviest(benchmark::State& state) {
    json settings = kSeparate400;
    settings.update(json{{"numberOfReflections", 5},
                         {"dropShadow", 1},
                         {"patternMode", 4},
                         {"randomWarp", 1},
                         {"fillColorMode", 3},
                         {"strokeColorMode", 3},
                         {"randomWidth", 1},
                         {"randomOpacity", 1},
                         {"randomBlendMode", 1},
                         {"jitterFill", 1},
                         {"jitterStroke", 1},
                         {"jitterWidth", 1},
                         {"randomRotation", 1},
                         {"randomScaling", 1}});
    runFinishing(state, settings);
}
BENCHMARK(Finishing_Heaviest)->Name("Finishing/Heaviest")->Unit(benchmark::kMillisecond);

void Finishing_Off(benchmark::State& state) {
    runFinishing(state, kSeparate400);
}
BENCHMARK(Finishing_Off)->Name("Finishing/Off")->Unit(benchmark::kMillisecond);

} // namespace
