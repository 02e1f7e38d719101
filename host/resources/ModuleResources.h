// The resources a plug-in module carries, found by type, number and language.
//
// Windows modules carry them as PE resources: the resource directory is read from the module's file, or from
// its mapping once the system has mapped it. Modules built for other systems carry the same resources
// compiled to the .res format in an ELF section named ".zzres". A .res file can be opened directly too. Every
// length and offset is checked: a malformed file raises ResourceError, never reads outside its data, and a
// mapped module is read only inside the memory it maps, whatever its headers claim.
#ifndef ZZ_HOST_RESOURCES_MODULE_RESOURCES_H
#define ZZ_HOST_RESOURCES_MODULE_RESOURCES_H

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace zz {

// Resource types known by number.
enum ResourceType : uint16_t {
    kCursorResource = 1,
    kBitmapResource = 2,
    kIconResource = 3,
    kMenuResource = 4,
    kDialogResource = 5,
    kStringResource = 6,
    kRawDataResource = 10,
    kCursorGroupResource = 12,
    kIconGroupResource = 14,
    kVersionResource = 16,
};

// Language neutral, default sub-language: the language plug-in modules give their resources.
constexpr uint16_t kNeutralLanguage = 1024;

// The name of the ELF section that carries the .res image in modules for systems other than Windows.
inline constexpr const char* kResourceSectionName = ".zzres";

class ResourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A resource type or name: a 16-bit number or a string. Strings compare without regard to ASCII case, as the
// system loader compares them (resource compilers store string names in capitals).
class ResourceId {
  public:
    ResourceId(uint16_t number) : number_(number) {}
    ResourceId(std::string name) : isNumber_(false), name_(std::move(name)) {}
    ResourceId(const char* name) : ResourceId(std::string(name)) {}

    bool isNumber() const { return isNumber_; }
    uint16_t number() const { return number_; }
    const std::string& name() const { return name_; }

    bool operator==(const ResourceId& other) const;
    // The number in decimal, or the string in double quotes.
    std::string toString() const;

  private:
    bool isNumber_ = true;
    uint16_t number_ = 0;
    std::string name_;
};

// A readable name of a resource type: "cursor", "bitmap", ... for the known numbers, "#N" for other numbers
// and the string in double quotes for named types.
std::string resourceTypeName(const ResourceId& type);

struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    uint16_t language;
    std::span<const uint8_t> data; // valid while the ModuleResources it came from lives
};

class ModuleResources {
  public:
    // Parses a .res image. An empty image is malformed; an image with only the leading empty entry is valid
    // and holds nothing.
    static ModuleResources fromResImage(std::vector<uint8_t> image,
                                        const std::string& what = "resource image");
    // Finds the .zzres section of a 64-bit little-endian ELF image and parses the .res image it holds.
    static ModuleResources fromElfImage(std::vector<uint8_t> image, const std::string& what = "ELF module");
    // Parses the resource directory of a PE module's file image (the module is not loaded). A module without
    // a resource directory holds nothing.
    static ModuleResources fromPeImage(std::vector<uint8_t> image, const std::string& what = "PE module");
    // Reads the resource directory of a PE module as the system maps it: `image` is the memory from the
    // module's base on, each address an offset into it, and must stay mapped while the result is used. A
    // malformed directory raises ResourceError; a resource whose data lies outside `image` raises it only
    // when it is found or listed, so that the module's other resources can still be read.
    static ModuleResources fromMappedImage(std::span<const uint8_t> image,
                                           const std::string& what = "PE module");
    // Opens a module or .res file by its contents: an ELF module, a .res file, or (Windows builds only) a PE
    // module, which is mapped as a data file.
    static ModuleResources openFile(const std::string& path);
    // Reads the resources of the module file at `path` from its bytes, on every system and without loading
    // or mapping the module: an ELF module (its .zzres section) or a PE module. A module without resources
    // holds nothing; a file that is no module, a .res file included, raises ResourceError.
    static ModuleResources readModuleFile(const std::string& path);
    // The resources of a module the host has loaded: on Windows `nativeHandle` is its HMODULE, which must
    // stay loaded while the result is used; elsewhere the module's file at `path` is read.
    static ModuleResources fromLoadedModule(void* nativeHandle, const std::string& path);

    // Every resource, in the order of the .res image or of the resource directory (types, names, languages).
    // Raises ResourceError when a resource of a mapped module lies outside its image.
    std::vector<ResourceEntry> list() const;
    // The data of one resource, or nothing when the module has no such resource.
    std::optional<std::span<const uint8_t>> find(const ResourceId& type, const ResourceId& name,
                                                 uint16_t language = kNeutralLanguage) const;
    // As find, but a missing resource raises ResourceError naming it.
    std::span<const uint8_t> require(const ResourceId& type, const ResourceId& name,
                                     uint16_t language = kNeutralLanguage) const;

  private:
    ModuleResources() = default;
    // Appends an entry unless one with its type, name and language is there already; answers whether it did.
    bool addEntry(const ResourceId& type, const ResourceId& name, uint16_t language,
                  std::span<const uint8_t> data);

    std::shared_ptr<const std::vector<uint8_t>> image_; // the parsed file image
    std::vector<ResourceEntry> entries_;                // entries of the image, in its order
    std::unordered_map<std::string, size_t> index_;     // entries_ by resourceKey of type, name and language
    std::map<size_t, std::string> unreadable_;          // mapped modules: entries_ whose data lies outside
    std::shared_ptr<void> module_;                      // Windows: the HMODULE, when mapped here (then freed)
};

// Decodes UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string utf16ToUtf8(const std::u16string& text);

} // namespace zz

#endif
