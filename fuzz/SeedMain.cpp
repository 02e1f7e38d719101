// `fuzz_seeds DIR MODULE`: seed inputs from a built module, written under DIR: for the formats harness each
// of the module's resources behind the byte that chooses its reader (formats/), and for the module harness
// small images of the module's smaller resources as a .res image, an ELF module and a PE module (module/).
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "host/resources/ModuleResources.h"
#include "tests/ResourceTestSupport.h"

namespace {

namespace fs = std::filesystem;
using zz::ResourceId;

// The formats harness's reader for a resource of this type (see runFormats), or -1.
int readerOf(const ResourceId& type) {
    if (!type.isNumber()) return type == ResourceId("PiPL") ? 7 : -1;
    switch (type.number()) {
    case zz::kStringResource:
        return 0;
    case zz::kDialogResource:
        return 1;
    case zz::kBitmapResource:
        return 2;
    case zz::kIconResource:
        return 3;
    case zz::kCursorResource:
        return 4;
    case zz::kCursorGroupResource:
        return 5;
    case zz::kIconGroupResource:
        return 6;
    default:
        return -1;
    }
}

void write(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR MODULE\n");
        return 2;
    }
    const fs::path dir = argv[1];
    fs::create_directories(dir / "formats");
    fs::create_directories(dir / "module");
    try {
        const zz::ModuleResources module = zz::ModuleResources::readModuleFile(argv[2]);
        zz::test::ResImage res;
        std::vector<zz::test::PeResource> pe;
        int written = 0;
        for (const zz::ResourceEntry& entry : module.list()) {
            const std::vector<uint8_t> data(entry.data.begin(), entry.data.end());
            if (const int reader = readerOf(entry.type); reader >= 0) {
                std::vector<uint8_t> seed = {static_cast<uint8_t>(reader)};
                seed.insert(seed.end(), data.begin(), data.end());
                write(dir / "formats" / (std::to_string(written++) + ".bin"), seed);
            }
            // Small images: the pictures' large bitmaps stay out.
            if (data.size() <= 1024) {
                res.add(entry.type, entry.name, entry.language, data);
                pe.push_back({entry.type, entry.name, entry.language, data});
            }
        }
        write(dir / "module" / "small.res", res.bytes);
        write(dir / "module" / "small.elf", zz::test::elfImage(zz::kResourceSectionName, res.bytes));
        write(dir / "module" / "small.pe", zz::test::peImage(pe));
        std::printf("fuzz_seeds: %d resources of %s\n", written, argv[2]);
    } catch (const zz::ResourceError& error) {
        std::fprintf(stderr, "fuzz_seeds: %s: %s\n", argv[2], error.what());
        return 1;
    }
    return 0;
}
