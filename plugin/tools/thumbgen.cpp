// Build-time generator of the module's pictures: the 63 design thumbnails (thumb100.bmp to thumb162.bmp), the
// tool cursor (Zigzag.cur) and the tool icon (Zigzag.ico). The thumbnails are drawn from the design table
// itself, so a changed design changes its picture at the next build.
//
// Usage: thumbgen OUTPUT_DIRECTORY
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "plugin/designs/DesignTemplates.h"
#include "plugin/tools/ThumbnailLayout.h"

namespace {

using Bytes = std::vector<uint8_t>;

void putU16(Bytes& out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void putU32(Bytes& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
}

// The 16 colours of the standard palette, as 0xRRGGBB; index 0 is black and 15 white.
constexpr uint32_t kPalette16[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                     0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// BITMAPINFOHEADER for an uncompressed image of `height` rows as stored (twice the picture for icon images).
void putInfoHeader(Bytes& out, int width, int height, int bitCount, int colours, uint32_t imageBytes) {
    putU32(out, 40);
    putU32(out, static_cast<uint32_t>(width));
    putU32(out, static_cast<uint32_t>(height));
    putU16(out, 1);
    putU16(out, static_cast<unsigned>(bitCount));
    putU32(out, 0); // BI_RGB
    putU32(out, imageBytes);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, static_cast<uint32_t>(colours));
    putU32(out, 0);
}

void putPalette(Bytes& out, int colours) {
    for (int i = 0; i < colours; ++i) {
        const uint32_t rgb = colours == 2 ? (i == 0 ? 0x000000u : 0xFFFFFFu) : kPalette16[i];
        out.push_back(static_cast<uint8_t>(rgb & 0xFF));         // blue
        out.push_back(static_cast<uint8_t>((rgb >> 8) & 0xFF));  // green
        out.push_back(static_cast<uint8_t>((rgb >> 16) & 0xFF)); // red
        out.push_back(0);
    }
}

int rowBytes(int width, int bitCount) {
    return ((width * bitCount + 31) / 32) * 4;
}

// Packs a top-down grid of palette indices (or mask bits) into bottom-up rows of `bitCount` bits per pixel.
void putPixels(Bytes& out, const std::vector<uint8_t>& grid, int width, int height, int bitCount) {
    const int stride = rowBytes(width, bitCount);
    for (int row = height - 1; row >= 0; --row) {
        Bytes line(static_cast<size_t>(stride), 0);
        for (int x = 0; x < width; ++x) {
            const unsigned value = grid[static_cast<size_t>(row * width + x)];
            const int bit = x * bitCount;
            const int shift = 8 - bitCount - (bit % 8);
            line[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(value << shift);
        }
        out.insert(out.end(), line.begin(), line.end());
    }
}

// Draws a one-pixel line from (x0, y0) to (x1, y1) inclusive.
void drawLine(std::vector<uint8_t>& grid, int width, int x0, int y0, int x1, int y1, uint8_t value) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        grid[static_cast<size_t>(y0 * width + x0)] = value;
        if (x0 == x1 && y0 == y1) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

// The thumbnail of one design: its template as a black polyline on white, x to the right, y downwards.
Bytes thumbnailBitmap(const DesignTemplate& design) {
    std::vector<uint8_t> grid(kThumbnailSize * kThumbnailSize, kThumbnailWhite);
    for (int i = 0; i < design.pointCount; ++i) {
        const int x = thumbnailPixel(design.points[2 * i]);
        const int y = thumbnailPixel(design.points[2 * i + 1]);
        const int j = i + 1 < design.pointCount ? i + 1 : i;
        drawLine(grid, kThumbnailSize, x, y, thumbnailPixel(design.points[2 * j]),
                 thumbnailPixel(design.points[2 * j + 1]), kThumbnailBlack);
    }
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes(kThumbnailSize, 4) * kThumbnailSize);
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, 14 + 40 + 64 + imageBytes);
    putU32(out, 0);
    putU32(out, 14 + 40 + 64);
    putInfoHeader(out, kThumbnailSize, kThumbnailSize, 4, 16, imageBytes);
    putPalette(out, 16);
    putPixels(out, grid, kThumbnailSize, kThumbnailSize, 4);
    return out;
}

// An icon or cursor file holding one 32 x 32 image. `colours` is a top-down grid of palette indices, `opaque`
// marks the pixels that are drawn (everything else is transparent through the AND mask).
Bytes iconFile(bool cursor, int bitCount, const std::vector<uint8_t>& colours,
               const std::vector<uint8_t>& opaque, int hotX, int hotY) {
    constexpr int kSide = 32;
    const int paletteColours = 1 << bitCount;
    std::vector<uint8_t> andMask(kSide * kSide);
    for (size_t i = 0; i < andMask.size(); ++i)
        andMask[i] = opaque[i] ? 0 : 1;
    Bytes image;
    const uint32_t xorBytes = static_cast<uint32_t>(rowBytes(kSide, bitCount) * kSide);
    const uint32_t andBytes = static_cast<uint32_t>(rowBytes(kSide, 1) * kSide);
    putInfoHeader(image, kSide, 2 * kSide, bitCount, 0, xorBytes + andBytes);
    putPalette(image, paletteColours);
    putPixels(image, colours, kSide, kSide, bitCount);
    putPixels(image, andMask, kSide, kSide, 1);

    Bytes out;
    putU16(out, 0);
    putU16(out, cursor ? 2 : 1);
    putU16(out, 1);
    out.push_back(kSide);
    out.push_back(kSide);
    out.push_back(static_cast<uint8_t>(paletteColours == 256 ? 0 : paletteColours));
    out.push_back(0);
    putU16(out, cursor ? static_cast<unsigned>(hotX) : 1); // planes for icons, hot spot for cursors
    putU16(out, cursor ? static_cast<unsigned>(hotY) : static_cast<unsigned>(bitCount));
    putU32(out, static_cast<uint32_t>(image.size()));
    putU32(out, 6 + 16);
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

// The tool cursor: an open crosshair around the hot spot (16, 15), arms of four pixels, black.
Bytes cursorFile() {
    std::vector<uint8_t> colours(32 * 32, 0);
    std::vector<uint8_t> opaque(32 * 32, 0);
    constexpr int kHotX = 16;
    constexpr int kHotY = 15;
    for (int d = 2; d <= 5; ++d) {
        opaque[static_cast<size_t>((kHotY - d) * 32 + kHotX)] = 1;
        opaque[static_cast<size_t>((kHotY + d) * 32 + kHotX)] = 1;
        opaque[static_cast<size_t>(kHotY * 32 + kHotX - d)] = 1;
        opaque[static_cast<size_t>(kHotY * 32 + kHotX + d)] = 1;
    }
    return iconFile(true, 1, colours, opaque, kHotX, kHotY);
}

// The tool icon: a navy "Z" drawn with strokes three pixels thick on a transparent ground.
Bytes iconFileZ() {
    constexpr uint8_t kNavy = 4;
    std::vector<uint8_t> colours(32 * 32, 0);
    std::vector<uint8_t> opaque(32 * 32, 0);
    auto set = [&](int x, int y) {
        if (x < 0 || x >= 32 || y < 0 || y >= 32) return;
        colours[static_cast<size_t>(y * 32 + x)] = kNavy;
        opaque[static_cast<size_t>(y * 32 + x)] = 1;
    };
    for (int y = 5; y <= 7; ++y)
        for (int x = 6; x <= 25; ++x) {
            set(x, y);
            set(x, y + 19);
        }
    // The diagonal from the top bar's right end to the bottom bar's left end.
    for (int y = 8; y <= 23; ++y) {
        const int centre = 25 - ((y - 7) * 19 + 8) / 16;
        for (int x = centre - 1; x <= centre + 1; ++x)
            set(x, y);
    }
    return iconFile(false, 4, colours, opaque, 0, 0);
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "thumbgen: cannot create %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) std::fprintf(stderr, "thumbgen: cannot write %s\n", path.c_str());
    return written && closed;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: thumbgen OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::string directory = argv[1];
    for (int k = 0; k < kThumbnailCount; ++k) {
        const DesignTemplate* design = designTemplateAt(k);
        if (design == nullptr || design->pointCount < 1) {
            std::fprintf(stderr, "thumbgen: design %d is missing\n", k);
            return 1;
        }
        const std::string path = directory + "/thumb" + std::to_string(kFirstThumbnailId + k) + ".bmp";
        if (!writeFile(path, thumbnailBitmap(*design))) return 1;
    }
    if (!writeFile(directory + "/Zigzag.cur", cursorFile())) return 1;
    if (!writeFile(directory + "/Zigzag.ico", iconFileZ())) return 1;
    return 0;
}
