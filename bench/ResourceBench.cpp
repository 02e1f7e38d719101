// Time of reading a .res image and looking up its resources, by the number of entries. Reading checks every
// entry against those before it for duplicates; the reported complexity shows it stays linear.
//
//   Resources/ReadRes/N     parse a .res image of N entries (half numbered, half named)
//   Resources/FindAll/N     look up each of the N entries by type, name and language
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/resources/ModuleResources.h"

namespace {

void putU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}
void putU32(std::vector<uint8_t>& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

std::string entryName(uint32_t i) {
    return "ENTRY" + std::to_string(i);
}

// A .res image of `count` entries with one data byte each: even entries are rcdata by number, odd ones a
// named type and name; numbers repeat every 50,000 entries in another language.
std::vector<uint8_t> resImage(uint32_t count) {
    std::vector<uint8_t> out = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    out.resize(32, 0);
    for (uint32_t i = 0; i < count; ++i) {
        std::vector<uint8_t> header;
        auto putName = [&](const std::string& text) {
            for (char c : text)
                putU16(header, static_cast<uint8_t>(c));
            putU16(header, 0);
        };
        if (i % 2 == 0) {
            putU16(header, 0xFFFF);
            putU16(header, zz::kRawDataResource);
            putU16(header, 0xFFFF);
            putU16(header, i % 50000);
        } else {
            putName("DATA");
            putName(entryName(i));
        }
        while ((header.size() + 8) % 4 != 0)
            header.push_back(0);
        putU32(header, 0);
        putU16(header, 0x1030);
        putU16(header, 1024 + i / 50000);
        putU32(header, 0);
        putU32(header, 0);
        putU32(out, 1);
        putU32(out, static_cast<uint32_t>(header.size() + 8));
        out.insert(out.end(), header.begin(), header.end());
        out.push_back(static_cast<uint8_t>(i));
        while (out.size() % 4 != 0)
            out.push_back(0);
    }
    return out;
}

void Resources_ReadRes(benchmark::State& state) {
    const auto count = static_cast<uint32_t>(state.range(0));
    const std::vector<uint8_t> image = resImage(count);
    for (auto _ : state) {
        const zz::ModuleResources resources = zz::ModuleResources::fromResImage(image);
        benchmark::DoNotOptimize(resources.list().size());
    }
    state.SetComplexityN(state.range(0));
    state.counters["bytes"] = static_cast<double>(image.size());
}
BENCHMARK(Resources_ReadRes)
    ->Name("Resources/ReadRes")
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 18)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void Resources_FindAll(benchmark::State& state) {
    const auto count = static_cast<uint32_t>(state.range(0));
    const zz::ModuleResources resources = zz::ModuleResources::fromResImage(resImage(count));
    for (auto _ : state) {
        size_t found = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const auto language = static_cast<uint16_t>(1024 + i / 50000);
            found += i % 2 == 0
                         ? resources.find(zz::kRawDataResource, static_cast<uint16_t>(i % 50000), language)
                               .has_value()
                         : resources.find("data", entryName(i), language).has_value();
        }
        if (found != count) state.SkipWithError("an entry was not found");
        benchmark::DoNotOptimize(found);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(Resources_FindAll)
    ->Name("Resources/FindAll")
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 18)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
