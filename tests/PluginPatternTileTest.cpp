// The pattern tile's copies, their order, tags and the statuses it returns, against the fake suites. Where
// the copies land is shown end to end through the real host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PluginFakeSuites.h"
#include "PluginGenerationFixture.h"
#include "plugin/finish/PatternTile.h"
#include "plugin/settings/ToolSettings.h"

namespace {

using pluginfakes::fake;
using pluginfakes::logOf;
using Log = std::vector<std::string>;

constexpr SPErr kInjected = ZZ_FOURCC('F', 'A', 'I', 'L');

class PluginPatternTile : public pluginfakes::GenerationFixture {
  protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        art = pluginfakes::addPath({{0.0f, 0.0f}, {10.0f, -10.0f}});
    }
    SPErr tile(int32_t placeBelow = 0) { return makePatternTile(art, placeBelow, 20.0f, 30.0f); }
    AIArtHandle art = nullptr;
};

TEST_F(PluginPatternTile, ThreeCopiesMovedThenEachFlippedAboutItsNewCentre) {
    ASSERT_EQ(tile(), kSPNoError);
    const Log expected = {// H: copied, its centre read once for all three moves
                          "duplicate 1 order 5", "bounds 2", "type 2", "tag 2 multi-tool",
                          "transform 2 flags 1",
                          // P and V: copied and moved
                          "duplicate 1 order 5", "type 3", "tag 3 multi-tool", "transform 3 flags 1",
                          "duplicate 1 order 5", "type 4", "tag 4 multi-tool", "transform 4 flags 1",
                          // flips of H, P, V, each about its own centre read afresh
                          "bounds 2", "type 2", "tag 2 multi-tool", "transform 2 flags 1", "bounds 3",
                          "type 3", "tag 3 multi-tool", "transform 3 flags 1", "bounds 4", "type 4",
                          "tag 4 multi-tool", "transform 4 flags 1"};
    EXPECT_EQ(logOf({"duplicate", "bounds", "type", "tag", "transform"}), expected);
    // Moves are out to the centre, back, then the move; flips out, the scale, back.
    const Log scales = {"matrix scale -1 1", "matrix scale -1 -1", "matrix scale 1 -1"};
    EXPECT_EQ(logOf({"matrix scale"}), scales);
    for (size_t copy = 1; copy <= 3; ++copy) {
        EXPECT_EQ(fake.paths[copy].copyOf, 0);
        EXPECT_EQ(fake.paths[copy].reference, 0);
        EXPECT_EQ(fake.paths[copy].tags.at(kPatternTileTag), kPatternTileTag);
    }
    EXPECT_TRUE(fake.paths[0].tags.empty());
    EXPECT_EQ(fake.paths.size(), 4u);
}

TEST_F(PluginPatternTile, PlaceBelowPutsEveryCopyBeneathAllArt) {
    ASSERT_EQ(tile(7), kSPNoError);
    EXPECT_EQ(logOf({"duplicate"}), Log(3, "duplicate 1 order 6"));
}

TEST_F(PluginPatternTile, CompoundPathCopiesAreTransformedChildByChild) {
    art = pluginfakes::addCompoundPath({{{0.0f, 0.0f}, {4.0f, 4.0f}}, {{6.0f, 6.0f}, {10.0f, 10.0f}}});
    const size_t compound = pluginfakes::artIndex(art);
    ASSERT_EQ(tile(), kSPNoError);
    // Each copy of the compound path is followed by copies of its two children.
    const size_t h = compound + 3, p = h + 3, v = p + 3;
    for (size_t copy : {h, p, v}) {
        const pluginfakes::FakePath& path = fake.paths.at(copy);
        EXPECT_EQ(path.type, kCompoundPathArt);
        EXPECT_TRUE(path.tags.empty()) << copy;
        ASSERT_EQ(path.children.size(), 2u);
        for (size_t child : path.children)
            EXPECT_EQ(fake.paths[child].tags.at(kPatternTileTag), kPatternTileTag) << child;
    }
    std::vector<size_t> transformed;
    for (const auto& transform : fake.transforms)
        transformed.push_back(transform.art);
    const std::vector<size_t> children = {h + 1, h + 2, p + 1, p + 2, v + 1, v + 2};
    std::vector<size_t> twice = children;
    twice.insert(twice.end(), children.begin(), children.end());
    EXPECT_EQ(transformed, twice);
    EXPECT_EQ(logOf({"child", "sibling"}).front(), "child " + std::to_string(h + 1));
    EXPECT_EQ(logOf({"child", "sibling"}).size(), 3u * 2u * 3u); // child, sibling, sibling per walk
    EXPECT_TRUE(fake.paths[compound].tags.empty());
}

TEST_F(PluginPatternTile, RefusedTagsAndArtTypeAreIgnored) {
    for (const char* operation : {"tag", "type"})
        for (int call = 1; call <= 6; ++call) {
            SetUp();
            pluginfakes::failCall(operation, call, kInjected);
            EXPECT_EQ(tile(), kSPNoError) << operation << " " << call;
            EXPECT_EQ(fake.transforms.size(), 6u) << operation << " " << call;
        }
}

TEST_F(PluginPatternTile, FirstFailingCallEndsTheTileWithItsStatus) {
    struct Row {
        const char* operation;
        int call;
        bool compound;
        size_t copies; // made before the failure, and kept
        size_t transforms;
    };
    const Row rows[] = {
        {"duplicate", 1, false, 0, 0}, {"duplicate", 2, false, 1, 1}, {"duplicate", 3, false, 2, 2},
        {"bounds", 1, false, 1, 0},    {"bounds", 2, false, 3, 3},    {"bounds", 4, false, 3, 5},
        {"transform", 1, false, 1, 0}, {"transform", 4, false, 3, 3}, {"transform", 6, false, 3, 5},
        {"child", 1, true, 1, 0},      {"child", 4, true, 3, 6},      {"sibling", 1, true, 1, 1},
        {"sibling", 2, true, 1, 2},    {"transform", 2, true, 1, 1}};
    for (const Row& row : rows) {
        SetUp();
        if (row.compound) art = pluginfakes::addCompoundPath({{{0.0f, 0.0f}, {4.0f, 4.0f}}, {{6.0f, 6.0f}}});
        pluginfakes::failCall(row.operation, row.call, kInjected);
        const std::string what = std::string(row.operation) + " " + std::to_string(row.call);
        EXPECT_EQ(tile(), kInjected) << what;
        EXPECT_EQ(fake.log.back().rfind(row.operation, 0), 0u) << what;
        size_t copies = 0;
        for (const auto& path : fake.paths)
            copies += path.copyOf == static_cast<long>(pluginfakes::artIndex(art)) ? 1 : 0;
        EXPECT_EQ(copies, row.copies) << what;
        EXPECT_EQ(fake.transforms.size(), row.transforms) << what;
    }
}

} // namespace
