// The 63 design thumbnails of the built module: their format, and that each one draws its design.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plugin/designs/DesignTemplates.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"
#include "plugin/tools/ThumbnailLayout.h"
#include "tests/ResourceTestSupport.h"

namespace zz {
namespace {

struct Point {
    float x, y;
};

// The design's polyline in thumbnail pixels.
std::vector<Point> designInPixels(const std::vector<float>& points) {
    std::vector<Point> result;
    for (size_t i = 0; i + 1 < points.size(); i += 2)
        result.push_back({thumbnailPosition(points[i]), thumbnailPosition(points[i + 1])});
    return result;
}

std::vector<float> designPoints(int index) {
    const DesignTemplate* design = designTemplateAt(index);
    return std::vector<float>(design->points, design->points + 2 * design->pointCount);
}

float distanceToSegment(Point p, Point a, Point b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0.0f;
    t = std::fmax(0.0f, std::fmin(1.0f, t));
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

float distanceToPolyline(Point p, const std::vector<Point>& line) {
    float best = distanceToSegment(p, line[0], line[0]);
    for (size_t i = 0; i + 1 < line.size(); ++i)
        best = std::fmin(best, distanceToSegment(p, line[i], line[i + 1]));
    return best;
}

bool isBlack(const IndexedImage& image, int x, int y) {
    return image.colour(x, y) == 0x000000;
}

// Why `image` is not a drawing of the polyline `points` (template coordinates), or "" when it is: every black
// pixel lies on the line (within a pixel) and the line is drawn along its whole length without gaps.
std::string mismatch(const IndexedImage& image, const std::vector<float>& points) {
    const std::vector<Point> line = designInPixels(points);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (isBlack(image, x, y) &&
                distanceToPolyline({static_cast<float>(x), static_cast<float>(y)}, line) > 1.0f)
                return "black pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") off the design";
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const float length = std::hypot(line[i + 1].x - line[i].x, line[i + 1].y - line[i].y);
        const int steps = std::max(1, static_cast<int>(length * 4));
        for (int s = 0; s <= steps; ++s) {
            const float t = static_cast<float>(s) / static_cast<float>(steps);
            const int px = static_cast<int>(std::lround(line[i].x + t * (line[i + 1].x - line[i].x)));
            const int py = static_cast<int>(std::lround(line[i].y + t * (line[i + 1].y - line[i].y)));
            bool covered = false;
            for (int dy = -1; dy <= 1 && !covered; ++dy)
                for (int dx = -1; dx <= 1 && !covered; ++dx) {
                    const int x = px + dx, y = py + dy;
                    covered = x >= 0 && y >= 0 && x < image.width && y < image.height && isBlack(image, x, y);
                }
            if (!covered)
                return "segment " + std::to_string(i) + " not drawn near (" + std::to_string(px) + ", " +
                       std::to_string(py) + ")";
        }
    }
    return "";
}

class ThumbnailTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        thumbnails_ = new std::vector<IndexedImage>();
        try {
            const ModuleResources module = ModuleResources::openFile(test::modulePath());
            for (int k = 0; k < kThumbnailCount; ++k) {
                std::optional<IndexedImage> image =
                    loadBitmap(module, static_cast<uint16_t>(kFirstThumbnailId + k));
                if (!image)
                    throw ResourceError("bitmap " + std::to_string(kFirstThumbnailId + k) + " is missing");
                thumbnails_->push_back(std::move(*image));
            }
            moduleHasOthers_ = loadBitmap(module, 99).has_value() || loadBitmap(module, 163).has_value();
        } catch (const ResourceError& error) {
            loadError_ = error.what();
        }
    }
    static void TearDownTestSuite() {
        delete thumbnails_;
        thumbnails_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(loadError_, ""); }
    static const IndexedImage& thumbnail(int design) { return (*thumbnails_)[static_cast<size_t>(design)]; }

    static std::vector<IndexedImage>* thumbnails_;
    static bool moduleHasOthers_;
    static std::string loadError_;
};

std::vector<IndexedImage>* ThumbnailTest::thumbnails_ = nullptr;
bool ThumbnailTest::moduleHasOthers_ = false;
std::string ThumbnailTest::loadError_;

TEST_F(ThumbnailTest, EveryThumbnailIs48By48With16ColoursUncompressed) {
    ASSERT_EQ(thumbnails_->size(), 63u);
    EXPECT_FALSE(moduleHasOthers_);
    for (int k = 0; k < kThumbnailCount; ++k) {
        const IndexedImage& image = thumbnail(k);
        EXPECT_EQ(image.width, 48) << k;
        EXPECT_EQ(image.height, 48) << k;
        EXPECT_EQ(image.bitCount, 4) << k;
        EXPECT_EQ(image.compression, 0u) << k;
        EXPECT_EQ(image.palette.size(), 16u) << k;
        int black = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const uint32_t colour = image.colour(x, y);
                EXPECT_TRUE(colour == 0x000000 || colour == 0xFFFFFF) << k << ": " << x << "," << y;
                black += colour == 0x000000;
            }
        EXPECT_GT(black, 20) << k;
    }
}

TEST_F(ThumbnailTest, ArrowThumbnailShowsDesignZero) {
    const IndexedImage& arrow = thumbnail(0);
    EXPECT_EQ(mismatch(arrow, designPoints(0)), "");
    // The arrow's three corners: top left, middle right, bottom left.
    EXPECT_TRUE(isBlack(arrow, thumbnailPixel(0.0f), thumbnailPixel(0.0f)));
    EXPECT_TRUE(isBlack(arrow, thumbnailPixel(1.0f), thumbnailPixel(0.5f)));
    EXPECT_TRUE(isBlack(arrow, thumbnailPixel(0.0f), thumbnailPixel(1.0f)));
    EXPECT_FALSE(isBlack(arrow, thumbnailPixel(1.0f), thumbnailPixel(0.0f)));
    EXPECT_FALSE(isBlack(arrow, thumbnailPixel(0.5f), thumbnailPixel(0.5f)));
}

TEST_F(ThumbnailTest, EveryThumbnailDrawsItsOwnDesign) {
    for (int k = 0; k < kThumbnailCount; ++k)
        EXPECT_EQ(mismatch(thumbnail(k), designPoints(k)), "") << "design " << k;
}

TEST_F(ThumbnailTest, AChangedDesignNoLongerMatchesItsPicture) {
    // The check above would notice a design that changed without its picture: move the arrow's tip, or put
    // another design's points in its place.
    std::vector<float> changed = designPoints(0);
    changed[2] = 0.5f;
    EXPECT_NE(mismatch(thumbnail(0), changed), "");
    std::vector<float> tipMoved = designPoints(0);
    tipMoved[3] = 0.3f;
    EXPECT_NE(mismatch(thumbnail(0), tipMoved), "");
    EXPECT_NE(mismatch(thumbnail(0), designPoints(47)), "");
    EXPECT_NE(mismatch(thumbnail(47), designPoints(0)), "");
}

TEST_F(ThumbnailTest, ZigzagDesignsHaveDistinctPictures) {
    for (int a = 0; a < 60; ++a)
        for (int b = a + 1; b < 60; ++b)
            EXPECT_NE(thumbnail(a).pixels, thumbnail(b).pixels) << a << " and " << b;
}

TEST_F(ThumbnailTest, BlankDesignsShowOneVerticalLine) {
    for (int k = 60; k <= 62; ++k) {
        const IndexedImage& image = thumbnail(k);
        int column = -1;
        int top = 48, bottom = -1, count = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                if (isBlack(image, x, y)) {
                    if (column < 0) column = x;
                    EXPECT_EQ(x, column) << "bitmap " << 100 + k << " at " << x << "," << y;
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    ++count;
                }
        EXPECT_EQ(count, bottom - top + 1) << "bitmap " << 100 + k << " has a gap";
        EXPECT_EQ(top, thumbnailPixel(0.0f)) << k;
        EXPECT_EQ(bottom, thumbnailPixel(1.0f)) << k;
    }
    EXPECT_EQ(thumbnail(60).pixels, thumbnail(62).pixels); // both lie on the left edge
    EXPECT_NE(thumbnail(60).pixels, thumbnail(61).pixels); // 61 lies on the right
}

} // namespace
} // namespace zz
