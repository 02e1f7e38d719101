// What the host reads of a module before it loads it: the resources of a module file read from its bytes (ELF
// and PE alike), the property list's kind, interface version and entry point, and the reasons a host refuses
// a module. On Windows also the resource spans the system loader hands out, checked against the module image.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <tuple>

#include "host/resources/ModuleProperties.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"
#include "tests/ResourceTestSupport.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace zz {
namespace {

using test::errorOf;
using test::propertyList;
using Bytes = std::vector<uint8_t>;

std::string writeFile(const test::ScratchDir& dir, const std::string& name, const Bytes& bytes) {
    const std::string path = dir.file(name);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

Bytes text(const std::string& value, size_t size) {
    Bytes bytes(value.begin(), value.end());
    bytes.resize(size, 0);
    return bytes;
}

// The property list the zigzag module carries, with `kind` and `entry` in its place.
Bytes zigzagList(const Bytes& kind = {'A', 'E', 'P', 'S'}, const Bytes& entry = text("PluginMain", 12)) {
    return propertyList(
        3,
        {{fourCharCode("kind"), kind}, {fourCharCode("ivrs"), {2, 0, 0, 0}}, {fourCharCode("wx86"), entry}});
}

// Every resource as type, name, language and contents, in a fixed order.
using Listing = std::map<std::tuple<std::string, std::string, uint16_t>, Bytes>;
Listing listingOf(const ModuleResources& resources) {
    Listing listing;
    for (const ResourceEntry& entry : resources.list())
        listing[{resourceTypeName(entry.type), entry.name.toString(), entry.language}] =
            Bytes(entry.data.begin(), entry.data.end());
    return listing;
}

// The result of readModuleProperties on `bytes` written as a file: the properties, or the error text.
struct ReadResult {
    std::optional<ModuleProperties> properties;
    std::string error;
    std::string path;
};
ReadResult readFrom(const Bytes& bytes, const std::string& name = "module.aip") {
    static const test::ScratchDir dir;
    ReadResult result;
    result.path = writeFile(dir, name, bytes);
    result.properties = readModuleProperties(result.path, &result.error);
    return result;
}

#define EXPECT_REFUSED_READING(result, fragment)                                                             \
    do {                                                                                                     \
        const ReadResult& read = (result);                                                                   \
        EXPECT_FALSE(read.properties.has_value());                                                           \
        EXPECT_NE(read.error.find(fragment), std::string::npos) << read.error;                               \
        EXPECT_NE(read.error.find(read.path), std::string::npos) << read.error;                              \
    } while (0)

// ---- the built module ----

TEST(BuiltModuleProperties, DeclareASuitePlugInOfInterfaceTwoEnteredAtPluginMain) {
    std::string error;
    const std::optional<ModuleProperties> properties = readModuleProperties(test::modulePath(), &error);
    ASSERT_TRUE(properties.has_value()) << error;
    ASSERT_TRUE(properties->kind.has_value());
    EXPECT_EQ(*properties->kind, kSuitePluginKind);
    EXPECT_EQ(fourCharText(*properties->kind), "SPEA");
    EXPECT_EQ(properties->interfaceVersion, std::optional<uint32_t>(2));
    EXPECT_EQ(properties->entryPoint, "PluginMain");
    EXPECT_EQ(checkModuleProperties(*properties), std::nullopt);
}

// On Windows the file reader parses the PE module itself and the other reader asks the system loader: they
// must find the same resources with the same bytes.
TEST(BuiltModuleProperties, FileReaderFindsWhatTheModuleReaderFinds) {
    const Listing fromFile = listingOf(ModuleResources::readModuleFile(test::modulePath()));
    const Listing fromModule = listingOf(ModuleResources::openFile(test::modulePath()));
    EXPECT_GT(fromFile.size(), 60u);
    EXPECT_EQ(fromFile.size(), fromModule.size());
    for (const auto& [key, bytes] : fromModule) {
        const auto found = fromFile.find(key);
        ASSERT_NE(found, fromFile.end()) << std::get<0>(key) << " " << std::get<1>(key);
        EXPECT_TRUE(found->second == bytes) << std::get<0>(key) << " " << std::get<1>(key);
    }
}

// ---- PE modules read from their bytes ----

TEST(PeFileReader, FindsResourcesByTypeNameAndLanguage) {
    const Bytes image = test::peImage({{"PiPL", 16000, 1024, {1, 2, 3}},
                                       {kDialogResource, "ABOUT", 1024, {4, 5, 6, 7, 8}},
                                       {kDialogResource, 7, 1033, {9}},
                                       {kDialogResource, 7, 1024, {10, 11}}});
    const ModuleResources resources = ModuleResources::fromPeImage(image);
    ASSERT_EQ(resources.list().size(), 4u);
    auto bytesOf = [&](const ResourceId& type, const ResourceId& name, uint16_t language) {
        const std::optional<std::span<const uint8_t>> data = resources.find(type, name, language);
        return data ? Bytes(data->begin(), data->end()) : Bytes{0xEE};
    };
    EXPECT_EQ(bytesOf("PIPL", 16000, 1024), (Bytes{1, 2, 3}));
    EXPECT_EQ(bytesOf(kDialogResource, "about", 1024), (Bytes{4, 5, 6, 7, 8}));
    EXPECT_EQ(bytesOf(kDialogResource, 7, 1033), (Bytes{9}));
    EXPECT_EQ(bytesOf(kDialogResource, 7, 1024), (Bytes{10, 11}));
    EXPECT_FALSE(resources.find(kDialogResource, 8).has_value());
    EXPECT_FALSE(resources.find(kRawDataResource, 16000).has_value());
}

TEST(PeFileReader, ModuleWithoutResourceDirectoryHoldsNothing) {
    Bytes image = test::peImage({{kRawDataResource, 1, 1024, {1}}});
    for (size_t i = 0; i < 4; ++i)
        image[test::kPeResourceDirectoryField + i] = 0;
    EXPECT_TRUE(ModuleResources::fromPeImage(image).list().empty());
    Bytes fewDirectories = test::peImage({{kRawDataResource, 1, 1024, {1}}});
    fewDirectories[test::kPeOptionalHeader + 92] = 2; // export and import directories only
    EXPECT_TRUE(ModuleResources::fromPeImage(fewDirectories).list().empty());
}

TEST(PeFileReader, MalformedImagesAreErrors) {
    const Bytes valid = test::peImage({{kRawDataResource, 1, 1024, {1, 2, 3, 4}}});
    ASSERT_EQ(ModuleResources::fromPeImage(valid).list().size(), 1u);
    auto with = [&](size_t at, uint32_t value) {
        Bytes copy = valid;
        for (int i = 0; i < 4; ++i)
            copy[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
        return copy;
    };
    const size_t rsrc = test::kPeSectionData;
    // One type, one name, one language table (16 + 8 bytes each), then the data entry.
    const size_t typeEntry = rsrc + 16, nameEntry = rsrc + 24 + 16, languageEntry = rsrc + 48 + 16;
    const size_t dataEntry = rsrc + 72;
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(0, 0)), "not a PE module");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(0x3C, 0xFFFFFF00)), "outside the data");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(test::kPeHeaders, 0x4550 + 1)),
                          "no PE signature");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(test::kPeOptionalHeader, 0x10C)), "neither PE32");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(test::kPeResourceDirectoryField, 0x9000)),
                          "resource directory at address 36864 lies outside the module's sections");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(test::kPeSectionTable + 20, 0x7FFFFF00)),
                          "ends beyond the file");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(test::kPeSectionTable + 16, 0x7FFFFF00)),
                          "ends beyond the file");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(dataEntry, 0x9000)),
                          "resource rcdata 1 language 1024 at address 36864 lies outside");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(dataEntry + 4, 0xFFFFFFFF)),
                          "runs beyond its section");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(rsrc + 12, 0xFFFFFFFF)),
                          "more entries than it has room for");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(typeEntry + 4, 24)), "type entry holds no table");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(nameEntry + 4, 48)), "name entry holds no table");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(languageEntry + 4, 0x80000000u)),
                          "bad language entry of rcdata 1");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(nameEntry, 0x10000)), "out of range");
    // A name whose string lies beyond the section, and one that is empty.
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(nameEntry, 0x8000FFF0)), "outside the data");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(nameEntry, 0x80000000u | 0x1F0)),
                          "empty resource type or name");
    // A table that names itself as its own subtable stops at the fixed depth.
    EXPECT_RESOURCE_ERROR(ModuleResources::fromPeImage(with(typeEntry + 4, 0x80000000u)),
                          "bad language entry");
    for (size_t length = 0; length < valid.size(); ++length)
        EXPECT_NE(
            errorOf([&] { ModuleResources::fromPeImage(Bytes(valid.begin(), valid.begin() + length)); }),
            "(no error)")
            << length;
}

TEST(PeFileReader, DamagedCopiesOfTheModuleNeverReadOutOfBounds) {
    std::vector<test::PeResource> resources;
    // The module's resources must outlive the loop: the entries' bytes live in their image.
    const ModuleResources module = ModuleResources::readModuleFile(test::modulePath());
    for (const ResourceEntry& entry : module.list())
        resources.push_back(
            {entry.type, entry.name, entry.language, Bytes(entry.data.begin(), entry.data.end())});
    const Bytes image = test::peImage(resources);
    ASSERT_EQ(ModuleResources::fromPeImage(image).list().size(), resources.size());
    size_t parsed = 0, rejected = 0;
    uint32_t state = 777;
    auto next = [&] { return state = state * 1664525u + 1013904223u; };
    for (int round = 0; round < 1500; ++round) {
        Bytes damaged = image;
        // Most damage goes to the headers and the directory, where it changes what is read.
        const size_t reach = round % 2 == 0 ? test::kPeSectionData + 2048 : damaged.size();
        const int changes = 1 + static_cast<int>(next() % 4);
        for (int c = 0; c < changes; ++c)
            damaged[next() % reach] = static_cast<uint8_t>(next() >> 24);
        try {
            const ModuleResources read = ModuleResources::fromPeImage(std::move(damaged));
            unsigned sum = 0;
            for (const ResourceEntry& entry : read.list())
                for (uint8_t byte : entry.data)
                    sum += byte;
            (void)sum;
            ++parsed;
        } catch (const ResourceError&) {
            ++rejected;
        }
    }
    EXPECT_GT(parsed, 0u);
    EXPECT_GT(rejected, 0u);
}

// ---- property lists of hand-made modules ----

TEST(ModulePropertiesReader, ReadsElfAndPeModulesAlike) {
    const Bytes res = test::ResImage()
                          .add("PiPL", 16000, 1024, zigzagList({'A', 'E', 'P', 'S'}, text("PlugInEntry", 12)))
                          .bytes;
    const Bytes pe = test::peImage({{kBitmapResource, 100, 1024, {1}}, {"PIPL", 16000, 1024, zigzagList()}});
    for (const Bytes& module : {test::elfImage(".zzres", res), pe}) {
        const ReadResult read = readFrom(module);
        ASSERT_TRUE(read.properties.has_value()) << read.error;
        EXPECT_EQ(read.properties->kind, std::optional<uint32_t>(kSuitePluginKind));
        EXPECT_EQ(read.properties->interfaceVersion, std::optional<uint32_t>(2));
        EXPECT_EQ(checkModuleProperties(*read.properties), std::nullopt);
    }
    EXPECT_EQ(readFrom(test::elfImage(".zzres", res)).properties->entryPoint, "PlugInEntry");
    EXPECT_EQ(readFrom(pe).properties->entryPoint, "PluginMain");
}

TEST(ModulePropertiesReader, ErrorsNameTheFileAndWhatIsWrong) {
    std::string error;
    EXPECT_FALSE(readModuleProperties("/no/such/dir/KT07_Zigzag.aip", &error).has_value());
    EXPECT_NE(error.find("/no/such/dir/KT07_Zigzag.aip: no such file"), std::string::npos) << error;
    EXPECT_FALSE(readModuleProperties("/no/such/file.aip", nullptr).has_value());

    const Bytes withList = test::ResImage().add("PiPL", 16000, 1024, zigzagList()).bytes;
    EXPECT_REFUSED_READING(readFrom({'h', 'e', 'l', 'l', 'o'}), "not a module");
    EXPECT_REFUSED_READING(readFrom(withList, "resources.res"), "not a module"); // a .res file is no module
    EXPECT_REFUSED_READING(readFrom(test::elfImage(".text", {1, 2, 3})), "has no property list");
    EXPECT_REFUSED_READING(
        readFrom(test::elfImage(".zzres", test::ResImage().add(kBitmapResource, 100, 1024, {1}).bytes)),
        "has no property list (resource PiPL 16000 in language 1024)");
    EXPECT_REFUSED_READING(readFrom(test::peImage({})), "has no property list");
    EXPECT_REFUSED_READING(readFrom(test::peImage({{"PiPL", 16000, 1033, zigzagList()}})),
                           "has no property list");
    EXPECT_REFUSED_READING(readFrom(test::peImage({{"PiPL", 16001, 1024, zigzagList()}})),
                           "has no property list");
    // A malformed module is named as such, before any property list is looked for.
    Bytes badElf = test::elfImage(".zzres", withList);
    badElf[test::kElfNamesIndexField] = 9;
    EXPECT_REFUSED_READING(readFrom(badElf), "section name table index is out of range");
}

TEST(ModulePropertiesReader, MalformedListsAreNamedAsSuch) {
    const Bytes list = zigzagList();
    auto inElf = [](const Bytes& data) {
        return test::elfImage(".zzres", test::ResImage().add("PiPL", 16000, 1024, data).bytes);
    };
    EXPECT_REFUSED_READING(readFrom(inElf(Bytes(list.begin(), list.end() - 8))),
                           "malformed property list: truncated");
    EXPECT_REFUSED_READING(readFrom(inElf(Bytes(list.begin(), list.begin() + 7))),
                           "malformed property list: truncated");
    EXPECT_REFUSED_READING(readFrom(inElf({})), "malformed property list: truncated");
    EXPECT_REFUSED_READING(readFrom(inElf(zigzagList({'A', 'E', 'P'}))),
                           "malformed property list: 'kind' holds 3 bytes, not 4");
    EXPECT_REFUSED_READING(
        readFrom(inElf(propertyList(1, {{fourCharCode("ivrs"), {2, 0, 0, 0, 0, 0, 0, 0}}}))),
        "'ivrs' holds 8 bytes, not 4");
    EXPECT_REFUSED_READING(readFrom(test::peImage({{"PiPL", 16000, 1024, propertyList(4, {})}})),
                           "malformed property list: 4 properties do not fit");
}

TEST(ModulePropertiesCheck, RefusesOtherKindsAndModulesWithoutEntryPoint) {
    auto refusal = [](const Bytes& list) {
        const ReadResult read =
            readFrom(test::elfImage(".zzres", test::ResImage().add("PiPL", 16000, 1024, list).bytes));
        EXPECT_TRUE(read.properties.has_value()) << read.error;
        return read.properties ? checkModuleProperties(*read.properties) : std::nullopt;
    };
    EXPECT_EQ(refusal(zigzagList()), std::nullopt);
    EXPECT_EQ(refusal(zigzagList({'L', 'I', 'F', '8'})), "the module is of kind '8FIL', not 'SPEA'");
    // The code is stored little-endian: the bytes "SPEA" in reading order are the kind 'AEPS'.
    EXPECT_EQ(refusal(zigzagList({'S', 'P', 'E', 'A'})), "the module is of kind 'AEPS', not 'SPEA'");
    EXPECT_EQ(refusal(zigzagList({0, 1, 'x', '\\'})), "the module is of kind '\\x5Cx\\x01\\x00', not 'SPEA'");
    EXPECT_EQ(refusal(propertyList(1, {{fourCharCode("wx86"), text("PluginMain", 12)}})),
              "the property list declares no kind");
    EXPECT_EQ(refusal(zigzagList({'A', 'E', 'P', 'S'}, {0, 0, 0, 0})),
              "the property list names no entry point");
    EXPECT_EQ(refusal(propertyList(1, {{fourCharCode("kind"), {'A', 'E', 'P', 'S'}}})),
              "the property list names no entry point");
}

#if defined(_WIN32)

// ---- the system loader's spans (Windows) ----

Bytes readBytes(const std::string& path) {
    const std::string text = test::readFile(path);
    return Bytes(text.begin(), text.end());
}

// A copy of the built module in which the resource directory gives resource (type, number) the address and
// size that `damage` makes of its own. The data entry is found in the file by its address and size as the
// loader reports them.
Bytes moduleWithDamagedEntry(
    LPCSTR type, uint16_t number,
    const std::function<std::pair<uint32_t, uint32_t>(uint32_t, uint32_t, uint32_t)>& damage) {
    Bytes file = readBytes(test::modulePath());
    HMODULE module = LoadLibraryExA(test::modulePath().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    EXPECT_NE(module, nullptr);
    if (module == nullptr) return file;
    const auto* base = reinterpret_cast<const uint8_t*>(reinterpret_cast<uintptr_t>(module) & ~uintptr_t{3});
    HRSRC info = FindResourceExA(module, type, MAKEINTRESOURCEA(number), kNeutralLanguage);
    const void* data = info != nullptr ? LockResource(LoadResource(module, info)) : nullptr;
    const uint32_t size = info != nullptr ? SizeofResource(module, info) : 0;
    uint32_t imageSize = 0;
    std::memcpy(&imageSize, base + *reinterpret_cast<const uint32_t*>(base + 0x3C) + 4 + 20 + 56, 4);
    FreeLibrary(module);
    EXPECT_NE(data, nullptr);
    if (data == nullptr) return file;
    const auto address = static_cast<uint32_t>(static_cast<const uint8_t*>(data) - base);
    Bytes pattern;
    test::putU32(pattern, address);
    test::putU32(pattern, size);
    const auto at = std::search(file.begin(), file.end(), pattern.begin(), pattern.end());
    EXPECT_NE(at, file.end());
    if (at == file.end()) return file;
    EXPECT_EQ(std::search(at + 1, file.end(), pattern.begin(), pattern.end()), file.end());
    const auto [newAddress, newSize] = damage(address, size, imageSize);
    Bytes replacement;
    test::putU32(replacement, newAddress);
    test::putU32(replacement, newSize);
    std::copy(replacement.begin(), replacement.end(), at);
    return file;
}

TEST(LoaderResourceSpans, SpansBeyondTheModuleImageAreErrorsNotCrashes) {
    const test::ScratchDir dir;
    const auto hugeSize = [](uint32_t address, uint32_t, uint32_t) {
        return std::pair<uint32_t, uint32_t>(address, 0x7FFFFF00u);
    };
    const auto endOfImage = [](uint32_t, uint32_t size, uint32_t imageSize) {
        return std::pair<uint32_t, uint32_t>(imageSize - 4, size);
    };
    struct Case {
        const char* name;
        LPCSTR type;
        uint16_t number;
        std::function<void(const ModuleResources&)> read;
    };
    const std::vector<Case> cases = {
        {"dialog", RT_DIALOG, 16050, [](const ModuleResources& m) { loadDialog(m, 16050); }},
        {"string", RT_STRING, 1004, [](const ModuleResources& m) { loadString(m, 16052); }},
        {"icon group", RT_GROUP_ICON, 16051, [](const ModuleResources& m) { loadIcon(m, 16051); }},
    };
    for (const Case& c : cases)
        for (const auto& damage :
             {std::function<std::pair<uint32_t, uint32_t>(uint32_t, uint32_t, uint32_t)>(hugeSize),
              std::function<std::pair<uint32_t, uint32_t>(uint32_t, uint32_t, uint32_t)>(endOfImage)}) {
            const std::string path =
                writeFile(dir, "damaged.aip", moduleWithDamagedEntry(c.type, c.number, damage));
            // Mapped as a data file, as the resource listing maps it...
            {
                const ModuleResources mapped = ModuleResources::openFile(path);
                const std::string message = errorOf([&] { c.read(mapped); });
                EXPECT_NE(message.find("lies outside the module image"), std::string::npos)
                    << c.name << ": " << message;
                EXPECT_NE(errorOf([&] { mapped.list(); }).find("lies outside the module image"),
                          std::string::npos)
                    << c.name;
            }
            // ...and loaded as a module, as the host loads it (without running its code).
            HMODULE loaded = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
            ASSERT_NE(loaded, nullptr) << c.name;
            {
                const ModuleResources resources = ModuleResources::fromLoadedModule(loaded, path);
                const std::string message = errorOf([&] { c.read(resources); });
                EXPECT_NE(message.find("lies outside the module image"), std::string::npos)
                    << c.name << ": " << message;
                // The undamaged resources still read.
                EXPECT_TRUE(loadDialog(resources, 16201).has_value()) << c.name;
            }
            FreeLibrary(loaded);
        }
}

#endif

} // namespace
} // namespace zz
