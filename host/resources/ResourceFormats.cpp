#include "host/resources/ResourceFormats.h"

#include <algorithm>

#include "host/resources/ByteReader.h"

namespace zz {

namespace {

// Pictures larger than this are not ours; the bound keeps a corrupt header from asking for gigabytes.
constexpr int32_t kMaxImageSide = 4096;
constexpr uint32_t kSetFontStyle = 0x40; // DS_SETFONT

// "#N": how a template names a resource or an item text by number. (Built by appending: GCC 12 at -O3 warns
// falsely of overlapping copies in "#" + text.)
std::string numberName(uint16_t number) {
    std::string name(1, '#');
    name += std::to_string(number);
    return name;
}

// A menu or class field of a dialog template: 0 (none), 0xFFFF and a number ("#N"), or a string.
std::string readNameOrNumber(ByteReader& reader) {
    const size_t start = reader.position();
    const uint16_t first = reader.u16();
    if (first == 0) return {};
    if (first == 0xFFFF) return numberName(reader.u16());
    reader.seek(start);
    return reader.utf16z();
}

std::string predefinedClassName(uint16_t atom) {
    switch (atom) {
    case 0x80:
        return "Button";
    case 0x81:
        return "Edit";
    case 0x82:
        return "Static";
    case 0x83:
        return "ListBox";
    case 0x84:
        return "ScrollBar";
    case 0x85:
        return "ComboBox";
    default:
        return "#" + std::to_string(atom);
    }
}

DialogItem readDialogItem(ByteReader& reader, bool extended) {
    reader.align(4);
    DialogItem item;
    if (extended) {
        reader.skip(4); // help id
        item.exStyle = reader.u32();
        item.style = reader.u32();
    } else {
        item.style = reader.u32();
        item.exStyle = reader.u32();
    }
    item.x = reader.s16();
    item.y = reader.s16();
    item.width = reader.s16();
    item.height = reader.s16();
    item.id = extended ? static_cast<int32_t>(reader.u32()) : static_cast<int32_t>(reader.s16());
    const size_t classStart = reader.position();
    if (reader.u16() == 0xFFFF) {
        item.classAtom = reader.u16();
        item.className = predefinedClassName(item.classAtom);
    } else {
        reader.seek(classStart);
        item.className = reader.utf16z();
    }
    const size_t textStart = reader.position();
    if (reader.u16() == 0xFFFF) {
        item.text = numberName(reader.u16());
    } else {
        reader.seek(textStart);
        item.text = reader.utf16z();
    }
    // Creation data: a byte count and that many bytes, which the control interprets; skipped here.
    const uint16_t extra = reader.u16();
    reader.skip(extra);
    return item;
}

} // namespace

// ---- string tables
// ---------------------------------------------------------------------------------------------

std::vector<std::string> parseStringBlock(std::span<const uint8_t> data) {
    ByteReader reader(data, "string table block");
    std::vector<std::string> strings;
    for (int i = 0; i < 16; ++i) {
        const uint16_t length = reader.u16();
        std::u16string text;
        for (uint16_t k = 0; k < length; ++k)
            text.push_back(static_cast<char16_t>(reader.u16()));
        strings.push_back(utf16ToUtf8(text));
    }
    return strings;
}

std::optional<std::string> loadString(const ModuleResources& module, uint16_t number, uint16_t language) {
    const std::optional<std::span<const uint8_t>> block =
        module.find(kStringResource, static_cast<uint16_t>((number >> 4) + 1), language);
    if (!block) return std::nullopt;
    return parseStringBlock(*block)[number & 15];
}

// ---- dialog templates
// ------------------------------------------------------------------------------------------

DialogTemplate parseDialogTemplate(std::span<const uint8_t> data) {
    ByteReader reader(data, "dialog template");
    DialogTemplate dialog;
    uint16_t itemCount = 0;
    if (data.size() >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF) {
        dialog.extended = true;
        reader.skip(4);
        reader.skip(4); // help id
        dialog.exStyle = reader.u32();
        dialog.style = reader.u32();
    } else {
        dialog.style = reader.u32();
        dialog.exStyle = reader.u32();
    }
    itemCount = reader.u16();
    dialog.x = reader.s16();
    dialog.y = reader.s16();
    dialog.width = reader.s16();
    dialog.height = reader.s16();
    dialog.menu = readNameOrNumber(reader);
    dialog.windowClass = readNameOrNumber(reader);
    dialog.caption = reader.utf16z();
    if ((dialog.style & kSetFontStyle) != 0) {
        dialog.fontSize = reader.u16();
        if (dialog.extended) reader.skip(4); // weight, italic, character set
        dialog.fontName = reader.utf16z();
    }
    for (uint16_t i = 0; i < itemCount; ++i)
        dialog.items.push_back(readDialogItem(reader, dialog.extended));
    return dialog;
}

std::optional<DialogTemplate> loadDialog(const ModuleResources& module, uint16_t number, uint16_t language) {
    const std::optional<std::span<const uint8_t>> data = module.find(kDialogResource, number, language);
    if (!data) return std::nullopt;
    return parseDialogTemplate(*data);
}

// ---- images
// ------------------------------------------------------------------------------------------------------

IndexedImage decodeDib(std::span<const uint8_t> data, bool withMask) {
    ByteReader reader(data, withMask ? "icon image" : "bitmap");
    const uint32_t headerSize = reader.u32();
    if (headerSize < 40)
        reader.fail("header size " + std::to_string(headerSize) + " is not a BITMAPINFOHEADER");
    const int32_t width = static_cast<int32_t>(reader.u32());
    const int32_t storedHeight = static_cast<int32_t>(reader.u32());
    const uint16_t planes = reader.u16();
    const uint16_t bitCount = reader.u16();
    const uint32_t compression = reader.u32();
    reader.skip(12); // image size, resolution
    const uint32_t coloursUsed = reader.u32();
    if (width <= 0 || width > kMaxImageSide) reader.fail("bad width " + std::to_string(width));
    if (storedHeight == 0 || storedHeight < -kMaxImageSide || storedHeight > kMaxImageSide)
        reader.fail("bad height " + std::to_string(storedHeight));
    if (withMask && (storedHeight < 0 || storedHeight % 2 != 0))
        reader.fail("height " + std::to_string(storedHeight) + " does not hold a picture and its mask");
    if (planes != 1) reader.fail("plane count " + std::to_string(planes) + " is not 1");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8)
        reader.fail(std::to_string(bitCount) + " bits per pixel are not read");
    if (compression != 0) reader.fail("compression " + std::to_string(compression) + " is not read");
    const uint32_t maxColours = 1u << bitCount;
    const uint32_t colours = coloursUsed == 0 ? maxColours : coloursUsed;
    if (colours > maxColours)
        reader.fail(std::to_string(colours) + " palette entries for " + std::to_string(bitCount) +
                    " bits per pixel");

    IndexedImage image;
    image.width = width;
    image.height = withMask ? storedHeight / 2 : std::abs(storedHeight);
    image.bitCount = bitCount;
    image.compression = compression;
    reader.seek(headerSize);
    for (uint32_t i = 0; i < colours; ++i) {
        const uint32_t quad = reader.u32(); // blue, green, red, reserved
        image.palette.push_back(quad & 0xFFFFFF);
    }
    const bool topDown = storedHeight < 0;
    auto readPlane = [&](int bits, std::vector<uint8_t>& out, uint32_t limit) {
        const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
        out.assign(static_cast<size_t>(width) * image.height, 0);
        for (int stored = 0; stored < image.height; ++stored) {
            const std::span<const uint8_t> row = reader.bytes(stride);
            const int y = topDown ? stored : image.height - 1 - stored;
            for (int x = 0; x < width; ++x) {
                const size_t bit = static_cast<size_t>(x) * bits;
                const uint8_t value =
                    static_cast<uint8_t>((row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1));
                if (value >= limit)
                    reader.fail("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") uses colour " +
                                std::to_string(value) + " beyond the palette");
                out[static_cast<size_t>(y) * width + x] = value;
            }
        }
    };
    readPlane(bitCount, image.pixels, colours);
    if (withMask) readPlane(1, image.transparent, 2);
    return image;
}

std::optional<IndexedImage> loadBitmap(const ModuleResources& module, uint16_t number, uint16_t language) {
    const std::optional<std::span<const uint8_t>> data = module.find(kBitmapResource, number, language);
    if (!data) return std::nullopt;
    return decodeDib(*data, false);
}

std::vector<GroupEntry> parseGroup(std::span<const uint8_t> data, bool cursor) {
    ByteReader reader(data, cursor ? "cursor group" : "icon group");
    if (reader.u16() != 0) reader.fail("reserved field is not 0");
    const uint16_t type = reader.u16();
    if (type != (cursor ? 2 : 1))
        reader.fail("resource type " + std::to_string(type) + " in the group header");
    const uint16_t count = reader.u16();
    std::vector<GroupEntry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        GroupEntry entry;
        if (cursor) {
            entry.width = reader.u16();
            entry.height = reader.u16() / 2;
        } else {
            entry.width = reader.u8();
            entry.height = reader.u8();
            entry.colourCount = reader.u8();
            reader.skip(1);
            if (entry.width == 0) entry.width = 256;
            if (entry.height == 0) entry.height = 256;
        }
        entry.planes = reader.u16();
        entry.bitCount = reader.u16();
        entry.bytes = reader.u32();
        entry.id = reader.u16();
        entries.push_back(entry);
    }
    return entries;
}

std::optional<CursorImage> loadCursor(const ModuleResources& module, uint16_t group, uint16_t language) {
    const std::optional<std::span<const uint8_t>> groupData =
        module.find(kCursorGroupResource, group, language);
    if (!groupData) return std::nullopt;
    const std::vector<GroupEntry> entries = parseGroup(*groupData, true);
    if (entries.empty()) throw ResourceError("cursor group " + std::to_string(group) + " holds no image");
    const std::span<const uint8_t> data = module.require(kCursorResource, entries.front().id, language);
    ByteReader reader(data, "cursor image");
    CursorImage cursor;
    cursor.hotX = reader.u16();
    cursor.hotY = reader.u16();
    cursor.image = decodeDib(data.subspan(4), true);
    if (cursor.hotX >= cursor.image.width || cursor.hotY >= cursor.image.height)
        reader.fail("hot spot lies outside the picture");
    return cursor;
}

std::optional<IndexedImage> loadIcon(const ModuleResources& module, uint16_t group, uint16_t language) {
    const std::optional<std::span<const uint8_t>> groupData =
        module.find(kIconGroupResource, group, language);
    if (!groupData) return std::nullopt;
    const std::vector<GroupEntry> entries = parseGroup(*groupData, false);
    if (entries.empty()) throw ResourceError("icon group " + std::to_string(group) + " holds no image");
    return decodeDib(module.require(kIconResource, entries.front().id, language), true);
}

// ---- plug-in property list
// ---------------------------------------------------------------------------------------

const PluginProperty* PluginPropertyList::find(uint32_t key) const {
    for (const PluginProperty& property : properties)
        if (property.key == key) return &property;
    return nullptr;
}

std::optional<std::string> PluginPropertyList::entryPointName() const {
    const PluginProperty* property = find(fourCharCode("wx86"));
    if (property == nullptr) return std::nullopt;
    const auto end = std::find(property->value.begin(), property->value.end(), uint8_t{0});
    return std::string(property->value.begin(), end);
}

PluginPropertyList parsePluginPropertyList(std::span<const uint8_t> data) {
    ByteReader reader(data, "plug-in property list");
    PluginPropertyList list;
    list.signature = reader.u16();
    list.version = reader.u32();
    const uint32_t count = reader.u32();
    if (list.signature != 1) reader.fail("signature " + std::to_string(list.signature) + " is not 1");
    if (count > reader.remaining() / 16)
        reader.fail(std::to_string(count) + " properties do not fit in " + std::to_string(data.size()) +
                    " bytes");
    for (uint32_t i = 0; i < count; ++i) {
        PluginProperty property;
        property.vendor = reader.u32();
        property.key = reader.u32();
        property.id = reader.u32();
        const uint32_t length = reader.u32();
        const std::span<const uint8_t> value = reader.bytes(length);
        property.value.assign(value.begin(), value.end());
        // Values are padded to a multiple of four; the last may end the list without its padding.
        reader.skip(std::min<size_t>(reader.remaining(), (4 - length % 4) % 4));
        list.properties.push_back(std::move(property));
    }
    return list;
}

} // namespace zz
