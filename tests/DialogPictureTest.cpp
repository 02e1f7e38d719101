// Pictures of the options dialog drawn from the host's dialog model: what a page shows, what it hides, and
// a picture other programs can render.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "host/resources/ModuleResources.h"
#include "apps/script/DialogPicture.h"
#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// The first dialog a script opens, as the session left it.
json shownView(const std::string& script) {
    SessionError error;
    const std::optional<SessionOutcome> outcome =
        playSession(json::parse(script), sessiontest::modulePath(), &error);
    EXPECT_TRUE(outcome.has_value()) << error.message;
    if (!outcome || outcome->dialogs.empty()) return json::object();
    return outcome->dialogs.front();
}

const char* const kReflectPage =
    R"({"events":[{"do":"startup"},{"do":"editOptions","actions":[{"item":302,"click":true}]}]})";

// The options dialog after a user showed page 3 (its button is item 302).
json reflectPage() {
    return shownView(kReflectPage);
}

BitmapSource moduleBitmaps(const ModuleResources& resources) {
    return [&resources](int32_t id) -> std::optional<std::vector<uint8_t>> {
        const auto data = resources.find(kBitmapResource, static_cast<uint16_t>(id));
        if (!data) return std::nullopt;
        return std::vector<uint8_t>(data->begin(), data->end());
    };
}

const BitmapSource kNoBitmaps = [](int32_t) { return std::optional<std::vector<uint8_t>>(); };

TEST(DialogPicture, APageShowsItsOwnItemsWithTheirValuesAndHidesTheOthers) {
    const std::string svg = dialogPictureSvg(reflectPage(), kNoBitmaps);
    EXPECT_NE(svg.find(">Number of reflections</text>"), std::string::npos);
    EXPECT_NE(svg.find("font-weight=\"bold\" xml:space=\"preserve\">Reflect</text>"), std::string::npos);
    EXPECT_NE(svg.find(">Zigzag</text>"), std::string::npos); // the other pages' buttons stay, not bold
    EXPECT_EQ(svg.find("font-weight=\"bold\" xml:space=\"preserve\">Zigzag</text>"), std::string::npos);
    EXPECT_EQ(svg.find(">Zigzag elements</text>"), std::string::npos); // page 1's field is hidden
    EXPECT_EQ(svg.find("data-item=\"4\""), std::string::npos);
    EXPECT_NE(svg.find(">180.00</text>"), std::string::npos); // a spin edit shows its value with its decimals
    EXPECT_NE(svg.find(" -- Reset -- "), std::string::npos);  // the preset popup's active entry
}

TEST(DialogPicture, DisabledItemsAreGreyedAndListsShowTheirThumbnails) {
    const json style = shownView(
        R"({"events":[{"do":"startup"},{"do":"editOptions","actions":[{"item":304,"click":true}]}]})");
    const std::string styleSvg = dialogPictureSvg(style, kNoBitmaps);
    EXPECT_NE(styleSvg.find("opacity=\"0.4\""),
              std::string::npos); // the swatch fields of an ignored colour mode

    const json zigzag = shownView(R"({"events":[{"do":"startup"},{"do":"editOptions"}]})");
    const ModuleResources resources = ModuleResources::openFile(sessiontest::modulePath());
    const std::string svg = dialogPictureSvg(zigzag, moduleBitmaps(resources));
    EXPECT_NE(svg.find("href=\"data:image/bmp;base64,Qk"), std::string::npos); // "BM", a whole .bmp file
    EXPECT_NE(svg.find("Zigzag - Arrow (01)"), std::string::npos);
}

// The view the picture draws and the report's last snapshot are two records of one dialog: every item the
// report keeps stands in the view at the same place, with the same text, visibility and enabling.
TEST(DialogPicture, TheViewAgreesWithTheReportsLastSnapshot) {
    const json view = reflectPage();
    const ordered_json report = sessiontest::run(kReflectPage);
    const ordered_json& items = report["dialogs"][0]["snapshots"].back()["items"];
    std::map<std::string, const json*> viewed; // "ID", "ID#2", ... as the report names items sharing an id
    std::map<int32_t, int> seen;
    for (const json& item : view["items"]) {
        const int32_t id = item["id"].get<int32_t>();
        const int n = ++seen[id];
        viewed[std::to_string(id) + (n > 1 ? "#" + std::to_string(n) : "")] = &item;
    }
    ASSERT_EQ(viewed.size(), items.size());
    for (const auto& [key, item] : items.items()) {
        ASSERT_TRUE(viewed.count(key)) << key;
        const json& shown = *viewed[key];
        EXPECT_EQ(shown["rect"], json(item["rect"])) << key;
        EXPECT_EQ(shown["visible"], json(item["visible"])) << key;
        EXPECT_EQ(shown["enabled"], json(item["enabled"])) << key;
        EXPECT_EQ(shown["text"], json(item.contains("activeText") ? item["activeText"] : item["text"]))
            << key;
    }
    EXPECT_EQ(view["name"], json(report["dialogs"][0]["name"]));
}

TEST(DialogPicture, ABitmapBecomesAFileWhosePixelsFollowItsPalette) {
    std::vector<uint8_t> dib(40 + 16 * 4 + 8, 0);
    dib[0] = 40; // header size
    dib[14] = 4; // bits per pixel: a 16-colour palette follows the header
    const std::optional<std::vector<uint8_t>> file = bmpFileOf(dib);
    ASSERT_TRUE(file.has_value());
    ASSERT_EQ(file->size(), 14 + dib.size());
    EXPECT_EQ((*file)[0], 'B');
    EXPECT_EQ((*file)[1], 'M');
    EXPECT_EQ((*file)[2], 14 + dib.size());
    EXPECT_EQ((*file)[10], 14 + 40 + 64); // the pixels' offset

    EXPECT_FALSE(bmpFileOf(std::vector<uint8_t>(39, 0)).has_value());
    std::vector<uint8_t> lying(40, 0);
    lying[0] = 200; // a header larger than the bitmap
    EXPECT_FALSE(bmpFileOf(lying).has_value());
}

#if !defined(_WIN32)
TEST(DialogPicture, TheCommandDrawsEveryPageAsAPictureRsvgConvertRenders) {
    test::ScratchDir dir;
    for (int page = 1; page <= 7; ++page) {
        const std::string svg = dir.file("page" + std::to_string(page) + ".svg");
        ASSERT_EQ(test::runZigzag("dialog --page " + std::to_string(page) + " --preset 9 -o '" + svg + "'"),
                  0);
        if (test::haveRsvgConvert()) {
            const std::string command = "rsvg-convert -o '" + dir.file("page.png") + "' '" + svg + "'";
            EXPECT_EQ(std::system(command.c_str()), 0) << svg;
        }
    }
    EXPECT_EQ(test::runZigzag("dialog --page 8 -o '" + dir.file("x.svg") + "'"), 2);
    EXPECT_EQ(test::runZigzag("dialog -o '" + dir.file("x.svg") + "'"), 2);
    EXPECT_EQ(test::runZigzag("dialog --page 1 --preset 99 -o '" + dir.file("x.svg") + "'"), 1);
}

// The dialog opens in a document with swatches, so the swatch index fields (page 5) show the record's index
// 2; in a document without swatches their range cuts it to 0.
TEST(DialogPicture, TheSwatchFieldsShowTheRecordsIndexInTheCommandsDocument) {
    test::ScratchDir dir;
    auto twos = [&](const std::string& options) {
        const std::string svg = dir.file("page5.svg");
        EXPECT_EQ(test::runZigzag("dialog --page 5 " + options + " -o '" + svg + "'"), 0) << options;
        const std::string text = test::readFile(svg);
        size_t count = 0;
        for (size_t at = text.find(">2</text>"); at != std::string::npos; at = text.find(">2</text>", at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(twos(""), twos("--swatches 0") + 2);
    EXPECT_EQ(twos("--document '{\"swatches\": 1}'"), twos("--swatches 0"));
    EXPECT_EQ(test::runZigzag("dialog --page 5 --swatches x -o '" + dir.file("x.svg") + "'"), 2);
    EXPECT_EQ(test::runZigzag("dialog --page 5 --color-model hsv -o '" + dir.file("x.svg") + "'"), 2);
}
#endif

} // namespace
} // namespace zz
