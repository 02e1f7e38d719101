// Exports a designer downloads: the page or all the art, as SVG, as a PNG of some pixels a point on white or
// transparent, or as a PDF of the page's size in points; made by rsvg-convert within limits of pixels and
// time (a fake converter stands in to show the limits), and named after the document.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/stat.h>
#include <zlib.h>

#include "host/document/SvgExport.h"
#include "apps/workbench/Export.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using namespace std::chrono_literals;
using Format = ExportSettings::Format;
using Area = ExportSettings::Area;

using Pixel = std::array<uint8_t, 4>;
constexpr Pixel kWhite{255, 255, 255, 255};

// An 8-bit RGB or RGBA PNG as RGBA pixels, rows from the top; width 0 when it is not one.
struct Picture {
    uint32_t width = 0, height = 0;
    std::vector<Pixel> pixels;
    Pixel at(uint32_t x, uint32_t y) const { return pixels[size_t{y} * width + x]; }
    bool inked(uint32_t x, uint32_t y) const { return at(x, y)[3] != 0 && at(x, y) != kWhite; }
};

uint32_t bigEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

Picture decodePng(const std::string& png) {
    Picture picture;
    std::string packed;
    uint32_t channels = 0;
    for (size_t at = 8; at + 8 <= png.size();) {
        const uint32_t length = bigEndian(png, at);
        const std::string type = png.substr(at + 4, 4);
        if (type == "IHDR") {
            picture.width = bigEndian(png, at + 8);
            picture.height = bigEndian(png, at + 12);
            const int depth = png[at + 16], colour = png[at + 17], interlace = png[at + 20];
            if (depth != 8 || (colour != 2 && colour != 6) || interlace != 0) return {};
            channels = colour == 6 ? 4 : 3;
        } else if (type == "IDAT") {
            packed += png.substr(at + 8, length);
        }
        at += 12 + size_t{length};
    }
    const size_t stride = size_t{picture.width} * channels;
    std::vector<uint8_t> raw(picture.height * (stride + 1));
    uLongf rawSize = raw.size();
    if (channels == 0 ||
        uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(packed.data()), packed.size()) !=
            Z_OK ||
        rawSize != raw.size())
        return {};
    std::vector<uint8_t> previous(stride, 0), row(stride);
    for (uint32_t y = 0; y < picture.height; ++y) {
        const uint8_t* line = &raw[y * (stride + 1)];
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= channels ? row[i - channels] : 0, b = previous[i],
                      c = i >= channels ? previous[i - channels] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const int predictors[] = {0, a, b, (a + b) / 2, paeth};
            row[i] = static_cast<uint8_t>(line[1 + i] + predictors[line[0] <= 4 ? line[0] : 0]);
        }
        for (uint32_t x = 0; x < picture.width; ++x)
            picture.pixels.push_back({row[x * channels], row[x * channels + 1], row[x * channels + 2],
                                      channels == 4 ? row[x * channels + 3] : uint8_t{255}});
        previous = row;
    }
    return picture;
}

ArtId strokedPath(Document& document, std::vector<AIPathSegment> segments, AIReal width, int32_t cap = 0) {
    ArtId id = 0;
    EXPECT_EQ(document.newArt(kPathArt, kPlaceAboveAll, 0, &id), DocStatus::ok);
    EXPECT_EQ(document.setSegments(id, 0, static_cast<int32_t>(segments.size()), segments.data()),
              DocStatus::ok);
    AIPathStyle style{};
    style.strokePaint = true;
    style.stroke.color = AIColor{kThreeColor, {1.0f, 0.0f, 0.0f}};
    style.stroke.width = width;
    style.stroke.cap = cap; // the join stays a miter
    EXPECT_EQ(document.setPathStyle(id, style), DocStatus::ok);
    return id;
}

ExportSettings settingsOf(std::string_view format, std::string_view query) {
    std::string why;
    const std::optional<ExportSettings> settings = parseExportSettings(format, query, &why);
    EXPECT_TRUE(settings) << why;
    return settings.value_or(ExportSettings{});
}

Reply exported(const Document& document, const ExportSettings& settings, const ConvertLimits& limits = {}) {
    std::string why;
    const std::optional<std::string> svg = exportSvgText(document, settings, &why);
    if (!svg) return Reply::error(409, why);
    return convertExport(*svg, settings, limits);
}

// A converter of our own in a scratch folder: `body` runs under /bin/sh.
std::string fakeConverter(const test::ScratchDir& scratch, const std::string& body) {
    const std::string path = scratch.file("fake-converter");
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

// Gone, or a zombie waiting for init: nothing that still runs.
bool ended(const std::string& pidFile) {
    const std::string pid = test::readFile(pidFile);
    if (pid.empty()) return false;
    const std::string stat = test::readFile("/proc/" + std::to_string(std::stoi(pid)) + "/stat");
    return stat.empty() || stat.find(") Z ") != std::string::npos;
}

TEST(WorkbenchExport, PdfIsThePagesSizeInPoints) {
    if (!test::haveRsvgConvert()) GTEST_SKIP() << "rsvg-convert is not installed";
    Document letter; // 612 x 792 points
    strokedPath(letter, {test::corner(100, 100), test::corner(500, 700)}, 4.0f);
    const ExportSettings pdf = settingsOf("pdf", "");
    std::string why;
    EXPECT_EQ(exportSvgText(letter, pdf, &why), svgText(letter)); // the page: the document's own SVG
    const Reply reply = exported(letter, pdf);
    ASSERT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(reply.contentType, "application/pdf");
    std::smatch box;
    ASSERT_TRUE(std::regex_search(reply.body, box, std::regex(R"(/MediaBox\s*\[\s*0 0 (\S+) (\S+)\s*\])")));
    EXPECT_EQ(std::stod(box[1]), 612.0);
    EXPECT_EQ(std::stod(box[2]), 792.0);
}

TEST(WorkbenchExport, PngHasScalePixelsAPointOnWhiteUnlessTransparent) {
    if (!test::haveRsvgConvert()) GTEST_SKIP() << "rsvg-convert is not installed";
    Document letter;
    strokedPath(letter, {test::corner(50, 692), test::corner(150, 692)}, 10.0f); // 100 points from the top

    const Reply white = exported(letter, settingsOf("png", "scale=2"));
    ASSERT_EQ(white.status, 200) << white.body;
    EXPECT_EQ(white.contentType, "image/png");
    const Picture opaque = decodePng(white.body);
    ASSERT_EQ(opaque.width, 1224u);
    ASSERT_EQ(opaque.height, 1584u);
    EXPECT_EQ(opaque.at(0, 0), kWhite);
    EXPECT_EQ(opaque.at(200, 200), (Pixel{255, 0, 0, 255})); // (100, 100) points down from the top left

    const Picture clear =
        decodePng(exported(letter, settingsOf("png", "background=transparent&scale=2")).body);
    ASSERT_EQ(clear.width, 1224u);
    EXPECT_EQ(clear.at(0, 0)[3], 0);
    EXPECT_EQ(clear.at(200, 200), (Pixel{255, 0, 0, 255}));
}

TEST(WorkbenchExport, ArtAreaHoldsArtOffThePageWithAllItsPaint) {
    if (!test::haveRsvgConvert()) GTEST_SKIP() << "rsvg-convert is not installed";
    Document document;
    // Off the page to the left: a spike pointing left, whose miter reaches 11 points past its tip; off to the
    // top right: a thick line with square caps.
    strokedPath(document, {test::corner(-80, 100), test::corner(-200, 160), test::corner(-80, 220)}, 10.0f);
    strokedPath(document, {test::corner(700, 900), test::corner(800, 1000)}, 30.0f, 2);

    const auto inkAndBorder = [](const Picture& picture, bool* inked, bool* border) {
        for (uint32_t y = 0; y < picture.height; ++y)
            for (uint32_t x = 0; x < picture.width; ++x) {
                if (!picture.inked(x, y)) continue;
                *inked = true;
                if (x == 0 || y == 0 || x + 1 == picture.width || y + 1 == picture.height) *border = true;
            }
    };
    bool inked = false, border = false;
    const Picture page = decodePng(exported(document, settingsOf("png", "")).body);
    ASSERT_EQ(page.width, 612u);
    inkAndBorder(page, &inked, &border);
    EXPECT_FALSE(inked); // all of it is off the page

    const Picture art = decodePng(exported(document, settingsOf("png", "area=art")).body);
    EXPECT_GT(art.width, 1000u); // from x -200 to 800 and more
    inkAndBorder(art, &inked, &border);
    EXPECT_TRUE(inked);
    EXPECT_FALSE(border); // nothing cut at the edges

    std::string why;
    const Document empty;
    EXPECT_FALSE(exportSvgText(empty, settingsOf("svg", "area=art"), &why));
    EXPECT_NE(why.find("no art"), std::string::npos) << why;
    strokedPath(document, {test::corner(0, 0), test::corner(std::nanf(""), 1)}, 1.0f);
    EXPECT_FALSE(exportSvgText(document, settingsOf("svg", "area=art"), &why));
    EXPECT_NE(why.find("non-finite"), std::string::npos) << why;
}

TEST(WorkbenchExport, TooManyPixelsAreRefusedBeforeTheConverterRunsAndItsFailuresAreReported) {
    test::ScratchDir scratch;
    const std::string marker = scratch.file("ran");
    ConvertLimits limits;
    limits.maxPixels = 1000000;
    limits.program = fakeConverter(scratch, "touch '" + marker + "'\necho 'no picture today' >&2\nexit 3");
    Document letter;

    const Reply large = exported(letter, settingsOf("png", "scale=2"), limits); // 1224 x 1584
    EXPECT_EQ(large.status, 413);
    EXPECT_NE(large.body.find("1224 x 1584"), std::string::npos) << large.body;
    EXPECT_NE(large.body.find("smaller scale (at most 1.43)"), std::string::npos) << large.body;
    EXPECT_FALSE(std::filesystem::exists(marker));

    const Reply failed = exported(letter, settingsOf("png", "scale=1"), limits); // 612 x 792 fits
    EXPECT_TRUE(std::filesystem::exists(marker));
    EXPECT_EQ(failed.status, 500);
    EXPECT_NE(failed.body.find("exit status 3: no picture today"), std::string::npos) << failed.body;

    limits.program = scratch.file("no-such-converter");
    const Reply missing = exported(letter, settingsOf("pdf", ""), limits);
    EXPECT_EQ(missing.status, 500);
    EXPECT_NE(missing.body.find("could not be started"), std::string::npos) << missing.body;
}

TEST(WorkbenchExport, AConverterPastItsTimeIsKilledWithWhatItStarted) {
    test::ScratchDir scratch;
    ConvertLimits limits;
    limits.maxTime = 300ms;
    limits.program =
        fakeConverter(scratch, "echo $$ > '" + scratch.file("shell") + "'\nsleep 30 &\necho $! > '" +
                                   scratch.file("sleep") + "'\nwait");
    const auto start = std::chrono::steady_clock::now();
    const Reply reply = exported(Document{}, settingsOf("pdf", ""), limits);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(reply.status, 504);
    EXPECT_NE(reply.body.find("was stopped after"), std::string::npos) << reply.body;
    EXPECT_TRUE(ended(scratch.file("shell"))); // reaped
    for (int wait = 0; wait < 100 && !ended(scratch.file("sleep")); ++wait)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(ended(scratch.file("sleep")));
}

TEST(WorkbenchExport, SettingsComeFromTheExtensionAndTheQueryAndBadOnesSayWhatIsWrong) {
    const ExportSettings art = settingsOf("png", "area=art&scale=2.5&background=transparent");
    EXPECT_EQ(art.format, Format::Png);
    EXPECT_EQ(art.area, Area::Art);
    EXPECT_EQ(art.scale, 2.5);
    EXPECT_TRUE(art.transparent);
    const ExportSettings plain = settingsOf("PDF", "");
    EXPECT_EQ(plain.format, Format::Pdf);
    EXPECT_EQ(plain.area, Area::Page);
    EXPECT_EQ(settingsOf("png", "scale=1%2E5").scale, 1.5);

    const std::pair<std::string, std::string> bad[] = {{"gif", "format"},
                                                       {"png?size=2", "unknown setting \"size\""},
                                                       {"png?scale=0", "scale must"},
                                                       {"png?scale=2x", "scale must"},
                                                       {"pdf?scale=2", "scale is for PNG only"},
                                                       {"svg?background=white", "background is for PNG only"},
                                                       {"png?background=black", "background must"},
                                                       {"png?area=all", "area must be page or art"},
                                                       {"png?area=art&area=page", "area is given twice"},
                                                       {"png?area=%zz", "area has a broken"}};
    for (const auto& [url, named] : bad) {
        const size_t mark = url.find('?');
        std::string why;
        EXPECT_FALSE(parseExportSettings(url.substr(0, mark),
                                         mark == std::string::npos ? "" : url.substr(mark + 1), &why))
            << url;
        EXPECT_NE(why.find(named), std::string::npos) << url << ": " << why;
    }
}

TEST(WorkbenchExport, DownloadsAreNamedAfterTheDocumentMadeSafe) {
    const ExportSettings png = settingsOf("png", ""), pdf = settingsOf("pdf", "");
    EXPECT_EQ(exportContentDisposition("Poster", png), "attachment; filename=\"Poster.png\"");
    EXPECT_EQ(exportContentDisposition("", pdf), "attachment; filename=\"Untitled.pdf\"");
    EXPECT_EQ(exportContentDisposition(" . ", pdf), "attachment; filename=\"Untitled.pdf\"");
    EXPECT_EQ(exportContentDisposition("../../etc/passwd", png),
              "attachment; filename=\"_.._etc_passwd.png\"");
    EXPECT_EQ(exportContentDisposition("a\"b\r\nSet-Cookie: x=1", png),
              "attachment; filename=\"a_bSet-Cookie_ x=1.png\"");
    EXPECT_EQ(exportContentDisposition("nul", png), "attachment; filename=\"_nul.png\"");
    EXPECT_EQ(
        exportContentDisposition("Zeichnung f\xC3\xBCr \xC3\x96", pdf),
        "attachment; filename=\"Zeichnung f_r _.pdf\"; filename*=UTF-8''Zeichnung%20f%C3%BCr%20%C3%96.pdf");
    // Broken UTF-8 and a turn of the text's direction that would show "gnp.exe" as "exe.png".
    EXPECT_EQ(exportContentDisposition("x\xFF\xE2\x80\xAEgnp.exe", png),
              "attachment; filename=\"x_gnp.exe.png\"");
}

} // namespace
} // namespace zz
