#include "apps/workbench/Png.h"

#include <array>

namespace zz {

namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void put32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    put32(out, static_cast<uint32_t>(data.size()));
    std::string body(type, 4);
    body += data;
    out += body;
    put32(out, crc32(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string zlibStored(const std::vector<uint8_t>& data) {
    std::string out = {'\x78', '\x01'};
    size_t at = 0;
    do {
        const size_t size = std::min<size_t>(65535, data.size() - at);
        const bool last = at + size == data.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(size & 0xFF);
        out += static_cast<char>(size >> 8);
        out += static_cast<char>(~size & 0xFF);
        out += static_cast<char>((~size >> 8) & 0xFF);
        out.append(reinterpret_cast<const char*>(data.data() + at), size);
        at += size;
    } while (at < data.size());
    uint32_t a = 1, b = 0;
    for (const uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32(out, (b << 16) | a);
    return out;
}

} // namespace

std::string pngOfRgba(int width, int height, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (static_cast<size_t>(width) * 4 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        raw.insert(raw.end(), rgba.begin() + static_cast<std::ptrdiff_t>(row),
                   rgba.begin() + static_cast<std::ptrdiff_t>(row + static_cast<size_t>(width) * 4));
    }
    std::string out = "\x89PNG\r\n\x1a\n";
    std::string header;
    put32(header, static_cast<uint32_t>(width));
    put32(header, static_cast<uint32_t>(height));
    header +=
        std::string{'\x08', '\x06', '\x00', '\x00', '\x00'}; // 8-bit RGBA, deflate, no filter, no interlace
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", zlibStored(raw));
    chunk(out, "IEND", "");
    return out;
}

std::string pngOf(const IndexedImage& image) {
    std::vector<uint8_t> rgba;
    rgba.reserve(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint32_t colour = image.index(x, y) < image.palette.size() ? image.colour(x, y) : 0;
            rgba.push_back(static_cast<uint8_t>(colour >> 16));
            rgba.push_back(static_cast<uint8_t>(colour >> 8));
            rgba.push_back(static_cast<uint8_t>(colour));
            rgba.push_back(image.isTransparent(x, y) ? 0 : 255);
        }
    return pngOfRgba(image.width, image.height, rgba);
}

} // namespace zz
