// The resources the built module carries, read back through the host's resource reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "host/core/ModuleLoader.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"
#include "host/resources/ResourceListing.h"
#include "tests/ResourceTestSupport.h"

namespace zz {
namespace {

constexpr uint32_t kModalDialogStyle = 0x80000000u /* popup */ | 0x00C00000u /* caption */ |
                                       0x00080000u /* system menu */ | 0x80u /* modal frame */;
constexpr uint32_t kSetFont = 0x40;
constexpr uint32_t kDefaultPushButton = 0x1;
constexpr uint32_t kBlackFrame = 0x7;

class ModuleResourcesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        try {
            module_ = new ModuleResources(ModuleResources::openFile(test::modulePath()));
        } catch (const ResourceError& error) {
            loadError_ = error.what();
        }
    }
    static void TearDownTestSuite() {
        delete module_;
        module_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(module_, nullptr) << loadError_; }
    static const ModuleResources& module() { return *module_; }

  private:
    static ModuleResources* module_;
    static std::string loadError_;
};

std::string ModuleResourcesTest::loadError_;
ModuleResources* ModuleResourcesTest::module_ = nullptr;

TEST_F(ModuleResourcesTest, PropertyListHasTheExactLittleEndianBytes) {
    const std::vector<uint8_t> expected = {
        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, // 1, 0, count 3
        'E',  'B',  'D',  'A',  'd',  'n',  'i',  'k',  0,    0,    0, 0, 4,  0, 0, 0,
        'A',  'E',  'P',  'S', // kind = SPEA
        'E',  'B',  'D',  'A',  's',  'r',  'v',  'i',  0,    0,    0, 0, 4,  0, 0, 0,
        2,    0,    0,    0,                                                           // ivrs = 2
        'E',  'B',  'D',  'A',  '6',  '8',  'x',  'w',  0,    0,    0, 0, 12, 0, 0, 0, // wx86
        'P',  'l',  'u',  'g',  'i',  'n',  'M',  'a',  'i',  'n',  0, 0};
    // Named types compare without regard to case, as the system loader compares them.
    for (const char* type : {"PiPL", "PIPL", "pipl"}) {
        const std::optional<std::span<const uint8_t>> data = module().find(type, 16000);
        ASSERT_TRUE(data.has_value()) << type;
        EXPECT_EQ(std::vector<uint8_t>(data->begin(), data->end()), expected) << type;
    }
    EXPECT_FALSE(module().find("PiPL", 16000, 1033).has_value());
    EXPECT_FALSE(module().find("PiPL", 16001).has_value());
}

TEST_F(ModuleResourcesTest, PropertyListNamesTheEntryPointTheModuleExports) {
    const PluginPropertyList list = parsePluginPropertyList(module().require("PiPL", 16000));
    EXPECT_EQ(list.signature, 1);
    EXPECT_EQ(list.version, 0u);
    ASSERT_EQ(list.properties.size(), 3u);
    ASSERT_NE(list.find(fourCharCode("kind")), nullptr);
    EXPECT_EQ(list.find(fourCharCode("kind"))->value, (std::vector<uint8_t>{'A', 'E', 'P', 'S'}));
    ASSERT_NE(list.find(fourCharCode("ivrs")), nullptr);
    EXPECT_EQ(list.find(fourCharCode("ivrs"))->value, (std::vector<uint8_t>{2, 0, 0, 0}));
    for (const PluginProperty& property : list.properties) {
        EXPECT_EQ(property.vendor, fourCharCode("ADBE"));
        EXPECT_EQ(property.id, 0u);
    }
    const std::optional<std::string> entry = list.entryPointName();
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(*entry, "PluginMain");

    LoadedModule loaded;
    std::string error;
    ASSERT_TRUE(loaded.open(test::modulePath(), kSPPluginMainName, &error)) << error;
    EXPECT_NE(loaded.entryPoint(), nullptr);
}

TEST_F(ModuleResourcesTest, ErrorListHoldsItsTextsInOrder) {
    const std::vector<std::string> expected = {
        "<Mac strings begin at index 1>",
        "-108",
        "The filter cannot complete because there isn't enough memory (RAM) available.",
        "271",
        "The filter cannot complete because there isn't enough memory (RAM) available.",
        "SEGM",
        "The filter cannot complete because a layer is locked or invisible.",
        "NESS",
        "The filter cannot complete because a path has too many anchor points.",
        "!sel",
        "The selection is not valid for this filter.",
        "<Others>",
        "Unknown error - too many paths created ? by zigzag.."};
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::optional<std::string> text = loadString(module(), static_cast<uint16_t>(16050 + i));
        ASSERT_TRUE(text.has_value()) << 16050 + i;
        EXPECT_EQ(*text, expected[i]) << 16050 + i;
    }
    // The neighbours in the same block are empty (the list ends there); other blocks do not exist.
    EXPECT_EQ(loadString(module(), 16049), "");
    EXPECT_EQ(loadString(module(), 16063), "");
    EXPECT_EQ(loadString(module(), 16064), std::nullopt);
    EXPECT_EQ(loadString(module(), 1), std::nullopt);
}

TEST_F(ModuleResourcesTest, AboutBoxTemplateHasItsOkButtonBelowEightTextLines) {
    const std::optional<DialogTemplate> dialog = loadDialog(module(), 16050);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->caption, "Zigzag - About This Plug-in");
    EXPECT_EQ(dialog->width, 275);
    EXPECT_EQ(dialog->height, 162);
    EXPECT_EQ(dialog->style & kModalDialogStyle, kModalDialogStyle);
    EXPECT_EQ(dialog->fontName, "MS Sans Serif");
    EXPECT_EQ(dialog->fontSize, 8);
    ASSERT_EQ(dialog->items.size(), 9u);
    const DialogItem& ok = dialog->items[0];
    EXPECT_EQ(ok.id, 1);
    EXPECT_EQ(ok.className, "Button");
    EXPECT_EQ(ok.text, "OK");
    EXPECT_EQ(ok.style & 0xF, kDefaultPushButton);
    EXPECT_EQ((std::vector<int>{ok.x, ok.y, ok.width, ok.height}), (std::vector<int>{111, 143, 58, 14}));
    int previousY = 0;
    for (size_t i = 1; i < dialog->items.size(); ++i) {
        const DialogItem& line = dialog->items[i];
        EXPECT_EQ(line.className, "Static") << i;
        EXPECT_EQ(line.x, 4) << i;
        EXPECT_FALSE(line.text.empty()) << i;
        EXPECT_GT(line.y, previousY) << i;
        EXPECT_LE(line.x + line.width, dialog->width) << i;
        EXPECT_LT(line.y + line.height, ok.y) << i; // the text stays above the button
        previousY = line.y;
    }
    EXPECT_EQ(dialog->items[1].y, 4);
}

TEST_F(ModuleResourcesTest, ErrorDialogTemplateHasItsFourItemsInPlace) {
    const std::optional<DialogTemplate> dialog = loadDialog(module(), 16051);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->caption.rfind("Plug-in Error", 0), 0u) << dialog->caption;
    EXPECT_EQ(dialog->width, 185);
    EXPECT_EQ(dialog->height, 92);
    EXPECT_EQ(dialog->style & kModalDialogStyle, kModalDialogStyle);
    EXPECT_EQ(dialog->fontName, "MS Sans Serif");
    EXPECT_EQ(dialog->fontSize, 8);
    ASSERT_EQ(dialog->items.size(), 4u);
    struct Expected {
        int id;
        const char* className;
        const char* text;
        int x, y, width, height;
    };
    const Expected expected[] = {{1, "Button", "OK", 133, 2, 50, 14},
                                 {2, "Static", "Message", 49, 18, 133, 47},
                                 {3, "Static", "Code", 3, 81, 30, 8},
                                 {4, "Static", "", 10, 10, 18, 20}};
    for (size_t i = 0; i < 4; ++i) {
        const DialogItem& item = dialog->items[i];
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.className, expected[i].className);
        EXPECT_EQ(item.text, expected[i].text);
        EXPECT_EQ((std::vector<int>{item.x, item.y, item.width, item.height}),
                  (std::vector<int>{expected[i].x, expected[i].y, expected[i].width, expected[i].height}))
            << "item " << item.id;
    }
    EXPECT_EQ(dialog->items[0].style & 0xF, kDefaultPushButton);
    EXPECT_EQ(dialog->items[3].style & 0x1F, kBlackFrame);
}

TEST_F(ModuleResourcesTest, OptionsDialogTemplateIsEmpty) {
    const std::optional<DialogTemplate> dialog = loadDialog(module(), 16201);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->caption, "Zigzag Tool Options");
    EXPECT_EQ(dialog->width, 182);
    EXPECT_EQ(dialog->height, 206);
    EXPECT_EQ(dialog->style & (kModalDialogStyle | kSetFont), kModalDialogStyle | kSetFont);
    EXPECT_EQ(dialog->fontName, "MS Sans Serif");
    EXPECT_TRUE(dialog->items.empty());
    EXPECT_FALSE(loadDialog(module(), 16200).has_value());
}

TEST_F(ModuleResourcesTest, CursorIsAnOpenCrosshairAroundItsHotSpot) {
    const std::optional<CursorImage> cursor = loadCursor(module(), 16001);
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->hotX, 16);
    EXPECT_EQ(cursor->hotY, 15);
    ASSERT_EQ(cursor->image.width, 32);
    ASSERT_EQ(cursor->image.height, 32);
    EXPECT_EQ(cursor->image.bitCount, 1);
    std::set<std::pair<int, int>> expected;
    for (int d = 2; d <= 5; ++d) {
        expected.insert({16, 15 - d}); // rows 10 to 13
        expected.insert({16, 15 + d}); // rows 17 to 20
        expected.insert({16 - d, 15}); // columns 11 to 14
        expected.insert({16 + d, 15}); // columns 18 to 21
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool arm = expected.count({x, y}) != 0;
            EXPECT_EQ(cursor->isBlack(x, y), arm) << x << "," << y;
            EXPECT_EQ(cursor->image.isTransparent(x, y), !arm) << x << "," << y;
        }
    const std::vector<GroupEntry> group = parseGroup(module().require(kCursorGroupResource, 16001), true);
    ASSERT_EQ(group.size(), 1u);
    EXPECT_EQ(group[0].width, 32);
    EXPECT_EQ(group[0].height, 32);
}

TEST_F(ModuleResourcesTest, IconIsA16ColourZ) {
    const std::vector<GroupEntry> group = parseGroup(module().require(kIconGroupResource, 16051), false);
    ASSERT_EQ(group.size(), 1u);
    EXPECT_EQ(group[0].width, 32);
    EXPECT_EQ(group[0].height, 32);
    EXPECT_EQ(group[0].colourCount, 16);
    EXPECT_EQ(group[0].bitCount, 4);
    const std::optional<IndexedImage> icon = loadIcon(module(), 16051);
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    EXPECT_EQ(icon->bitCount, 4);
    EXPECT_EQ(icon->palette.size(), 16u);
    // A "Z": a top bar and a bottom bar joined by a diagonal from the top right to the bottom left.
    auto rowSpan = [&](int y) {
        int first = -1, last = -1;
        for (int x = 0; x < 32; ++x)
            if (!icon->isTransparent(x, y)) {
                if (first < 0) first = x;
                last = x;
            }
        return std::pair<int, int>(first, last);
    };
    EXPECT_GE(rowSpan(6).second - rowSpan(6).first, 15);   // top bar
    EXPECT_GE(rowSpan(25).second - rowSpan(25).first, 15); // bottom bar
    const auto upper = rowSpan(10);
    const auto lower = rowSpan(21);
    ASSERT_GE(upper.first, 0);
    ASSERT_GE(lower.first, 0);
    EXPECT_LT(upper.second - upper.first, 6); // the diagonal is narrow...
    EXPECT_GT(upper.first, lower.first + 8);  // ...and runs from the right down to the left
    EXPECT_TRUE(icon->isTransparent(0, 0));
    EXPECT_FALSE(loadIcon(module(), 16050).has_value());
}

TEST_F(ModuleResourcesTest, VersionBlockSaysFiveFourDebugDll) {
    const std::span<const uint8_t> data = module().require(kVersionResource, 1);
    // The fixed part starts with its signature 0xFEEF04BD.
    const std::vector<uint8_t> signature = {0xBD, 0x04, 0xEF, 0xFE};
    const auto at = std::search(data.begin(), data.end(), signature.begin(), signature.end());
    ASSERT_NE(at, data.end());
    const size_t fixed = static_cast<size_t>(at - data.begin());
    ASSERT_LE(fixed + 52, data.size());
    auto u32 = [&](size_t offset) {
        return static_cast<uint32_t>(data[fixed + offset]) |
               static_cast<uint32_t>(data[fixed + offset + 1]) << 8 |
               static_cast<uint32_t>(data[fixed + offset + 2]) << 16 |
               static_cast<uint32_t>(data[fixed + offset + 3]) << 24;
    };
    EXPECT_EQ(u32(8), 0x00050004u);  // file version 5.4
    EXPECT_EQ(u32(12), 0x00000000u); // .0.0
    EXPECT_EQ(u32(16), 0x00050004u); // product version
    EXPECT_EQ(u32(24) & 1u, 1u);     // mask covers the debug flag
    EXPECT_EQ(u32(28) & 1u, 1u);     // debug build
    EXPECT_EQ(u32(32), 0x4u);        // 32-bit Windows
    EXPECT_EQ(u32(36), 0x2u);        // dynamic-link library
    auto holds = [&](const std::string& text) {
        std::vector<uint8_t> wide;
        for (char c : text) {
            wide.push_back(static_cast<uint8_t>(c));
            wide.push_back(0);
        }
        return std::search(data.begin(), data.end(), wide.begin(), wide.end()) != data.end();
    };
    for (const char* text :
         {"040904b0", "5, 4, 0, 0", "KT07_Zigzag.aip", "KT07_Zigzag",
          "Zigzag toolbox plugin, creates zigzag paths", "Zigzag toolbox plugin for the vector drawing host"})
        EXPECT_TRUE(holds(text)) << text;
}

TEST_F(ModuleResourcesTest, EverythingIsLanguageNeutralAndNothingIsMissing) {
    std::set<std::pair<std::string, std::string>> seen;
    for (const ResourceEntry& entry : module().list()) {
        EXPECT_EQ(entry.language, kNeutralLanguage)
            << resourceTypeName(entry.type) << " " << entry.name.toString();
        EXPECT_FALSE(entry.data.empty()) << resourceTypeName(entry.type) << " " << entry.name.toString();
        seen.insert({resourceTypeName(entry.type), entry.name.toString()});
    }
    std::set<std::pair<std::string, std::string>> expected = {
        {"\"PIPL\"", "16000"}, {"cursor-group", "16001"}, {"icon-group", "16051"}, {"dialog", "16050"},
        {"dialog", "16051"},   {"dialog", "16201"},       {"string", "1004"},      {"version", "1"}};
    for (int id = 100; id <= 162; ++id)
        expected.insert({"bitmap", std::to_string(id)});
    for (const auto& resource : expected)
        EXPECT_EQ(seen.count(resource), 1u) << resource.first << " " << resource.second;
    size_t images = 0;
    for (const auto& resource : seen)
        images += resource.first == "cursor" || resource.first == "icon";
    EXPECT_EQ(images, 2u); // one image behind each group
    EXPECT_EQ(seen.size(), expected.size() + images);
}

TEST_F(ModuleResourcesTest, ListingShowsEveryResourceWithItsSize) {
    std::ostringstream out, err;
    ASSERT_EQ(listModuleResources(test::modulePath(), out, err), 0) << err.str();
    EXPECT_TRUE(err.str().empty());
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line.substr(0, 4), "TYPE");
    size_t count = 0;
    bool sawPropertyList = false;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string type, number, language, size;
        ASSERT_TRUE(words >> type >> number >> language >> size) << line;
        EXPECT_EQ(language, "1024") << line;
        if (type == "\"PIPL\"") {
            EXPECT_EQ(number, "16000");
            EXPECT_EQ(size, "78");
            sawPropertyList = true;
        }
        ++count;
    }
    EXPECT_TRUE(sawPropertyList);
    EXPECT_EQ(count, module().list().size());
}

} // namespace
} // namespace zz
