// The resource reader on hand-made and damaged input: .res images, ELF modules, dialog templates, bitmaps,
// groups and property lists. Damaged input must raise ResourceError, never read outside its data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"
#include "host/resources/ResourceListing.h"
#include "tests/ResourceTestSupport.h"

namespace zz {
namespace {

using test::errorOf;
using test::propertyList;
using test::putU16;
using test::putU32;
using test::putUtf16z;
using Bytes = std::vector<uint8_t>;

// A 4-bit bitmap (BITMAPINFOHEADER, 16 colours, bottom-up) of `width` x `height` with pixel (x, y) = (x + y)
// % 16.
Bytes bitmap4(int width, int height, int storedHeight, uint32_t compression = 0, uint32_t coloursUsed = 16) {
    Bytes out;
    putU32(out, 40);
    putU32(out, static_cast<uint32_t>(width));
    putU32(out, static_cast<uint32_t>(storedHeight));
    putU16(out, 1);
    putU16(out, 4);
    putU32(out, compression);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, coloursUsed);
    putU32(out, 0);
    for (uint32_t i = 0; i < coloursUsed; ++i)
        putU32(out, i * 0x111111u);
    const int stride = ((width * 4 + 31) / 32) * 4;
    for (int stored = 0; stored < height; ++stored) {
        const int y = storedHeight < 0 ? stored : height - 1 - stored;
        Bytes row(static_cast<size_t>(stride), 0);
        for (int x = 0; x < width; ++x)
            row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(((x + y) % 16) << (x % 2 == 0 ? 4 : 0));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// Runs every format reader that applies to the entry; each must succeed or raise ResourceError.
void readEverything(const ModuleResources& resources) {
    for (const ResourceEntry& entry : resources.list()) {
        try {
            if (entry.type == ResourceId(kStringResource)) parseStringBlock(entry.data);
            if (entry.type == ResourceId(kDialogResource)) parseDialogTemplate(entry.data);
            if (entry.type == ResourceId(kBitmapResource)) decodeDib(entry.data, false);
            if (entry.type == ResourceId(kIconResource)) decodeDib(entry.data, true);
            if (entry.type == ResourceId(kCursorResource) && entry.data.size() >= 4)
                decodeDib(entry.data.subspan(4), true);
            if (entry.type == ResourceId(kCursorGroupResource) && entry.name.isNumber()) {
                parseGroup(entry.data, true);
                loadCursor(resources, entry.name.number(), entry.language);
            }
            if (entry.type == ResourceId(kIconGroupResource) && entry.name.isNumber()) {
                parseGroup(entry.data, false);
                loadIcon(resources, entry.name.number(), entry.language);
            }
            if (entry.type == ResourceId("PiPL")) parsePluginPropertyList(entry.data).entryPointName();
        } catch (const ResourceError&) {
        }
    }
}

// The module's resources rebuilt as a .res image.
Bytes moduleAsResImage() {
    const ModuleResources module = ModuleResources::openFile(test::modulePath());
    test::ResImage image;
    for (const ResourceEntry& entry : module.list())
        image.add(entry.type, entry.name, entry.language, Bytes(entry.data.begin(), entry.data.end()));
    return image.bytes;
}

// Writes `bytes` as file `name` in `dir` and returns its path.
std::string writeFile(const test::ScratchDir& dir, const std::string& name, const Bytes& bytes) {
    const std::string path = dir.file(name);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// ---- .res images ----

TEST(ResImage, FindsResourcesByTypeNameAndLanguage) {
    test::ResImage image;
    image.add("PiPL", 16000, 1024, {1, 2, 3})
        .add(kDialogResource, "ABOUT", 1024, {4, 5, 6, 7, 8})
        .add(kDialogResource, 7, 1033, {9})
        .add(kDialogResource, 7, 1024, {10, 11});
    const ModuleResources resources = ModuleResources::fromResImage(image.bytes);
    ASSERT_EQ(resources.list().size(), 4u);
    EXPECT_EQ(resources.list()[0].type.name(), "PiPL");
    EXPECT_EQ(resources.list()[1].name.toString(), "\"ABOUT\"");

    auto bytesOf = [&](const ResourceId& type, const ResourceId& name, uint16_t language) {
        const std::optional<std::span<const uint8_t>> data = resources.find(type, name, language);
        return data ? Bytes(data->begin(), data->end()) : Bytes{0xEE};
    };
    EXPECT_EQ(bytesOf("PIPL", 16000, 1024), (Bytes{1, 2, 3}));
    EXPECT_EQ(bytesOf(kDialogResource, "about", 1024), (Bytes{4, 5, 6, 7, 8}));
    EXPECT_EQ(bytesOf(kDialogResource, 7, 1033), (Bytes{9}));
    EXPECT_EQ(bytesOf(kDialogResource, 7, 1024), (Bytes{10, 11}));
    EXPECT_FALSE(resources.find(kDialogResource, 8).has_value());
    EXPECT_FALSE(resources.find("PiPL", 16000, 1033).has_value());
    EXPECT_FALSE(resources.find(kRawDataResource, 16000).has_value()); // a number is not the named type
    EXPECT_RESOURCE_ERROR(resources.require(kDialogResource, 8), "dialog resource 8");
}

TEST(ResImage, HeaderAloneHoldsNothingAndLastPaddingMayBeMissing) {
    EXPECT_TRUE(ModuleResources::fromResImage(test::ResImage().bytes).list().empty());
    test::ResImage image;
    image.add(kRawDataResource, 1, 1024, {1, 2, 3});
    image.bytes.pop_back(); // the padding byte after the three data bytes
    const ModuleResources resources = ModuleResources::fromResImage(image.bytes);
    ASSERT_EQ(resources.list().size(), 1u);
    EXPECT_EQ(resources.list()[0].data.size(), 3u);
}

TEST(ResImage, MalformedImagesAreErrors) {
    const Bytes valid = test::ResImage().add(kRawDataResource, 1, 1024, {1, 2, 3, 4}).bytes;
    auto withU32 = [&](size_t at, uint32_t value) {
        Bytes copy = valid;
        for (int i = 0; i < 4; ++i)
            copy[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
        return copy;
    };
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage({}), "no data");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(Bytes(valid.begin() + 32, valid.end())),
                          "empty entry");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(Bytes(valid.begin(), valid.begin() + 36)),
                          "truncated");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(withU32(36, 8)), "bad header size");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(withU32(36, 0x7FFFFFFF)), "bad header size");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(withU32(32, 5)), "beyond the end");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(withU32(32, 0xFFFFFFFF)), "beyond the end");
    // A type string that runs to the end of its header without a terminator.
    Bytes unterminated = valid;
    for (size_t i = 40; i < 64; ++i)
        unterminated[i] = 'A';
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(unterminated), "truncated");
    // An empty string is no name.
    Bytes emptyName = withU32(40, 0);
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(emptyName), "empty resource type");
    test::ResImage twice;
    twice.add(kRawDataResource, 1, 1024, {1}).add(kRawDataResource, 1, 1024, {2});
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(twice.bytes), "appears twice");
}

TEST(ResImage, EntriesThatCompareEqualAreDuplicatesWhereverTheyStand) {
    auto entries = [](std::initializer_list<std::pair<ResourceId, ResourceId>> ids) {
        test::ResImage image;
        uint8_t value = 0;
        for (const auto& [type, name] : ids)
            image.add(type, name, 1024, {value++});
        return image.bytes;
    };
    // Names compare without regard to ASCII case...
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(entries({{"PiPL", "Main"}, {"PIPL", "mAIN"}})),
                          "resource \"PIPL\" \"mAIN\" language 1024 appears twice");
    // ...but a number is not the name of its digits, and other bytes are compared as they are.
    EXPECT_EQ(ModuleResources::fromResImage(entries({{kRawDataResource, 10}, {kRawDataResource, "10"}}))
                  .list()
                  .size(),
              2u);
    EXPECT_EQ(ModuleResources::fromResImage(entries({{"T", "\xC3\xA9"}, {"T", "\xC3\x89"}})).list().size(),
              2u);
    EXPECT_EQ(ModuleResources::fromResImage(entries({{"T", "AB"}, {"TA", "B"}})).list().size(), 2u);
    // Languages tell entries apart; a duplicate far from its first is still found, and the first entry wins.
    test::ResImage many;
    for (uint32_t i = 0; i < 5000; ++i)
        many.add(kBitmapResource, static_cast<uint16_t>(i), static_cast<uint16_t>(1024 + i % 3), {1});
    const ModuleResources distinct = ModuleResources::fromResImage(many.bytes);
    EXPECT_EQ(distinct.list().size(), 5000u);
    many.add(kBitmapResource, uint16_t{0}, 1024, {2});
    EXPECT_RESOURCE_ERROR(ModuleResources::fromResImage(many.bytes), "bitmap 0 language 1024 appears twice");
}

// Reading and looking up must stay linear: comparing every entry with every earlier one takes minutes here.
TEST(ResImage, ReadsTwoHundredThousandEntriesAndFindsEachOne) {
    constexpr uint32_t kCount = 200000;
    test::ResImage image;
    for (uint32_t i = 0; i < kCount; ++i) {
        const uint16_t number = static_cast<uint16_t>(i % 50000);
        const uint16_t language = static_cast<uint16_t>(1024 + i / 50000);
        if (i % 2 == 0)
            image.add(kRawDataResource, number, language, {static_cast<uint8_t>(i)});
        else
            image.add("DATA", "N" + std::to_string(number), language, {static_cast<uint8_t>(i)});
    }
    const ModuleResources resources = ModuleResources::fromResImage(std::move(image.bytes));
    ASSERT_EQ(resources.list().size(), kCount);
    size_t found = 0;
    for (uint32_t i = 0; i < kCount; ++i) {
        const uint16_t number = static_cast<uint16_t>(i % 50000);
        const uint16_t language = static_cast<uint16_t>(1024 + i / 50000);
        const std::optional<std::span<const uint8_t>> data =
            i % 2 == 0 ? resources.find(kRawDataResource, number, language)
                       : resources.find("data", "n" + std::to_string(number), language);
        found += data && data->size() == 1 && (*data)[0] == static_cast<uint8_t>(i);
    }
    EXPECT_EQ(found, kCount);
}

TEST(ResImage, DamagedCopiesOfTheModuleNeverReadOutOfBounds) {
    const Bytes image = moduleAsResImage();
    ASSERT_GT(image.size(), 1000u);
    ASSERT_NO_THROW(readEverything(ModuleResources::fromResImage(image)));
    size_t parsed = 0, rejected = 0;
    // Cut short at many places...
    for (size_t length = 0; length < image.size(); length += (length < 1024 ? 3 : 331)) {
        try {
            readEverything(ModuleResources::fromResImage(Bytes(image.begin(), image.begin() + length)));
            ++parsed;
        } catch (const ResourceError&) {
            ++rejected;
        }
    }
    // ...and with bytes overwritten (a fixed pseudo-random sequence, so every run tests the same copies).
    uint32_t state = 12345;
    auto next = [&] { return state = state * 1664525u + 1013904223u; };
    for (int round = 0; round < 800; ++round) {
        Bytes damaged = image;
        const int changes = 1 + static_cast<int>(next() % 4);
        for (int c = 0; c < changes; ++c)
            damaged[next() % damaged.size()] = static_cast<uint8_t>(next() >> 24);
        try {
            readEverything(ModuleResources::fromResImage(std::move(damaged)));
            ++parsed;
        } catch (const ResourceError&) {
            ++rejected;
        }
    }
    EXPECT_GT(parsed, 0u);
    EXPECT_GT(rejected, 0u);
}

// ---- ELF modules ----

TEST(ElfModule, FindsTheResourceSection) {
    const Bytes res = test::ResImage().add("PiPL", 16000, 1024, {7, 7}).bytes;
    const ModuleResources resources = ModuleResources::fromElfImage(test::elfImage(".zzres", res));
    const std::optional<std::span<const uint8_t>> data = resources.find("PiPL", 16000);
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(Bytes(data->begin(), data->end()), (Bytes{7, 7}));
}

TEST(ElfModule, MalformedFilesAreErrors) {
    const Bytes res = test::ResImage().add("PiPL", 16000, 1024, {7, 7}).bytes;
    const Bytes valid = test::elfImage(".zzres", res);
    auto with = [&](size_t at, uint64_t value, int size) {
        Bytes copy = valid;
        for (int i = 0; i < size; ++i)
            copy[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
        return copy;
    };
    const uint64_t table = valid.size() - 3 * 64;
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(test::elfImage(".text", res)), "has no .zzres");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(test::elfImage(".zzresx", res)), "has no .zzres");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(0, 0x7F454C46, 4)), "not an ELF");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(4, 1, 1)), "not a 64-bit");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(5, 2, 1)), "not a little-endian");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(test::kElfSectionTableField, 0, 8)),
                          "no section");
    EXPECT_RESOURCE_ERROR(
        ModuleResources::fromElfImage(with(test::kElfSectionTableField, valid.size() - 10, 8)),
        "outside the file");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(test::kElfSectionTableField, ~0ull - 100, 8)),
                          "outside the file");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(test::kElfSectionCountField, 4, 2)),
                          "outside the file");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(test::kElfNamesIndexField, 3, 2)),
                          "out of range");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(0x3A, 40, 2)), "too small");
    // Section 2 (.zzres): offset and size beyond the file, or a section without contents in the file.
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(table + 128 + 24, valid.size() + 1, 8)),
                          "resource section lies outside");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(table + 128 + 32, ~0ull, 8)),
                          "resource section lies outside");
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(table + 128 + 4, 8, 4)),
                          "resource section lies outside");
    // The name table's size cut so that the last name has no terminator.
    EXPECT_RESOURCE_ERROR(ModuleResources::fromElfImage(with(table + 64 + 32, 17, 8)), "not terminated");
    // The resource image inside is checked too.
    EXPECT_RESOURCE_ERROR(
        ModuleResources::fromElfImage(test::elfImage(".zzres", Bytes(res.begin(), res.end() - 3))),
        "beyond the end");
    for (size_t length = 0; length < valid.size(); ++length)
        EXPECT_NE(
            errorOf([&] { ModuleResources::fromElfImage(Bytes(valid.begin(), valid.begin() + length)); }),
            "(no error)")
            << length;
}

TEST(ElfModule, SectionCountsBeyondTheHeaderFieldLiveInSectionZero) {
    const Bytes res = test::ResImage().add(kRawDataResource, 3, 1024, {1}).bytes;
    Bytes image = test::elfImage(".zzres", res);
    const size_t table = image.size() - 3 * 64;
    image[test::kElfSectionCountField] = 0;
    image[test::kElfSectionCountField + 1] = 0;
    image[test::kElfNamesIndexField] = 0xFF;
    image[test::kElfNamesIndexField + 1] = 0xFF;
    image[table + 32] = 3; // section 0's size: the section count
    image[table + 40] = 1; // section 0's link: the name table's index
    EXPECT_TRUE(ModuleResources::fromElfImage(image).find(kRawDataResource, 3).has_value());
}

// ---- opening files ----

TEST(OpenFile, NamesTheProblem) {
    const test::ScratchDir dir;
    EXPECT_RESOURCE_ERROR(ModuleResources::openFile("/no/such/dir/KT07_Zigzag.aip"),
                          "/no/such/dir/KT07_Zigzag.aip");
    EXPECT_RESOURCE_ERROR(ModuleResources::openFile(dir.path().string()), "not a regular file");
    const std::string text = writeFile(dir, "text.aip", Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_RESOURCE_ERROR(ModuleResources::openFile(text), "not a module");
    const std::string windows = writeFile(dir, "pe.aip", Bytes{'M', 'Z', 0, 0, 1, 2, 3});
#if defined(_WIN32)
    EXPECT_RESOURCE_ERROR(ModuleResources::openFile(windows), "cannot map the module");
#else
    EXPECT_RESOURCE_ERROR(ModuleResources::openFile(windows), "Windows module");
#endif
    const std::string res = writeFile(dir, "resources.res", test::ResImage().add(2, 100, 1024, {1}).bytes);
    EXPECT_TRUE(ModuleResources::openFile(res).find(kBitmapResource, 100).has_value());
}

TEST(OpenFile, ListingReportsErrorsWithExitCodeTwo) {
    std::ostringstream out, err;
    EXPECT_EQ(listModuleResources("/no/such/module.aip", out, err), 2);
    EXPECT_NE(err.str().find("/no/such/module.aip"), std::string::npos) << err.str();
    EXPECT_TRUE(out.str().empty());

    const test::ScratchDir dir;
    Bytes damaged = test::ResImage().add(kRawDataResource, 1, 1024, {1, 2, 3, 4}).bytes;
    damaged[32] = 200; // data size beyond the end
    const std::string path = writeFile(dir, "damaged.res", damaged);
    std::ostringstream out2, err2;
    EXPECT_EQ(listModuleResources(path, out2, err2), 2);
    EXPECT_NE(err2.str().find("beyond the end"), std::string::npos) << err2.str();
    EXPECT_TRUE(out2.str().empty());
}

// ---- dialog templates ----

// An extended template: font with weight and character set, an item of a predefined class, an item of a named
// class with a numbered title and creation data.
Bytes extendedDialog() {
    Bytes out;
    putU16(out, 1);
    putU16(out, 0xFFFF);
    putU32(out, 77);          // help id
    putU32(out, 0x00000100);  // extended style
    putU32(out, 0x80C80040u); // style with a font
    putU16(out, 2);
    for (int v : {10, 20, 200, 100})
        putU16(out, static_cast<uint16_t>(v));
    putU16(out, 0);      // no menu
    putU16(out, 0xFFFF); // class by number
    putU16(out, 0x8002);
    putUtf16z(out, "Extended");
    putU16(out, 9);
    putU16(out, 700);
    out.push_back(1);
    out.push_back(0);
    putUtf16z(out, "Tahoma");
    test::padTo4(out);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0x50010000);
    for (int v : {5, 6, 50, 14})
        putU16(out, static_cast<uint16_t>(v));
    putU32(out, 70000);
    putU16(out, 0xFFFF);
    putU16(out, 0x80);
    putUtf16z(out, "Go");
    putU16(out, 0);
    test::padTo4(out);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0x50000000);
    for (int v : {-3, 30, 100, 12})
        putU16(out, static_cast<uint16_t>(v));
    putU32(out, 12);
    putUtf16z(out, "my_slider");
    putU16(out, 0xFFFF);
    putU16(out, 5);
    putU16(out, 4);
    for (uint8_t b : {1, 2, 3, 4})
        out.push_back(b);
    return out;
}

TEST(DialogTemplateReader, ReadsExtendedTemplates) {
    const DialogTemplate dialog = parseDialogTemplate(extendedDialog());
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(dialog.style, 0x80C80040u);
    EXPECT_EQ(dialog.exStyle, 0x100u);
    EXPECT_EQ((std::vector<int>{dialog.x, dialog.y, dialog.width, dialog.height}),
              (std::vector<int>{10, 20, 200, 100}));
    EXPECT_EQ(dialog.menu, "");
    EXPECT_EQ(dialog.windowClass, "#32770");
    EXPECT_EQ(dialog.caption, "Extended");
    EXPECT_EQ(dialog.fontSize, 9);
    EXPECT_EQ(dialog.fontName, "Tahoma");
    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.items[0].id, 70000);
    EXPECT_EQ(dialog.items[0].className, "Button");
    EXPECT_EQ(dialog.items[0].classAtom, 0x80);
    EXPECT_EQ(dialog.items[0].text, "Go");
    EXPECT_EQ(dialog.items[0].style, 0x50010000u);
    EXPECT_EQ(dialog.items[1].id, 12);
    EXPECT_EQ(dialog.items[1].className, "my_slider");
    EXPECT_EQ(dialog.items[1].text, "#5");
    EXPECT_EQ(dialog.items[1].x, -3);
    EXPECT_EQ(dialog.items[1].height, 12);
}

TEST(DialogTemplateReader, TruncatedTemplatesAreErrors) {
    const Bytes full = extendedDialog();
    for (size_t length = 0; length < full.size(); ++length)
        EXPECT_NE(errorOf([&] { parseDialogTemplate(Bytes(full.begin(), full.begin() + length)); }),
                  "(no error)")
            << length;
    // An item count far beyond the data.
    Bytes plain;
    putU32(plain, 0x80C80000u);
    putU32(plain, 0);
    putU16(plain, 60000);
    for (int i = 0; i < 4; ++i)
        putU16(plain, 0);
    putU16(plain, 0);
    putU16(plain, 0);
    putUtf16z(plain, "x");
    EXPECT_RESOURCE_ERROR(parseDialogTemplate(plain), "truncated");
    // Creation data longer than the template.
    Bytes withData = extendedDialog();
    withData[withData.size() - 6] = 0xFF;
    EXPECT_RESOURCE_ERROR(parseDialogTemplate(withData), "truncated");
}

// ---- bitmaps, groups, string blocks ----

TEST(BitmapReader, DecodesRowsInPictureOrder) {
    for (int storedHeight : {5, -5}) {
        const IndexedImage image = decodeDib(bitmap4(7, 5, storedHeight), false);
        ASSERT_EQ(image.width, 7);
        ASSERT_EQ(image.height, 5);
        EXPECT_EQ(image.bitCount, 4);
        EXPECT_TRUE(image.transparent.empty());
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(image.index(x, y), (x + y) % 16) << storedHeight << ": " << x << "," << y;
        EXPECT_EQ(image.colour(1, 2), 3 * 0x111111u);
    }
}

TEST(BitmapReader, MalformedBitmapsAreErrors) {
    EXPECT_RESOURCE_ERROR(decodeDib(bitmap4(8, 8, 8, 2), false), "compression 2");
    EXPECT_RESOURCE_ERROR(decodeDib(bitmap4(8, 8, 8, 0, 4), false), "beyond the palette");
    const Bytes valid = bitmap4(8, 8, 8);
    EXPECT_RESOURCE_ERROR(decodeDib(Bytes(valid.begin(), valid.end() - 1), false), "truncated");
    EXPECT_RESOURCE_ERROR(decodeDib(Bytes(valid.begin(), valid.begin() + 20), false), "truncated");
    auto with = [&](size_t at, uint32_t value, int size) {
        Bytes copy = valid;
        for (int i = 0; i < size; ++i)
            copy[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
        return copy;
    };
    EXPECT_RESOURCE_ERROR(decodeDib(with(32, 17, 4), false), "17 palette entries");
    EXPECT_RESOURCE_ERROR(decodeDib(with(32, 0xFFFFFFFF, 4), false), "palette entries");
    EXPECT_RESOURCE_ERROR(decodeDib(with(0, 12, 4), false), "not a BITMAPINFOHEADER");
    EXPECT_RESOURCE_ERROR(decodeDib(with(0, 0x10000, 4), false), "outside the data");
    EXPECT_RESOURCE_ERROR(decodeDib(with(4, 0, 4), false), "bad width");
    EXPECT_RESOURCE_ERROR(decodeDib(with(4, 100000, 4), false), "bad width");
    EXPECT_RESOURCE_ERROR(decodeDib(with(8, 0x80000000u, 4), false), "bad height");
    EXPECT_RESOURCE_ERROR(decodeDib(with(12, 2, 2), false), "plane count");
    EXPECT_RESOURCE_ERROR(decodeDib(with(14, 24, 2), false), "24 bits per pixel");
    // An icon image must hold the picture and its mask: an even, bottom-up height.
    EXPECT_RESOURCE_ERROR(decodeDib(with(8, 7, 4), true), "does not hold a picture and its mask");
    EXPECT_RESOURCE_ERROR(decodeDib(with(8, static_cast<uint32_t>(-8), 4), true), "does not hold");
    EXPECT_RESOURCE_ERROR(decodeDib(with(8, 16, 4), true), "truncated"); // an 8 x 8 picture without its mask
}

TEST(GroupReader, ChecksHeaderAndEntries) {
    Bytes cursorGroup;
    putU16(cursorGroup, 0);
    putU16(cursorGroup, 2);
    putU16(cursorGroup, 1);
    for (int v : {32, 64, 1, 1})
        putU16(cursorGroup, static_cast<uint16_t>(v));
    putU32(cursorGroup, 308);
    putU16(cursorGroup, 9);
    const std::vector<GroupEntry> entries = parseGroup(cursorGroup, true);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].height, 32);
    EXPECT_EQ(entries[0].id, 9);
    EXPECT_RESOURCE_ERROR(parseGroup(cursorGroup, false), "resource type 2");
    EXPECT_RESOURCE_ERROR(parseGroup(Bytes(cursorGroup.begin(), cursorGroup.end() - 1), true), "truncated");
    Bytes reserved = cursorGroup;
    reserved[0] = 1;
    EXPECT_RESOURCE_ERROR(parseGroup(reserved, true), "reserved");

    // A group whose image is missing, and one whose hot spot lies outside its picture.
    test::ResImage image;
    image.add(kCursorGroupResource, 5, 1024, cursorGroup);
    EXPECT_RESOURCE_ERROR(loadCursor(ModuleResources::fromResImage(image.bytes), 5), "cursor resource 9");
    Bytes cursorImage;
    putU16(cursorImage, 40);
    putU16(cursorImage, 3);
    const Bytes picture = bitmap4(8, 4, 8);
    cursorImage.insert(cursorImage.end(), picture.begin(), picture.end());
    for (int i = 0; i < 16; ++i)
        putU16(cursorImage, 0); // AND mask: 4 rows of 4 bytes
    image.add(kCursorResource, 9, 1024, cursorImage);
    EXPECT_RESOURCE_ERROR(loadCursor(ModuleResources::fromResImage(image.bytes), 5), "hot spot");
    EXPECT_FALSE(loadCursor(ModuleResources::fromResImage(image.bytes), 6).has_value());
}

TEST(StringBlockReader, ReadsSixteenCountedStrings) {
    Bytes block;
    for (int i = 0; i < 16; ++i) {
        const std::string text = i % 5 == 0 ? std::string() : "s" + std::to_string(i);
        putU16(block, static_cast<uint16_t>(text.size()));
        for (char c : text)
            putU16(block, static_cast<uint8_t>(c));
    }
    const std::vector<std::string> strings = parseStringBlock(block);
    ASSERT_EQ(strings.size(), 16u);
    EXPECT_EQ(strings[0], "");
    EXPECT_EQ(strings[3], "s3");
    EXPECT_EQ(strings[15], "");
    EXPECT_RESOURCE_ERROR(parseStringBlock(Bytes(block.begin(), block.end() - 1)), "truncated");
    Bytes tooLong = block;
    tooLong[0] = 0xFF; // the first string claims 255 characters
    EXPECT_RESOURCE_ERROR(parseStringBlock(tooLong), "truncated");

    // String n lives in block (n >> 4) + 1 at n & 15.
    const ModuleResources resources =
        ModuleResources::fromResImage(test::ResImage().add(kStringResource, 3, 1024, block).bytes);
    EXPECT_EQ(loadString(resources, 32 + 4), "s4");
    EXPECT_EQ(loadString(resources, 32 + 5), "");
    EXPECT_EQ(loadString(resources, 48), std::nullopt);
}

TEST(StringBlockReader, DecodesUtf16ToUtf8) {
    EXPECT_EQ(utf16ToUtf8(u"A\u00e9\u20ac"), "A\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD83D, 0xDE00}), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD83D, 'x'}), "\xEF\xBF\xBDx"); // a lone surrogate
}

// ---- plug-in property lists ----

TEST(PropertyListReader, ReadsPropertiesAndTheEntryPoint) {
    const Bytes list = propertyList(2, {{fourCharCode("kind"), {'A', 'E', 'P', 'S'}},
                                        {fourCharCode("wx86"), {'M', 'a', 'i', 'n', 'X', 0}}});
    const PluginPropertyList parsed = parsePluginPropertyList(list);
    ASSERT_EQ(parsed.properties.size(), 2u);
    EXPECT_EQ(parsed.properties[1].value.size(), 6u);
    EXPECT_EQ(parsed.entryPointName(), "MainX");
    const PluginPropertyList withoutEntry =
        parsePluginPropertyList(propertyList(1, {{fourCharCode("kind"), {1}}}));
    EXPECT_EQ(withoutEntry.entryPointName(), std::nullopt);
    // The last value may end the list without its padding.
    const Bytes unpadded = propertyList(1, {{fourCharCode("ivrs"), {2}}});
    EXPECT_NO_THROW(parsePluginPropertyList(Bytes(unpadded.begin(), unpadded.end() - 3)));
}

TEST(PropertyListReader, MalformedListsAreErrors) {
    const Bytes list = propertyList(1, {{fourCharCode("wx86"), {'P', 0, 0, 0}}});
    EXPECT_RESOURCE_ERROR(parsePluginPropertyList(propertyList(2, {{fourCharCode("kind"), {1, 2, 3, 4}}})),
                          "do not fit");
    EXPECT_RESOURCE_ERROR(parsePluginPropertyList(propertyList(0xFFFFFFFF, {})), "do not fit");
    Bytes longValue = list;
    longValue[22] = 200; // the value's length
    EXPECT_RESOURCE_ERROR(parsePluginPropertyList(longValue), "truncated");
    Bytes badSignature = list;
    badSignature[0] = 2;
    EXPECT_RESOURCE_ERROR(parsePluginPropertyList(badSignature), "signature 2");
    EXPECT_RESOURCE_ERROR(parsePluginPropertyList(Bytes(list.begin(), list.begin() + 5)), "truncated");
}

} // namespace
} // namespace zz
