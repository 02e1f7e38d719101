#include "host/resources/ModuleResources.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Appends `id` to a lookup key: a tag, then the number's two bytes or the name's length and its characters in
// ASCII capitals, so that two ids give the same bytes exactly when they compare equal.
void appendKeyPart(std::string& key, const ResourceId& id) {
    auto appendU32 = [&](uint32_t value) {
        for (int i = 0; i < 4; ++i)
            key.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    if (id.isNumber()) {
        key.push_back('#');
        key.push_back(static_cast<char>(id.number() & 0xFF));
        key.push_back(static_cast<char>(id.number() >> 8));
        return;
    }
    key.push_back('"');
    appendU32(static_cast<uint32_t>(id.name().size()));
    for (char c : id.name())
        key.push_back(asciiUpper(c));
}

std::string resourceKey(const ResourceId& type, const ResourceId& name, uint16_t language) {
    std::string key;
    appendKeyPart(key, type);
    appendKeyPart(key, name);
    key.push_back(static_cast<char>(language & 0xFF));
    key.push_back(static_cast<char>(language >> 8));
    return key;
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

constexpr std::initializer_list<uint8_t> kElfSignature = {0x7F, 'E', 'L', 'F'};

// The 32-byte entry every .res image starts with: no data, header size 32, type 0, name 0.
constexpr std::initializer_list<uint8_t> kResSignature = {0,    0,    0, 0, 0x20, 0,    0, 0,
                                                          0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};

#if defined(_WIN32)

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

// The memory a module's mapping spans from its base: the readable pages the memory manager reports there, cut
// to the image size its PE headers give. The resource directory is read inside this memory only, whatever
// its addresses claim. Handles of modules mapped as data files carry flags in their two low bits.
std::span<const uint8_t> mappedImage(HMODULE module) {
    const auto* base = reinterpret_cast<const uint8_t*>(reinterpret_cast<uintptr_t>(module) & ~uintptr_t{3});
    size_t mapped = 0;
    MEMORY_BASIC_INFORMATION region{};
    while (VirtualQuery(base + mapped, &region, sizeof region) == sizeof region &&
           region.AllocationBase == base && region.State == MEM_COMMIT &&
           (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) == 0 && region.RegionSize > 0)
        mapped += region.RegionSize;
    auto u32At = [&](size_t offset) {
        uint32_t value = 0;
        std::memcpy(&value, base + offset, sizeof value);
        return value;
    };
    // e_lfanew at 0x3C; SizeOfImage 56 bytes into the optional header, which follows the 4-byte signature
    // and the 20-byte file header.
    constexpr size_t kSizeOfImageField = 4 + 20 + 56;
    if (mapped >= 0x40) {
        const uint32_t headers = u32At(0x3C);
        if (headers < mapped && mapped - headers >= kSizeOfImageField + 4)
            mapped = std::min<size_t>(mapped, u32At(headers + kSizeOfImageField));
    }
    return std::span<const uint8_t>(base, mapped);
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
        if (!result.addEntry(type, name, language, data))
            reader.fail("resource " + resourceTypeName(type) + " " + name.toString() + " language " +
                        std::to_string(language) + " appears twice");
    }
    result.image_ = std::move(owned);
    return result;
}

namespace {

// Where the section headers of an ELF image lie, how many there are, and which holds the section names.
struct ElfSectionTable {
    uint64_t offset;
    uint16_t entrySize;
    uint64_t count;
    uint32_t namesIndex;

    size_t headerAt(uint64_t index) const { return static_cast<size_t>(offset + index * entrySize); }
};

// Reads the section table of a 64-bit little-endian ELF image, checked to lie inside it.
ElfSectionTable readElfSectionTable(std::span<const uint8_t> image, ByteReader& reader) {
    if (image.size() < 4 || !std::equal(image.begin(), image.begin() + 4, kElfSignature.begin()))
        reader.fail("not an ELF file");
    reader.seek(4);
    if (reader.u8() != 2) reader.fail("not a 64-bit ELF file");
    if (reader.u8() != 1) reader.fail("not a little-endian ELF file");
    ElfSectionTable table{};
    reader.seek(0x28);
    table.offset = reader.u64();
    reader.seek(0x3A);
    table.entrySize = reader.u16();
    table.count = reader.u16();
    table.namesIndex = reader.u16();
    if (table.offset == 0) reader.fail("has no section headers");
    if (table.entrySize < 64)
        reader.fail("section header size " + std::to_string(table.entrySize) + " is too small");
    if (table.offset > image.size()) reader.fail("section headers lie outside the file");

    // Counts past 0xFF00 live in the first section header (sh_size and sh_link).
    if (table.count == 0 || table.namesIndex == 0xFFFF) {
        if (image.size() - table.offset < table.entrySize)
            reader.fail("section headers lie outside the file");
        const size_t first = table.headerAt(0);
        if (table.count == 0) {
            reader.seek(first + 32);
            table.count = reader.u64();
        }
        if (table.namesIndex == 0xFFFF) {
            reader.seek(first + 40);
            table.namesIndex = reader.u32();
        }
    }
    if (table.count > (image.size() - table.offset) / table.entrySize)
        reader.fail("section headers lie outside the file");
    if (table.namesIndex >= table.count) reader.fail("section name table index is out of range");
    return table;
}

struct ElfSection {
    uint32_t name;
    uint32_t type;
    uint64_t offset;
    uint64_t size;
};

ElfSection readElfSection(ByteReader& reader, const ElfSectionTable& table, uint64_t index) {
    const size_t at = table.headerAt(index);
    reader.seek(at);
    ElfSection s{};
    s.name = reader.u32();
    s.type = reader.u32();
    reader.seek(at + 24);
    s.offset = reader.u64();
    s.size = reader.u64();
    return s;
}

// The bytes of section `s`, which must lie in the file.
std::span<const uint8_t> elfSectionContents(std::span<const uint8_t> image, ByteReader& reader,
                                            const ElfSection& s, const char* role) {
    constexpr uint32_t kNoBits = 8;
    if (s.type == kNoBits || s.offset > image.size() || s.size > image.size() - s.offset)
        reader.fail(std::string(role) + " lies outside the file");
    return image.subspan(static_cast<size_t>(s.offset), static_cast<size_t>(s.size));
}

// The contents of the section named `wanted` of a 64-bit little-endian ELF image, or nothing when it has no
// such section.
std::optional<std::span<const uint8_t>> elfSection(std::span<const uint8_t> image, const std::string& what,
                                                   const std::string& wanted) {
    ByteReader reader(image, what);
    const ElfSectionTable table = readElfSectionTable(image, reader);
    const std::span<const uint8_t> names = elfSectionContents(
        image, reader, readElfSection(reader, table, table.namesIndex), "the section name table");
    for (uint64_t i = 0; i < table.count; ++i) {
        const ElfSection s = readElfSection(reader, table, i);
        if (s.name >= names.size()) continue;
        const std::span<const uint8_t> rest = names.subspan(s.name);
        const auto end = std::find(rest.begin(), rest.end(), uint8_t{0});
        if (end == rest.end()) reader.fail("section name table is not terminated");
        if (std::string(rest.begin(), end) != wanted) continue;
        return elfSectionContents(image, reader, s, "the resource section");
    }
    return std::nullopt;
}

} // namespace

ModuleResources ModuleResources::fromElfImage(std::vector<uint8_t> image, const std::string& what) {
    const std::string wanted = kResourceSectionName;
    const std::optional<std::span<const uint8_t>> resources = elfSection(image, what, wanted);
    if (!resources) throw ResourceError(what + ": has no " + wanted + " resource section");
    return fromResImage(std::vector<uint8_t>(resources->begin(), resources->end()), what + " " + wanted);
}

namespace {

// What the headers of a PE image say about its resources: the section table and the address of the resource
// directory (0 when the module has none).
struct PeHeaders {
    size_t sectionTable = 0;
    uint16_t sectionCount = 0;
    uint32_t resourceAddress = 0;
};

// The headers of a PE image, read alike from its file and from its mapping (both begin with them).
PeHeaders readPeHeaders(std::span<const uint8_t> bytes, const std::string& what) {
    ByteReader reader(bytes, what);
    if (bytes.size() < 2 || bytes[0] != 'M' || bytes[1] != 'Z') reader.fail("not a PE module");
    reader.seek(0x3C);
    reader.seek(reader.u32());
    if (reader.u32() != 0x00004550) reader.fail("has no PE signature"); // "PE\0\0"
    reader.skip(2);                                                     // machine
    PeHeaders headers;
    headers.sectionCount = reader.u16();
    reader.skip(12); // time stamp, symbol table
    const uint16_t optionalSize = reader.u16();
    reader.skip(2); // characteristics
    const size_t optional = reader.position();
    headers.sectionTable = optional + optionalSize;
    const uint16_t magic = reader.u16();
    // The data directories follow the fixed part of the optional header, whose last field counts them.
    size_t directories = 0;
    if (magic == 0x10B)
        directories = 96;
    else if (magic == 0x20B)
        directories = 112;
    else
        reader.fail("optional header magic " + std::to_string(magic) + " is neither PE32 nor PE32+");
    constexpr uint32_t kResourceDirectory = 2;
    if (optionalSize < directories + (kResourceDirectory + 1) * 8) return headers;
    reader.seek(optional + directories - 4);
    if (reader.u32() <= kResourceDirectory) return headers;
    reader.seek(optional + directories + kResourceDirectory * 8);
    headers.resourceAddress = reader.u32();
    return headers;
}

using ResourceVisitor = std::function<void(const ResourceId& type, const ResourceId& name, uint16_t language,
                                           uint32_t dataAddress, uint32_t size)>;

// Walks the three levels of a resource directory (type, name, language), which `directory` holds from its
// root to the end of what may be read, and hands each resource's data address and size to `visit`.
void walkResourceDirectory(std::span<const uint8_t> directory, const std::string& what,
                           const ResourceVisitor& visit) {
    ByteReader tree(directory, what + " resource directory");
    // Every table entry takes eight bytes; subdirectories shared between entries cannot make more entries
    // than the directory has room for.
    size_t budget = directory.size() / 8;
    struct TableEntry {
        uint32_t id, target;
    };
    auto table = [&](uint32_t offset) {
        tree.seek(offset);
        tree.skip(12); // characteristics, time stamp, version
        const uint32_t named = tree.u16();
        const uint32_t count = named + tree.u16();
        if (count > budget) tree.fail("has more entries than it has room for");
        budget -= count;
        std::vector<TableEntry> entries(count);
        for (TableEntry& entry : entries) {
            entry.id = tree.u32();
            entry.target = tree.u32();
        }
        return entries;
    };
    constexpr uint32_t kHighBit = 0x80000000u;
    auto idOf = [&](uint32_t field) {
        if ((field & kHighBit) == 0) {
            if (field > 0xFFFF) tree.fail("resource number " + std::to_string(field) + " is out of range");
            return ResourceId(static_cast<uint16_t>(field));
        }
        tree.seek(field & ~kHighBit);
        std::u16string name(tree.u16(), u'\0');
        for (char16_t& unit : name)
            unit = static_cast<char16_t>(tree.u16());
        if (name.empty())
            tree.fail("empty resource type or name at offset " + std::to_string(field & ~kHighBit));
        return ResourceId(utf16ToUtf8(name));
    };
    auto subtable = [&](const TableEntry& entry, const char* level) {
        if ((entry.target & kHighBit) == 0) tree.fail(std::string(level) + " entry holds no table");
        return table(entry.target & ~kHighBit);
    };
    for (const TableEntry& typeEntry : table(0)) {
        const ResourceId type = idOf(typeEntry.id);
        for (const TableEntry& nameEntry : subtable(typeEntry, "type")) {
            const ResourceId name = idOf(nameEntry.id);
            for (const TableEntry& languageEntry : subtable(nameEntry, "name")) {
                if ((languageEntry.target & kHighBit) != 0 || languageEntry.id > 0xFFFF)
                    tree.fail("bad language entry of " + resourceTypeName(type) + " " + name.toString());
                tree.seek(languageEntry.target);
                const uint32_t dataAddress = tree.u32();
                const uint32_t size = tree.u32();
                visit(type, name, static_cast<uint16_t>(languageEntry.id), dataAddress, size);
            }
        }
    }
}

} // namespace

namespace {

// Where a section of a PE file lies in memory and in the file.
struct PeSection {
    uint32_t address, rawSize, rawOffset;
};

std::vector<PeSection> readPeSections(ByteReader& reader, const PeHeaders& headers) {
    std::vector<PeSection> sections;
    reader.seek(headers.sectionTable);
    for (uint16_t i = 0; i < headers.sectionCount; ++i) {
        reader.skip(8 + 4); // name, size in memory
        PeSection section{};
        section.address = reader.u32();
        section.rawSize = reader.u32();
        section.rawOffset = reader.u32();
        reader.skip(16);
        sections.push_back(section);
    }
    return sections;
}

// The file bytes from address `rva` to the end of the section data in the file that holds it.
std::span<const uint8_t> bytesAtAddress(std::span<const uint8_t> bytes,
                                        const std::vector<PeSection>& sections, ByteReader& reader,
                                        uint32_t rva, const std::string& role) {
    for (const PeSection& section : sections) {
        if (rva < section.address || rva - section.address >= section.rawSize) continue;
        const uint64_t offset = static_cast<uint64_t>(section.rawOffset) + (rva - section.address);
        const uint64_t end = static_cast<uint64_t>(section.rawOffset) + section.rawSize;
        if (end > bytes.size()) reader.fail(role + " lies in a section that ends beyond the file");
        return bytes.subspan(static_cast<size_t>(offset), static_cast<size_t>(end - offset));
    }
    reader.fail(role + " at address " + std::to_string(rva) + " lies outside the module's sections");
}

} // namespace

ModuleResources ModuleResources::fromPeImage(std::vector<uint8_t> image, const std::string& what) {
    ModuleResources result;
    auto owned = std::make_shared<const std::vector<uint8_t>>(std::move(image));
    const std::span<const uint8_t> bytes(*owned);
    result.image_ = owned;
    const PeHeaders headers = readPeHeaders(bytes, what);
    if (headers.resourceAddress == 0) return result; // no resources

    ByteReader reader(bytes, what);
    const std::vector<PeSection> sections = readPeSections(reader, headers);
    walkResourceDirectory(
        bytesAtAddress(bytes, sections, reader, headers.resourceAddress, "the resource directory"), what,
        [&](const ResourceId& type, const ResourceId& name, uint16_t language, uint32_t dataAddress,
            uint32_t size) {
            const std::string role = "resource " + resourceTypeName(type) + " " + name.toString() +
                                     " language " + std::to_string(language);
            const std::span<const uint8_t> data = bytesAtAddress(bytes, sections, reader, dataAddress, role);
            if (size > data.size())
                reader.fail(role + " (" + std::to_string(size) + " bytes) runs beyond its section");
            // The system loader finds the first of entries that compare equal; so does find().
            result.addEntry(type, name, language, data.first(size));
        });
    return result;
}

ModuleResources ModuleResources::fromMappedImage(std::span<const uint8_t> image, const std::string& what) {
    ModuleResources result;
    const PeHeaders headers = readPeHeaders(image, what);
    if (headers.resourceAddress == 0) return result; // no resources
    // Mapped, the module lies at the addresses its headers give: an address is an offset into the image.
    if (headers.resourceAddress >= image.size())
        throw ResourceError(what + ": the resource directory at address " +
                            std::to_string(headers.resourceAddress) + " lies outside the module image (" +
                            std::to_string(image.size()) + " bytes)");
    walkResourceDirectory(
        image.subspan(headers.resourceAddress), what,
        [&](const ResourceId& type, const ResourceId& name, uint16_t language, uint32_t dataAddress,
            uint32_t size) {
            // A resource whose data lies outside the image is an error when it is read, as the system
            // loader's functions would fail it; the module's other resources stay readable.
            const bool inside = dataAddress <= image.size() && size <= image.size() - dataAddress;
            const std::span<const uint8_t> data =
                inside ? image.subspan(dataAddress, size) : std::span<const uint8_t>();
            if (!result.addEntry(type, name, language, data) || inside) return;
            result.unreadable_.emplace(result.entries_.size() - 1,
                                       "the module's " + resourceTypeName(type) + " resource " +
                                           name.toString() + " in language " + std::to_string(language) +
                                           " (" + std::to_string(size) + " bytes at address " +
                                           std::to_string(dataAddress) + ") lies outside the module image");
        });
    return result;
}

ModuleResources ModuleResources::openFile(const std::string& path) {
    std::vector<uint8_t> bytes = readFile(path);
    if (startsWith(bytes, kElfSignature)) return fromElfImage(std::move(bytes), path);
    if (startsWith(bytes, kResSignature)) return fromResImage(std::move(bytes), path);
    if (startsWith(bytes, {'M', 'Z'})) {
#if defined(_WIN32)
        HMODULE module =
            LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (module == nullptr) throw ResourceError(path + ": cannot map the module: " + lastErrorText());
        std::shared_ptr<void> mapping(module, [](void* m) { FreeLibrary(static_cast<HMODULE>(m)); });
        ModuleResources result = fromMappedImage(mappedImage(module), path);
        result.module_ = std::move(mapping);
        return result;
#else
        throw ResourceError(path + ": a Windows module; only the Windows build reads its resources");
#endif
    }
    throw ResourceError(path + ": not a module (no ELF, PE or .res signature)");
}

ModuleResources ModuleResources::readModuleFile(const std::string& path) {
    std::vector<uint8_t> bytes = readFile(path);
    if (startsWith(bytes, kElfSignature)) {
        const std::optional<std::span<const uint8_t>> resources =
            elfSection(bytes, path, kResourceSectionName);
        if (!resources) return ModuleResources();
        return fromResImage(std::vector<uint8_t>(resources->begin(), resources->end()),
                            path + " " + kResourceSectionName);
    }
    if (startsWith(bytes, {'M', 'Z'})) return fromPeImage(std::move(bytes), path);
    throw ResourceError(path + ": not a module (no ELF or PE signature)");
}

ModuleResources ModuleResources::fromLoadedModule(void* nativeHandle, const std::string& path) {
#if defined(_WIN32)
    if (nativeHandle == nullptr) throw ResourceError(path + ": the module is not loaded");
    return fromMappedImage(mappedImage(static_cast<HMODULE>(nativeHandle)), path);
#else
    (void)nativeHandle;
    return openFile(path);
#endif
}

std::vector<ResourceEntry> ModuleResources::list() const {
    if (!unreadable_.empty()) throw ResourceError(unreadable_.begin()->second);
    return entries_;
}

bool ModuleResources::addEntry(const ResourceId& type, const ResourceId& name, uint16_t language,
                               std::span<const uint8_t> data) {
    if (!index_.emplace(resourceKey(type, name, language), entries_.size()).second) return false;
    entries_.push_back(ResourceEntry{type, name, language, data});
    return true;
}

std::optional<std::span<const uint8_t>> ModuleResources::find(const ResourceId& type, const ResourceId& name,
                                                              uint16_t language) const {
    const auto found = index_.find(resourceKey(type, name, language));
    if (found == index_.end()) return std::nullopt;
    if (const auto unreadable = unreadable_.find(found->second); unreadable != unreadable_.end())
        throw ResourceError(unreadable->second);
    return entries_[found->second].data;
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
