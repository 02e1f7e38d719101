#include "host/resources/ModuleResources.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/resources/ByteReader.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace zz {

namespace {

// Files larger than this are not modules of ours; refusing them keeps a stray path from exhausting memory.
constexpr uint64_t kMaxFileSize = 256u * 1024 * 1024;

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return asciiUpper(x) == asciiUpper(y); });
}

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// A type or name field of a .res entry header: 0xFFFF and a number, or a zero-terminated UTF-16 string.
ResourceId readIdField(ByteReader& reader) {
    const size_t start = reader.position();
    if (reader.u16() == 0xFFFF) return ResourceId(reader.u16());
    reader.seek(start);
    std::string name = reader.utf16z();
    if (name.empty()) reader.fail("empty resource type or name at offset " + std::to_string(start));
    return ResourceId(std::move(name));
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw ResourceError("cannot open " + path + ": no such file");
    if (!std::filesystem::is_regular_file(path, error)) throw ResourceError(path + " is not a regular file");
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ResourceError("cannot open " + path);
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0) throw ResourceError("cannot read " + path);
    if (static_cast<uint64_t>(size) > kMaxFileSize)
        throw ResourceError(path + " is too large to be a module");
    file.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!bytes.empty() && !file.read(reinterpret_cast<char*>(bytes.data()), size))
        throw ResourceError("cannot read " + path);
    return bytes;
}

bool startsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// The 32-byte entry every .res image starts with: no data, header size 32, type 0, name 0.
constexpr std::initializer_list<uint8_t> kResSignature = {0,    0,    0, 0, 0x20, 0,    0, 0,
                                                          0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};

#if defined(_WIN32)

ResourceId idFromLoader(LPCSTR value) {
    if (IS_INTRESOURCE(value)) return ResourceId(static_cast<uint16_t>(reinterpret_cast<uintptr_t>(value)));
    return ResourceId(std::string(value));
}

// The argument the loader's functions take for a type or name.
LPCSTR idForLoader(const ResourceId& id) {
    return id.isNumber() ? MAKEINTRESOURCEA(id.number()) : id.name().c_str();
}

std::string lastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    // Messages that expect inserts name the file "%1"; the caller names it already.
    for (size_t at = result.find("%1"); at != std::string::npos; at = result.find("%1"))
        result.replace(at, 2, "file");
    return (result.empty() ? "system error" : result) + " (" + std::to_string(code) + ")";
}

std::optional<std::span<const uint8_t>> loaderFind(HMODULE module, const ResourceId& type,
                                                   const ResourceId& name, uint16_t language) {
    HRSRC info = FindResourceExA(module, idForLoader(type), idForLoader(name), language);
    if (info == nullptr) return std::nullopt;
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) return std::nullopt;
    return std::span<const uint8_t>(static_cast<const uint8_t*>(data), size);
}

struct LoaderListing {
    HMODULE module;
    std::vector<ResourceEntry>* entries;
};

BOOL CALLBACK onLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param) {
    auto* listing = reinterpret_cast<LoaderListing*>(param);
    const ResourceId typeId = idFromLoader(type);
    const ResourceId nameId = idFromLoader(name);
    std::optional<std::span<const uint8_t>> data = loaderFind(module, typeId, nameId, language);
    listing->entries->push_back(
        ResourceEntry{typeId, nameId, language, data.value_or(std::span<const uint8_t>())});
    return TRUE;
}

BOOL CALLBACK onName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    EnumResourceLanguagesA(module, type, name, onLanguage, param);
    return TRUE;
}

BOOL CALLBACK onType(HMODULE module, LPSTR type, LONG_PTR param) {
    EnumResourceNamesA(module, type, onName, param);
    return TRUE;
}

#endif

} // namespace

std::string utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        appendUtf8(out, code);
    }
    return out;
}

bool ResourceId::operator==(const ResourceId& other) const {
    if (isNumber_ != other.isNumber_) return false;
    return isNumber_ ? number_ == other.number_ : equalIgnoringCase(name_, other.name_);
}

std::string ResourceId::toString() const {
    return isNumber_ ? std::to_string(number_) : "\"" + name_ + "\"";
}

std::string resourceTypeName(const ResourceId& type) {
    if (!type.isNumber()) return type.toString();
    switch (type.number()) {
    case kCursorResource:
        return "cursor";
    case kBitmapResource:
        return "bitmap";
    case kIconResource:
        return "icon";
    case kMenuResource:
        return "menu";
    case kDialogResource:
        return "dialog";
    case kStringResource:
        return "string";
    case kRawDataResource:
        return "rcdata";
    case kCursorGroupResource:
        return "cursor-group";
    case kIconGroupResource:
        return "icon-group";
    case kVersionResource:
        return "version";
    default: {
        std::string name = std::to_string(type.number());
        name.insert(name.begin(), '#');
        return name;
    }
    }
}

ModuleResources ModuleResources::fromResImage(std::vector<uint8_t> image, const std::string& what) {
    ModuleResources result;
    auto owned = std::make_shared<const std::vector<uint8_t>>(std::move(image));
    const std::span<const uint8_t> bytes(*owned);
    ByteReader reader(bytes, what);
    if (bytes.empty()) reader.fail("no data");
    if (bytes.size() < 32 || !std::equal(kResSignature.begin(), kResSignature.end(), bytes.begin()))
        reader.fail("does not begin with the empty entry of a .res image");
    reader.seek(32);
    while (!reader.atEnd()) {
        const size_t entryStart = reader.position();
        const uint32_t dataSize = reader.u32();
        const uint32_t headerSize = reader.u32();
        if (headerSize < 8 + 4 + 4 + 16 || headerSize > reader.size() - entryStart)
            reader.fail("entry at offset " + std::to_string(entryStart) + " has a bad header size " +
                        std::to_string(headerSize));
        if (dataSize > reader.size() - entryStart - headerSize)
            reader.fail("entry at offset " + std::to_string(entryStart) + " has data beyond the end (" +
                        std::to_string(dataSize) + " bytes)");
        ByteReader header(bytes.subspan(entryStart, headerSize), what);
        header.skip(8);
        ResourceId type = readIdField(header);
        ResourceId name = readIdField(header);
        header.align(4);
        header.skip(4); // data version
        header.skip(2); // memory flags
        const uint16_t language = header.u16();
        header.skip(8); // version, characteristics
        const std::span<const uint8_t> data = bytes.subspan(entryStart + headerSize, dataSize);
        // The next entry starts on a 4-byte boundary; the last entry's padding may be missing.
        const size_t dataEnd = entryStart + headerSize + dataSize;
        reader.seek(std::min(reader.size(), (dataEnd + 3) & ~static_cast<size_t>(3)));
        if (type.isNumber() && type.number() == 0) continue; // an empty entry, holds nothing
        for (const ResourceEntry& entry : result.entries_)
            if (entry.type == type && entry.name == name && entry.language == language)
                reader.fail("resource " + resourceTypeName(type) + " " + name.toString() + " language " +
                            std::to_string(language) + " appears twice");
        result.entries_.push_back(ResourceEntry{std::move(type), std::move(name), language, data});
    }
    result.image_ = std::move(owned);
    return result;
}

ModuleResources ModuleResources::fromElfImage(std::vector<uint8_t> image, const std::string& what) {
    ByteReader reader(image, what);
    if (!startsWith(image, {0x7F, 'E', 'L', 'F'})) reader.fail("not an ELF file");
    reader.seek(4);
    if (reader.u8() != 2) reader.fail("not a 64-bit ELF file");
    if (reader.u8() != 1) reader.fail("not a little-endian ELF file");
    reader.seek(0x28);
    const uint64_t sectionTable = reader.u64();
    reader.seek(0x3A);
    const uint16_t entrySize = reader.u16();
    uint64_t sectionCount = reader.u16();
    uint32_t namesIndex = reader.u16();
    if (sectionTable == 0) reader.fail("has no section headers");
    if (entrySize < 64) reader.fail("section header size " + std::to_string(entrySize) + " is too small");
    if (sectionTable > image.size()) reader.fail("section headers lie outside the file");

    auto sectionHeader = [&](uint64_t index) {
        reader.seek(static_cast<size_t>(sectionTable + index * entrySize));
        return static_cast<size_t>(sectionTable + index * entrySize);
    };
    // Counts past 0xFF00 live in the first section header (sh_size and sh_link).
    if (sectionCount == 0 || namesIndex == 0xFFFF) {
        if (image.size() - sectionTable < entrySize) reader.fail("section headers lie outside the file");
        const size_t first = sectionHeader(0);
        if (sectionCount == 0) {
            reader.seek(first + 32);
            sectionCount = reader.u64();
        }
        if (namesIndex == 0xFFFF) {
            reader.seek(first + 40);
            namesIndex = reader.u32();
        }
    }
    if (sectionCount > (image.size() - sectionTable) / entrySize)
        reader.fail("section headers lie outside the file");
    if (namesIndex >= sectionCount) reader.fail("section name table index is out of range");

    struct Section {
        uint32_t name;
        uint32_t type;
        uint64_t offset;
        uint64_t size;
    };
    auto section = [&](uint64_t index) {
        const size_t at = sectionHeader(index);
        Section s{};
        s.name = reader.u32();
        s.type = reader.u32();
        reader.seek(at + 24);
        s.offset = reader.u64();
        s.size = reader.u64();
        return s;
    };
    constexpr uint32_t kNoBits = 8;
    auto contents = [&](const Section& s, const char* role) {
        if (s.type == kNoBits || s.offset > image.size() || s.size > image.size() - s.offset)
            reader.fail(std::string(role) + " lies outside the file");
        return std::span<const uint8_t>(image).subspan(static_cast<size_t>(s.offset),
                                                       static_cast<size_t>(s.size));
    };
    const std::span<const uint8_t> names = contents(section(namesIndex), "the section name table");
    const std::string wanted = kResourceSectionName;
    for (uint64_t i = 0; i < sectionCount; ++i) {
        const Section s = section(i);
        if (s.name >= names.size()) continue;
        const std::span<const uint8_t> rest = names.subspan(s.name);
        const auto end = std::find(rest.begin(), rest.end(), uint8_t{0});
        if (end == rest.end()) reader.fail("section name table is not terminated");
        if (std::string(rest.begin(), end) != wanted) continue;
        const std::span<const uint8_t> resources = contents(s, "the resource section");
        return fromResImage(std::vector<uint8_t>(resources.begin(), resources.end()), what + " " + wanted);
    }
    reader.fail("has no " + wanted + " resource section");
}

ModuleResources ModuleResources::openFile(const std::string& path) {
    std::vector<uint8_t> bytes = readFile(path);
    if (startsWith(bytes, {0x7F, 'E', 'L', 'F'})) return fromElfImage(std::move(bytes), path);
    if (startsWith(bytes, kResSignature)) return fromResImage(std::move(bytes), path);
    if (startsWith(bytes, {'M', 'Z'})) {
#if defined(_WIN32)
        HMODULE module =
            LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (module == nullptr) throw ResourceError(path + ": cannot map the module: " + lastErrorText());
        ModuleResources result;
        result.module_ = std::shared_ptr<void>(module, [](void* m) { FreeLibrary(static_cast<HMODULE>(m)); });
        return result;
#else
        throw ResourceError(path + ": a Windows module; only the Windows build reads its resources");
#endif
    }
    throw ResourceError(path + ": not a module (no ELF, PE or .res signature)");
}

ModuleResources ModuleResources::fromLoadedModule(void* nativeHandle, const std::string& path) {
#if defined(_WIN32)
    if (nativeHandle == nullptr) throw ResourceError(path + ": the module is not loaded");
    ModuleResources result;
    result.module_ = std::shared_ptr<void>(nativeHandle, [](void*) {});
    return result;
#else
    (void)nativeHandle;
    return openFile(path);
#endif
}

std::vector<ResourceEntry> ModuleResources::list() const {
#if defined(_WIN32)
    if (module_) {
        std::vector<ResourceEntry> entries;
        LoaderListing listing{static_cast<HMODULE>(module_.get()), &entries};
        EnumResourceTypesA(listing.module, onType, reinterpret_cast<LONG_PTR>(&listing));
        return entries;
    }
#endif
    return entries_;
}

std::optional<std::span<const uint8_t>> ModuleResources::find(const ResourceId& type, const ResourceId& name,
                                                              uint16_t language) const {
#if defined(_WIN32)
    if (module_) return loaderFind(static_cast<HMODULE>(module_.get()), type, name, language);
#endif
    for (const ResourceEntry& entry : entries_)
        if (entry.type == type && entry.name == name && entry.language == language) return entry.data;
    return std::nullopt;
}

std::span<const uint8_t> ModuleResources::require(const ResourceId& type, const ResourceId& name,
                                                  uint16_t language) const {
    std::optional<std::span<const uint8_t>> data = find(type, name, language);
    if (!data)
        throw ResourceError("the module has no " + resourceTypeName(type) + " resource " + name.toString() +
                            " in language " + std::to_string(language));
    return *data;
}

} // namespace zz
