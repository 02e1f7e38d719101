// The harnesses of module images: a module file or .res image read every way the host reads one, and the
// resources' own formats.
#include <vector>

#include "fuzz/FuzzTargets.h"
#include "host/resources/ModuleProperties.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"

namespace zz::fuzz {

namespace {

// A decoded image keeps its promises: as many pixels as it is large, each naming a colour of its palette.
Verdict checkImage(const IndexedImage& image) {
    const auto pixels = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.width < 0 || image.height < 0 || image.pixels.size() != pixels)
        return "a decoded image holds " + std::to_string(image.pixels.size()) + " pixels for " +
               std::to_string(image.width) + " x " + std::to_string(image.height);
    if (!image.transparent.empty() && image.transparent.size() != pixels) return "a mask of another size";
    for (uint8_t index : image.pixels)
        if (index >= image.palette.size()) return "a pixel names a colour beyond the palette";
    return std::nullopt;
}

// Runs `read`; a ResourceError is a refusal, and must say something.
template <typename Read> Verdict refusedOrRead(Read read) {
    try {
        return read();
    } catch (const ResourceError& error) {
        return checkWording(error.what());
    }
}

// Reads one resource's data by its type, as the host does when a module asks for it.
Verdict readResource(const ResourceId& type, std::span<const uint8_t> data) {
    if (!type.isNumber()) {
        if (!(type == ResourceId("PiPL"))) return std::nullopt;
        return refusedOrRead([&]() -> Verdict {
            (void)checkModuleProperties(modulePropertiesOf(parsePluginPropertyList(data)));
            return std::nullopt;
        });
    }
    return refusedOrRead([&]() -> Verdict {
        switch (type.number()) {
        case kStringResource:
            (void)parseStringBlock(data);
            return std::nullopt;
        case kDialogResource:
            (void)parseDialogTemplate(data);
            return std::nullopt;
        case kBitmapResource:
            return checkImage(decodeDib(data, false));
        case kIconResource:
            return checkImage(decodeDib(data, true));
        case kCursorGroupResource:
        case kIconGroupResource:
            (void)parseGroup(data, type.number() == kCursorGroupResource);
            return std::nullopt;
        default:
            return std::nullopt;
        }
    });
}

// Everything the host reads of a module's resources: the listing, each resource found again by its name, its
// data read by its type, the property list, and the pictures that groups and numbers lead to.
Verdict readAll(const ModuleResources& module) {
    std::vector<ResourceEntry> entries;
    if (Verdict problem = refusedOrRead([&]() -> Verdict {
            entries = module.list();
            return std::nullopt;
        }))
        return problem;
    for (const ResourceEntry& entry : entries) {
        const std::optional<std::span<const uint8_t>> found =
            module.find(entry.type, entry.name, entry.language);
        if (!found)
            return "a listed resource is not found: " + entry.type.toString() + " " + entry.name.toString();
        if (found->data() != entry.data.data() || found->size() != entry.data.size())
            return "a resource is found with other data than listed: " + entry.type.toString();
        if (Verdict problem = readResource(entry.type, entry.data)) return problem;
        if (!entry.name.isNumber()) continue;
        const uint16_t number = entry.name.number();
        if (Verdict problem = refusedOrRead([&]() -> Verdict {
                switch (entry.type.isNumber() ? entry.type.number() : 0) {
                case kCursorGroupResource:
                    if (auto cursor = loadCursor(module, number, entry.language))
                        return checkImage(cursor->image);
                    return std::nullopt;
                case kIconGroupResource:
                    if (auto icon = loadIcon(module, number, entry.language)) return checkImage(*icon);
                    return std::nullopt;
                case kBitmapResource:
                    if (auto bitmap = loadBitmap(module, number, entry.language)) return checkImage(*bitmap);
                    return std::nullopt;
                case kDialogResource:
                    (void)loadDialog(module, number, entry.language);
                    return std::nullopt;
                case kStringResource:
                    for (int i = 0; i < 16 && number > 0; ++i)
                        (void)loadString(module, static_cast<uint16_t>(((number - 1) << 4) + i),
                                         entry.language);
                    return std::nullopt;
                default:
                    return std::nullopt;
                }
            }))
            return problem;
    }
    std::string why;
    if (!readModuleProperties(module, "module", &why)) return checkWording(why);
    return std::nullopt;
}

} // namespace

Verdict runModule(Bytes input) {
    const std::vector<uint8_t> image(input.begin(), input.end());
    using Reader = ModuleResources (*)(std::vector<uint8_t>, const std::string&);
    for (Reader reader : {Reader{ModuleResources::fromResImage}, Reader{ModuleResources::fromElfImage},
                          Reader{ModuleResources::fromPeImage}}) {
        std::optional<ModuleResources> module;
        if (Verdict problem = refusedOrRead([&]() -> Verdict {
                module = reader(image, "module");
                return std::nullopt;
            }))
            return problem;
        if (module)
            if (Verdict problem = readAll(*module)) return problem;
    }
    // The same bytes as the memory of a module the system has mapped.
    std::optional<ModuleResources> mapped;
    if (Verdict problem = refusedOrRead([&]() -> Verdict {
            mapped = ModuleResources::fromMappedImage(input, "module");
            return std::nullopt;
        }))
        return problem;
    if (mapped) return readAll(*mapped);
    return std::nullopt;
}

// The first byte chooses the reader, the rest is the resource's data: 0 a string table block, 1 a dialog
// template, 2 a bitmap, 3 an icon image, 4 a cursor image (hot spot, then the picture), 5 a cursor group,
// 6 an icon group, 7 a property list.
Verdict runFormats(Bytes input) {
    if (input.empty()) return std::nullopt;
    const std::span<const uint8_t> data = input.subspan(1);
    switch (input[0] % 8) {
    case 0:
        return readResource(ResourceId(kStringResource), data);
    case 1:
        return readResource(ResourceId(kDialogResource), data);
    case 2:
        return readResource(ResourceId(kBitmapResource), data);
    case 3:
        return readResource(ResourceId(kIconResource), data);
    case 4:
        return readResource(ResourceId(kIconResource), data.size() < 4 ? data : data.subspan(4));
    case 5:
        return readResource(ResourceId(kCursorGroupResource), data);
    case 6:
        return readResource(ResourceId(kIconGroupResource), data);
    default:
        return readResource(ResourceId("PIPL"), data);
    }
}

} // namespace zz::fuzz
