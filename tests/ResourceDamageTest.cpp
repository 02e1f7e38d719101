// Damaged PE headers never make the resource readers read outside what they were given: every header field
// that says where the resources are, or how large the image and its sections are, is set in turn to values
// before, inside, at the end of and beyond the image, and each copy is read from its bytes and as the system
// maps it. A reader lists the resources or raises ResourceError, never more. On Windows the built module's
// damaged copies are also mapped and loaded by the system, and listed as "zigzag resources" lists them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "host/resources/ModuleProperties.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceListing.h"
#include "tests/ResourceTestSupport.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace zz {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t get(const Bytes& bytes, size_t at, int width) {
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(bytes.at(at + static_cast<size_t>(i))) << (8 * i);
    return value;
}

void put(Bytes& bytes, size_t at, int width, uint32_t value) {
    for (int i = 0; i < width; ++i)
        bytes.at(at + static_cast<size_t>(i)) = static_cast<uint8_t>(value >> (8 * i));
}

struct Field {
    std::string name;
    size_t offset;
    int width;
};

// The header fields of a 32-bit PE image that lead to its resources or bound its image and its resource
// section.
std::vector<Field> headerFields(const Bytes& image) {
    const size_t pe = get(image, 0x3C, 4);
    const size_t optional = pe + 24;
    const size_t directory = optional + 96 + 2 * 8;
    std::vector<Field> fields = {
        {"e_lfanew", 0x3C, 4},
        {"PE signature", pe, 4},
        {"section count", pe + 6, 2},
        {"optional header size", pe + 20, 2},
        {"optional header magic", optional, 2},
        {"image size", optional + 56, 4},
        {"headers size", optional + 60, 4},
        {"data directory count", optional + 92, 4},
        {"resource directory address", directory, 4},
        {"resource directory size", directory + 4, 4},
    };
    const uint32_t resources = get(image, directory, 4);
    const size_t table = optional + get(image, pe + 20, 2);
    for (uint32_t i = 0; i < get(image, pe + 6, 2); ++i) {
        const size_t section = table + 40 * i;
        const uint32_t address = get(image, section + 12, 4);
        if (resources < address || resources - address >= get(image, section + 8, 4)) continue;
        fields.push_back({".rsrc size in memory", section + 8, 4});
        fields.push_back({".rsrc address", section + 12, 4});
        fields.push_back({".rsrc size in the file", section + 16, 4});
        fields.push_back({".rsrc file offset", section + 20, 4});
    }
    EXPECT_EQ(fields.size(), 14u) << "the resource section was not found";
    return fields;
}

// What a damaged field holds: nothing, the smallest values, around the original, around the end of the
// image, and the largest.
std::vector<uint32_t> damagedValues(uint32_t original, uint32_t imageSize, int width) {
    std::vector<uint32_t> values = {0,
                                    1,
                                    original - 1,
                                    original + 1,
                                    original + 0x1000,
                                    original - 0x1000,
                                    imageSize - 4,
                                    imageSize,
                                    imageSize + 1,
                                    0x7FFFFFFF,
                                    0x80000000u,
                                    0xFFFFFFF0u,
                                    0xFFFFFFFFu};
    if (width == 2)
        for (uint32_t& value : values)
            value &= 0xFFFF;
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    values.erase(std::remove(values.begin(), values.end(), original), values.end());
    return values;
}

// The image as the system lays it out in memory: the headers, then each section's file data at its address,
// the rest zero; exactly as large as its image size says.
Bytes mappedLayout(const Bytes& file) {
    const size_t pe = get(file, 0x3C, 4);
    const size_t optional = pe + 24;
    Bytes memory(get(file, optional + 56, 4), 0);
    const size_t headers = get(file, optional + 60, 4);
    std::copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(headers), memory.begin());
    const size_t table = optional + get(file, pe + 20, 2);
    for (uint32_t i = 0; i < get(file, pe + 6, 2); ++i) {
        const size_t section = table + 40 * i;
        const size_t length = std::min(get(file, section + 8, 4), get(file, section + 16, 4));
        const auto from = file.begin() + get(file, section + 20, 4);
        std::copy(from, from + static_cast<std::ptrdiff_t>(length),
                  memory.begin() + get(file, section + 12, 4));
    }
    return memory;
}

// Every resource with its bytes, in the order listed.
std::vector<std::pair<std::string, Bytes>> contentsOf(const ModuleResources& resources) {
    std::vector<std::pair<std::string, Bytes>> contents;
    for (const ResourceEntry& entry : resources.list())
        contents.emplace_back(resourceTypeName(entry.type) + " " + entry.name.toString() + " " +
                                  std::to_string(entry.language),
                              Bytes(entry.data.begin(), entry.data.end()));
    return contents;
}

// A PE image holding the built module's resources (whichever system it was built for).
Bytes moduleResourcesAsPe() {
    const ModuleResources module = ModuleResources::readModuleFile(test::modulePath());
    std::vector<test::PeResource> resources;
    for (const ResourceEntry& entry : module.list())
        resources.push_back(
            {entry.type, entry.name, entry.language, Bytes(entry.data.begin(), entry.data.end())});
    return test::peImage(resources);
}

TEST(PeResourceDamage, TheMappedReaderFindsWhatTheFileReaderFinds) {
    const Bytes file = moduleResourcesAsPe();
    const Bytes memory = mappedLayout(file);
    const auto fromFile = contentsOf(ModuleResources::fromPeImage(file));
    EXPECT_GT(fromFile.size(), 60u);
    EXPECT_EQ(contentsOf(ModuleResources::fromMappedImage(memory)), fromFile);
    // Cut short, the image maps less than its headers claim: the reader stops at what is there.
    EXPECT_RESOURCE_ERROR(ModuleResources::fromMappedImage(std::span(memory).first(test::kPeSectionAddress)),
                          "resource directory at address 4096 lies outside the module image (4096 bytes)");
}

TEST(PeResourceDamage, EveryHeaderFieldDamagedIsReadOrRefusedWithinTheImage) {
    const Bytes file = moduleResourcesAsPe();
    const Bytes memory = mappedLayout(file);
    const auto undamaged = contentsOf(ModuleResources::fromPeImage(file));
    size_t cases = 0, listed = 0, refused = 0;
    for (const Field& field : headerFields(file)) {
        const uint32_t original = get(file, field.offset, field.width);
        for (uint32_t value : damagedValues(original, static_cast<uint32_t>(memory.size()), field.width)) {
            SCOPED_TRACE(field.name + " = " + std::to_string(value));
            ++cases;
            Bytes damagedFile = file;
            put(damagedFile, field.offset, field.width, value);
            try {
                ModuleResources::fromPeImage(damagedFile).list();
                ++listed;
            } catch (const ResourceError&) {
                ++refused;
            }
            // The mapping stays as the system made it from the sound module; only its headers now lie.
            Bytes damagedMemory = memory;
            put(damagedMemory, field.offset, field.width, value);
            const uintptr_t low = reinterpret_cast<uintptr_t>(damagedMemory.data());
            const uintptr_t high = low + damagedMemory.size();
            try {
                const ModuleResources read = ModuleResources::fromMappedImage(damagedMemory);
                for (const ResourceEntry& entry : read.list()) {
                    const uintptr_t start = reinterpret_cast<uintptr_t>(entry.data.data());
                    EXPECT_TRUE(entry.data.empty() || (start >= low && start + entry.data.size() <= high))
                        << resourceTypeName(entry.type) << " " << entry.name.toString();
                }
                ++listed;
            } catch (const ResourceError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(cases, 150u);
    EXPECT_GT(listed, 0u);
    EXPECT_GT(refused, 0u);

    // Where the damage leads matters: the directory beyond the image or no directory at all.
    const size_t directory = test::kPeResourceDirectoryField;
    Bytes beyond = memory;
    put(beyond, directory, 4, static_cast<uint32_t>(memory.size()));
    EXPECT_RESOURCE_ERROR(ModuleResources::fromMappedImage(beyond), "lies outside the module image");
    put(beyond, directory, 4, 0);
    EXPECT_TRUE(ModuleResources::fromMappedImage(beyond).list().empty());
    // A directory size that lies is not followed: the directory reads to its end as before.
    Bytes wrongSize = memory;
    put(wrongSize, directory + 4, 4, 8);
    EXPECT_EQ(contentsOf(ModuleResources::fromMappedImage(wrongSize)), undamaged);
}

// The directory's own tables and data entries, each 32-bit word of them made to point nowhere, read from the
// mapping (the file reader's own sweep is DamagedCopiesOfTheModuleNeverReadOutOfBounds).
TEST(PeResourceDamage, DirectoryWordsDamagedInTheMappingStayInsideIt) {
    const Bytes file = moduleResourcesAsPe();
    const Bytes memory = mappedLayout(file);
    const size_t root = test::kPeSectionAddress;
    size_t found = 0, unreadable = 0;
    for (size_t at = root; at < root + 1024; at += 4)
        for (uint32_t value : {0u, 0x7FFFFFF0u, 0x80000000u | static_cast<uint32_t>(memory.size()),
                               0xFFFFFFFFu, static_cast<uint32_t>(memory.size() - 2)}) {
            Bytes damaged = memory;
            put(damaged, at, 4, value);
            try {
                const ModuleResources read = ModuleResources::fromMappedImage(damaged);
                for (const ResourceEntry& entry : read.list())
                    found += entry.data.size() > 0 ? 1 : 0;
            } catch (const ResourceError&) {
                ++unreadable;
            }
        }
    EXPECT_GT(found, 0u);
    EXPECT_GT(unreadable, 0u);
}

#if defined(_WIN32)

// ---- the built module mapped and loaded by the system (Windows) ----

Bytes readBytes(const std::string& path) {
    const std::string text = test::readFile(path);
    return Bytes(text.begin(), text.end());
}

// Reads every byte of every resource listed, so that a span outside the mapping would fault here.
unsigned touchAll(const ModuleResources& resources) {
    unsigned sum = 0;
    for (const ResourceEntry& entry : resources.list())
        for (uint8_t byte : entry.data)
            sum += byte;
    return sum;
}

TEST(PeResourceDamage, DamagedCopiesOfTheBuiltModuleAreListedOrRefusedBySystemMappings) {
    const test::ScratchDir dir;
    const Bytes module = readBytes(test::modulePath());
    const uint32_t imageSize = get(module, get(module, 0x3C, 4) + 24 + 56, 4);
    size_t cases = 0, listedOk = 0, loaded = 0;
    for (const Field& field : headerFields(module)) {
        const uint32_t original = get(module, field.offset, field.width);
        for (uint32_t value : damagedValues(original, imageSize, field.width)) {
            SCOPED_TRACE(field.name + " = " + std::to_string(value));
            ++cases;
            Bytes damaged = module;
            put(damaged, field.offset, field.width, value);
            const std::string path = dir.file("damaged-" + std::to_string(cases) + ".aip");
            {
                std::ofstream out(path, std::ios::binary);
                out.write(reinterpret_cast<const char*>(damaged.data()),
                          static_cast<std::streamsize>(damaged.size()));
            }
            // What "zigzag resources" does: map it as a data file and list it.
            std::ostringstream out, err;
            const int status = listModuleResources(path, out, err);
            EXPECT_TRUE(status == 0 || status == 2) << status;
            if (status == 2) {
                EXPECT_NE(err.str().find(path), std::string::npos) << err.str();
            }
            listedOk += status == 0 ? 1 : 0;
            try {
                touchAll(ModuleResources::openFile(path));
            } catch (const ResourceError&) {
            }
            // What the host does when it loads a module, without running the module's code: it reads the
            // property list from the file first and loads only a module whose file reads (wine's loader
            // itself faults on some copies that fail there, a resource section at address 0 among them).
            if (!readModuleProperties(path, nullptr)) continue;
            HMODULE handle = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
            if (handle == nullptr) continue; // the system refused the copy
            ++loaded;
            try {
                touchAll(ModuleResources::fromLoadedModule(handle, path));
            } catch (const ResourceError&) {
            }
            FreeLibrary(handle);
        }
    }
    EXPECT_GT(cases, 150u);
    EXPECT_GT(listedOk, 0u);
    EXPECT_GT(loaded, 0u);
}

#endif

} // namespace
} // namespace zz
