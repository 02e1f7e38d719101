// What the workbench adds to the tool's options dialog for its page: captions on the design lists and the
// preset popup, the page button of the page shown held down, and each preset's entry saying what it changes,
// in the words of `zigzag presets`.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "apps/workbench/HostLoop.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

json item(const json& dialog, int32_t id) {
    for (const json& each : dialog["items"])
        if (each["id"] == id) return each;
    return json();
}

// The lines `zigzag presets` prints, by entry id.
std::map<int32_t, std::string> presetsPrinted() {
    std::map<int32_t, std::string> lines;
    const std::string command = "'" + besideExecutable("zigzag") + "' presets";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return lines;
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines[std::stoi(line)] = line;
    }
    pclose(pipe);
    return lines;
}

class WorkbenchDialogNotes : public ::testing::Test {
  protected:
    void SetUp() override {
        Workbench::Options options;
        options.modulePath = test::modulePath();
        options.poll = 10ms;
        loop_ = std::make_unique<HostLoop>(options);
        std::string why;
        ASSERT_TRUE(loop_->start(&why)) << why;
        dialogOpen_ = loop_->submit({{"do", "editOptions"}});
    }
    void TearDown() override {
        if (dialogOpen_.valid()) {
            dialog({{"action", "close"}, {"item", 2}});
            EXPECT_EQ(dialogOpen_.wait_for(5s), std::future_status::ready);
        }
    }

    // The open dialog after `action` (none: as it is).
    json dialog(json action = {{"action", "state"}}) {
        action["do"] = "dialog";
        return json::parse(loop_->request(action.dump()).body)["dialog"];
    }

    std::unique_ptr<HostLoop> loop_;
    std::future<Reply> dialogOpen_;
};

TEST_F(WorkbenchDialogNotes, TheDesignListsAndThePresetPopupHaveCaptionsAndNothingElseHas) {
    const json shown = dialog();
    ASSERT_TRUE(shown.is_object()) << shown;
    EXPECT_EQ(item(shown, 5)["caption"], "Zigzag 1");
    EXPECT_EQ(item(shown, 6)["caption"], "Zigzag 2");
    EXPECT_EQ(item(shown, 3)["caption"], "Preset");
    int captions = 0;
    for (const json& each : shown["items"])
        captions += each.contains("caption") ? 1 : 0;
    EXPECT_EQ(captions, 3);
}

TEST_F(WorkbenchDialogNotes, TheButtonOfThePageShownIsDownAndNamedByTheLabelUnderIt) {
    const auto pressed = [](const json& shown) {
        std::vector<int32_t> down;
        for (int32_t button = 300; button <= 306; ++button) {
            const json each = item(shown, button);
            EXPECT_EQ(each["labelledBy"], button + 7);
            if (each.value("pressed", false)) down.push_back(button);
        }
        return down;
    };
    EXPECT_EQ(pressed(dialog()), std::vector<int32_t>{300}) << "a first opening shows the first page";
    EXPECT_EQ(pressed(dialog({{"action", "click"}, {"item", 304}})), std::vector<int32_t>{304});
    EXPECT_EQ(pressed(dialog({{"action", "click"}, {"item", 304}})), std::vector<int32_t>{304})
        << "the button of the page shown stays down";
    EXPECT_FALSE(item(dialog(), 1).contains("pressed")) << "OK is no page button";
}

TEST_F(WorkbenchDialogNotes, EachPresetSaysOnItsEntryWhatZigzagPresetsPrintsForIt) {
    const std::map<int32_t, std::string> printed = presetsPrinted();
    const json entries = item(dialog(), 3)["entries"];
    ASSERT_EQ(entries.size(), 37u);
    ASSERT_EQ(printed.size(), 37u);
    for (const json& entry : entries) {
        const int32_t id = entry["id"].get<int32_t>();
        ASSERT_TRUE(entry.contains("hint")) << entry;
        EXPECT_EQ(std::to_string(id) + " \"" + entry["text"].get<std::string>() +
                      "\": " + entry["hint"].get<std::string>(),
                  printed.at(id));
    }
    EXPECT_NE(entries[36]["hint"].get<std::string>().find("weavePlaceMode 0 -> 2"), std::string::npos);
    const json designList = item(dialog(), 5);
    for (const json& entry : designList["entries"])
        EXPECT_FALSE(entry.contains("hint")) << "the design lists' entries are no presets";
}

// The notes go only where the dialog holds what they were written for: another module's dialog with the
// same ids is shown as it is.
TEST(WorkbenchDialogNotesOnOtherDialogs, AnItemOfAnotherKindOrAnEntryOfAnotherTextGetsNoNote) {
    DialogNotes notes;
    notes.captions = {{3, "popup", "Preset"}};
    notes.pageButtons = {{300, 307}};
    notes.hints = {{3, 1, " Preset 001", "zigzagElements 10 -> 20"}};
    json other = {{"items",
                   {{{"id", 3}, {"kind", "list"}, {"entries", {{{"id", 1}, {"text", " Preset 001"}}}}},
                    {{"id", 300}, {"kind", "button"}},
                    {{"id", 307}, {"kind", "spin"}, {"bold", true}}}}};
    const json before = other;
    annotateDialog(other, notes);
    EXPECT_EQ(other, before);

    json renamed = {
        {"items", {{{"id", 3}, {"kind", "popup"}, {"entries", {{{"id", 1}, {"text", " Preset 1"}}}}}}}};
    annotateDialog(renamed, notes);
    EXPECT_EQ(item(renamed, 3)["caption"], "Preset");
    EXPECT_FALSE(item(renamed, 3)["entries"][0].contains("hint"));
}

} // namespace
} // namespace zz
