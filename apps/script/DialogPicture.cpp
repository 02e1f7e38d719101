#include "apps/script/DialogPicture.h"

#include <algorithm>
#include <sstream>

#include "host/base/XmlText.h"

namespace zz {

namespace {

using nlohmann::json;

constexpr int32_t kListRowHeight = 22;

std::string base64(const std::vector<uint8_t>& bytes) {
    static const char* const kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t chunk = (static_cast<uint32_t>(bytes[i]) << 16) |
                               (i + 1 < bytes.size() ? static_cast<uint32_t>(bytes[i + 1]) << 8 : 0) |
                               (i + 2 < bytes.size() ? static_cast<uint32_t>(bytes[i + 2]) : 0);
        out += kDigits[(chunk >> 18) & 63];
        out += kDigits[(chunk >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(chunk >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[chunk & 63] : '=';
    }
    return out;
}

uint32_t u32At(const std::vector<uint8_t>& bytes, std::size_t at) {
    return static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<uint32_t>(bytes[at + 2]) << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

Rect rectOf(const json& item) {
    const json& r = item["rect"];
    return Rect{r[0].get<int32_t>(), r[1].get<int32_t>(), r[2].get<int32_t>(), r[3].get<int32_t>()};
}

class Picture {
  public:
    Picture(std::ostream& out, const BitmapSource& bitmaps) : out_(out), bitmaps_(bitmaps) {}

    void item(const json& item) {
        if (!item.value("visible", true)) return;
        const std::string kind = item.value("kind", "");
        const Rect r = rectOf(item);
        out_ << "<g data-item=\"" << item.value("id", 0) << "\""
             << (item.value("enabled", true) ? "" : " opacity=\"0.4\"") << ">\n";
        const std::string text = item.value("text", "");
        const bool bold = item.value("bold", false);
        if (kind == "label") {
            label(r.left, r.top + r.height() / 2, text, bold);
        } else if (kind == "spin") {
            box(r, "#ffffff", item.value("focus", false) ? "#3068c8" : "#7a7a7a");
            label(r.right - 4, r.top + r.height() / 2, text, false, "end");
        } else if (kind == "check") {
            checkBox(r, item.value("value", false), text, bold);
        } else if (kind == "popup") {
            popup(r, text);
        } else if (kind == "list") {
            listBox(r, item);
        } else if (kind == "button") {
            out_ << "<rect x=\"" << r.left << "\" y=\"" << r.top << "\" width=\"" << r.width()
                 << "\" height=\"" << r.height() << "\" rx=\"4\" fill=\"#e8e8e8\" stroke=\"#6a6a6a\"/>\n";
            label(r.left + r.width() / 2, r.top + r.height() / 2, text, bold, "middle");
        } else {
            box(r, "none", "#9a9a9a");
        }
        out_ << "</g>\n";
    }

  private:
    void box(const Rect& r, const char* fill, const char* stroke) {
        out_ << "<rect x=\"" << r.left << "\" y=\"" << r.top << "\" width=\"" << r.width() << "\" height=\""
             << r.height() << "\" fill=\"" << fill << "\" stroke=\"" << stroke << "\"/>\n";
    }

    void label(int32_t x, int32_t middle, const std::string& text, bool bold, const char* anchor = "start") {
        if (text.empty()) return;
        out_ << "<text x=\"" << x << "\" y=\"" << middle + 4 << "\" text-anchor=\"" << anchor << "\""
             << (bold ? " font-weight=\"bold\"" : "") << " xml:space=\"preserve\">" << xmlEscaped(text)
             << "</text>\n";
    }

    void checkBox(const Rect& r, bool ticked, const std::string& text, bool bold) {
        const int32_t side = std::min(13, r.height());
        const Rect square{r.left, r.top + (r.height() - side) / 2, r.left + side,
                          r.top + (r.height() + side) / 2};
        box(square, "#ffffff", "#555555");
        if (ticked)
            out_ << "<path d=\"M " << square.left + 2 << " " << square.top + side / 2 << " L "
                 << square.left + side / 2 - 1 << " " << square.bottom - 3 << " L " << square.right - 2 << " "
                 << square.top + 2 << "\" fill=\"none\" stroke=\"#1a1a1a\" stroke-width=\"2\"/>\n";
        label(square.right + 5, r.top + r.height() / 2, text, bold);
    }

    // The active entry's text, stopping short of the arrow as a popup cuts a long entry.
    void popup(const Rect& r, const std::string& text) {
        box(r, "#f4f4f4", "#7a7a7a");
        const int clip = clips_++;
        out_ << "<clipPath id=\"clip" << clip << "\"><rect x=\"" << r.left << "\" y=\"" << r.top
             << "\" width=\"" << std::max(0, r.width() - 18) << "\" height=\"" << r.height()
             << "\"/></clipPath>\n<g clip-path=\"url(#clip" << clip << ")\">\n";
        label(r.left + 4, r.top + r.height() / 2, text, false);
        out_ << "</g>\n";
        out_ << "<path d=\"M " << r.right - 14 << " " << r.top + r.height() / 2 - 3 << " l 8 0 l -4 6 z\" "
             << "fill=\"#333333\"/>\n";
    }

    // The rows that fit, scrolled so that the active entry shows, each with its picture and text.
    void listBox(const Rect& r, const json& item) {
        box(r, "#ffffff", "#7a7a7a");
        const json* entries = item.contains("entries") ? &item["entries"] : nullptr;
        if (entries == nullptr || !entries->is_array() || entries->empty()) return;
        const int32_t rows = std::max(1, r.height() / kListRowHeight);
        const int32_t count = static_cast<int32_t>(entries->size());
        int32_t active = -1;
        for (int32_t i = 0; i < count; ++i)
            if (item.contains("active") && (*entries)[static_cast<std::size_t>(i)]["id"] == item["active"])
                active = i;
        const int32_t first = std::clamp(active - rows / 2, 0, std::max(0, count - rows));
        for (int32_t row = 0; row < rows && first + row < count; ++row) {
            const json& entry = (*entries)[static_cast<std::size_t>(first + row)];
            const int32_t top = r.top + row * kListRowHeight;
            if (first + row == active)
                out_ << "<rect x=\"" << r.left + 1 << "\" y=\"" << top + 1 << "\" width=\"" << r.width() - 2
                     << "\" height=\"" << kListRowHeight - 2 << "\" fill=\"#cfe0fb\"/>\n";
            int32_t textLeft = r.left + 4;
            if (entry.value("picture", 0) != 0) {
                if (const std::optional<std::vector<uint8_t>> dib = bitmaps_(entry["picture"].get<int32_t>()))
                    if (const std::optional<std::vector<uint8_t>> file = bmpFileOf(*dib)) {
                        out_ << "<image x=\"" << r.left + 3 << "\" y=\"" << top + 2 << "\" width=\""
                             << kListRowHeight - 4 << "\" height=\"" << kListRowHeight - 4
                             << "\" href=\"data:image/bmp;base64," << base64(*file) << "\"/>\n";
                        textLeft = r.left + kListRowHeight + 4;
                    }
            }
            label(textLeft, top + kListRowHeight / 2, entry.value("text", ""), false);
        }
    }

    std::ostream& out_;
    const BitmapSource& bitmaps_;
    int clips_ = 0;
};

} // namespace

std::optional<std::vector<uint8_t>> bmpFileOf(const std::vector<uint8_t>& dib) {
    if (dib.size() < 40) return std::nullopt;
    const uint32_t headerSize = u32At(dib, 0);
    if (headerSize < 40 || headerSize > dib.size()) return std::nullopt;
    const uint16_t bitCount = static_cast<uint16_t>(dib[14] | (dib[15] << 8));
    const uint32_t compression = u32At(dib, 16);
    const uint32_t used = u32At(dib, 32);
    uint64_t palette = bitCount <= 8 ? (used != 0 ? used : (1u << bitCount)) * 4ull : 0;
    if (compression == 3 && headerSize == 40) palette += 12; // the three colour masks
    const uint64_t offset = 14 + headerSize + palette;
    if (offset > 14 + dib.size()) return std::nullopt;
    const uint64_t size = 14 + dib.size();
    std::vector<uint8_t> file = {'B', 'M'};
    for (const uint64_t value : {size, uint64_t{0}, offset})
        for (int shift = 0; shift < 32; shift += 8)
            file.push_back(static_cast<uint8_t>(value >> shift));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

std::string dialogPictureSvg(const json& view, const BitmapSource& bitmaps) {
    const int32_t width = view.value("width", 0), height = view.value("height", 0);
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width << "\" height=\""
        << height << "\" viewBox=\"0 0 " << width << " " << height
        << "\" font-family=\"sans-serif\" font-size=\"11\">\n"
        << "<title>" << xmlEscaped(view.value("name", "")) << "</title>\n"
        << "<rect width=\"" << width << "\" height=\"" << height << "\" fill=\"#ececec\"/>\n";
    Picture picture(out, bitmaps);
    if (view.contains("items") && view["items"].is_array())
        for (const json& item : view["items"])
            picture.item(item);
    out << "</svg>\n";
    return out.str();
}

} // namespace zz
