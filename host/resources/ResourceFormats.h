// Readers of the resource formats plug-in modules carry: string tables, dialog templates, cursor and icon
// groups, device-independent bitmaps and the plug-in property list. Each parser checks every length and
// offset against its data and raises ResourceError for anything malformed.
#ifndef ZZ_HOST_RESOURCES_RESOURCE_FORMATS_H
#define ZZ_HOST_RESOURCES_RESOURCE_FORMATS_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/resources/ModuleResources.h"

namespace zz {

// ---- string tables
// ---------------------------------------------------------------------------------------------

// String `number` of the module's string table: block (number >> 4) + 1 holds 16 counted UTF-16 strings, the
// string being entry number & 15. Nothing when the block is missing; an empty string when the entry is.
std::optional<std::string> loadString(const ModuleResources& module, uint16_t number,
                                      uint16_t language = kNeutralLanguage);
// The 16 strings of one string table block.
std::vector<std::string> parseStringBlock(std::span<const uint8_t> data);

// ---- dialog templates
// ------------------------------------------------------------------------------------------

struct DialogItem {
    int32_t id = 0;         // 16-bit ids of plain templates are sign-extended: -1 is 0xFFFF
    std::string className;  // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" or a class name
    uint16_t classAtom = 0; // the predefined class's number (0x80 to 0x85), 0 for a named class
    std::string text;       // the title text; "#N" when the title is a resource number
    int16_t x = 0, y = 0, width = 0, height = 0;
    uint32_t style = 0, exStyle = 0;
};

struct DialogTemplate {
    bool extended = false; // DLGTEMPLATEEX
    uint32_t style = 0, exStyle = 0;
    int16_t x = 0, y = 0, width = 0, height = 0;
    std::string menu;        // empty, a name or "#N"
    std::string windowClass; // empty, a name or "#N"
    std::string caption;
    uint16_t fontSize = 0; // points, 0 without a font
    std::string fontName;
    std::vector<DialogItem> items;
};

DialogTemplate parseDialogTemplate(std::span<const uint8_t> data);
// Dialog `number` of the module, or nothing when it has none.
std::optional<DialogTemplate> loadDialog(const ModuleResources& module, uint16_t number,
                                         uint16_t language = kNeutralLanguage);

// ---- images
// ------------------------------------------------------------------------------------------------------

// A palette image decoded from a device-independent bitmap.
struct IndexedImage {
    int width = 0, height = 0;        // of the picture (half the stored height for icon and cursor images)
    int bitCount = 0;                 // 1, 4 or 8
    uint32_t compression = 0;         // always 0 (uncompressed): nothing else is decoded
    std::vector<uint32_t> palette;    // 0xRRGGBB
    std::vector<uint8_t> pixels;      // palette indices, rows from the top
    std::vector<uint8_t> transparent; // icon and cursor images: 1 where the AND mask is set; otherwise empty

    uint8_t index(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    uint32_t colour(int x, int y) const { return palette[index(x, y)]; }
    bool isTransparent(int x, int y) const {
        return !transparent.empty() && transparent[static_cast<size_t>(y * width + x)] != 0;
    }
};

// Decodes a BITMAPINFOHEADER, its palette and its bits. `withMask`: an icon or cursor image, whose stored
// height is twice the picture's and whose colour bits are followed by a 1-bit AND mask.
IndexedImage decodeDib(std::span<const uint8_t> data, bool withMask);
// Bitmap `number` of the module, or nothing when it has none.
std::optional<IndexedImage> loadBitmap(const ModuleResources& module, uint16_t number,
                                       uint16_t language = kNeutralLanguage);

// One image of a cursor or icon group.
struct GroupEntry {
    int width = 0, height = 0; // cursor groups store twice the height; this is the picture's
    int colourCount = 0;       // icons only
    int planes = 0, bitCount = 0;
    uint32_t bytes = 0;
    uint16_t id = 0; // number of the cursor or icon resource holding the image
};

// The entries of a cursor group (`cursor`) or icon group.
std::vector<GroupEntry> parseGroup(std::span<const uint8_t> data, bool cursor);

struct CursorImage {
    int hotX = 0, hotY = 0;
    IndexedImage image;
    // Black (drawn in palette colour 0 through the mask) at (x, y).
    bool isBlack(int x, int y) const { return !image.isTransparent(x, y) && image.colour(x, y) == 0x000000; }
};

// The first image of cursor group `group` of the module, or nothing when it has no such group.
std::optional<CursorImage> loadCursor(const ModuleResources& module, uint16_t group,
                                      uint16_t language = kNeutralLanguage);
// The first image of icon group `group` of the module, or nothing when it has no such group.
std::optional<IndexedImage> loadIcon(const ModuleResources& module, uint16_t group,
                                     uint16_t language = kNeutralLanguage);

// ---- plug-in property list
// ---------------------------------------------------------------------------------------

struct PluginProperty {
    uint32_t vendor = 0; // four-character codes as numbers: 'kind' is 0x6B696E64
    uint32_t key = 0;
    uint32_t id = 0;
    std::vector<uint8_t> value; // `length` bytes as stored
};

struct PluginPropertyList {
    uint16_t signature = 0; // 1
    uint32_t version = 0;   // 0
    std::vector<PluginProperty> properties;

    const PluginProperty* find(uint32_t key) const;
    // The name in the 'wx86' property (the exported entry point) up to its first zero byte.
    std::optional<std::string> entryPointName() const;
};

PluginPropertyList parsePluginPropertyList(std::span<const uint8_t> data);

// A four-character code from its text: fourCharCode("kind") == 0x6B696E64.
constexpr uint32_t fourCharCode(const char (&text)[5]) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8) | static_cast<uint8_t>(text[3]);
}

} // namespace zz

#endif
