// Shared by the resource tests: small builders of .res, ELF and PE images (the module's path is in
// TestSupport.h).
#ifndef ZZ_TESTS_RESOURCE_TEST_SUPPORT_H
#define ZZ_TESTS_RESOURCE_TEST_SUPPORT_H

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"
#include "tests/TestSupport.h"

namespace zz::test {

// Runs `action` and returns the ResourceError message it raised, or "(no error)".
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ResourceError& error) {
        return error.what();
    }
    return "(no error)";
}

#define EXPECT_RESOURCE_ERROR(action, fragment)                                                              \
    do {                                                                                                     \
        const std::string message = ::zz::test::errorOf([&] { action; });                                    \
        EXPECT_NE(message, "(no error)");                                                                    \
        EXPECT_NE(message.find(fragment), std::string::npos) << message;                                     \
    } while (0)

inline void putU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}
inline void putU32(std::vector<uint8_t>& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}
inline void putU64(std::vector<uint8_t>& out, uint64_t value) {
    putU32(out, static_cast<uint32_t>(value));
    putU32(out, static_cast<uint32_t>(value >> 32));
}
// An ASCII string as zero-terminated UTF-16.
inline void putUtf16z(std::vector<uint8_t>& out, const std::string& text) {
    for (char c : text)
        putU16(out, static_cast<uint8_t>(c));
    putU16(out, 0);
}
inline void padTo4(std::vector<uint8_t>& out) {
    while (out.size() % 4 != 0)
        out.push_back(0);
}

// A .res image built entry by entry, as a resource compiler writes it.
struct ResImage {
    std::vector<uint8_t> bytes = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0,
                                  0, 0, 0, 0, 0,    0, 0, 0, 0,    0,    0, 0, 0,    0,    0, 0};

    ResImage& add(const ResourceId& type, const ResourceId& name, uint16_t language,
                  const std::vector<uint8_t>& data) {
        std::vector<uint8_t> header;
        auto putId = [&](const ResourceId& id) {
            if (id.isNumber()) {
                putU16(header, 0xFFFF);
                putU16(header, id.number());
            } else {
                putUtf16z(header, id.name());
            }
        };
        putId(type);
        putId(name);
        while ((header.size() + 8) % 4 != 0)
            header.push_back(0);
        putU32(header, 0);      // data version
        putU16(header, 0x1030); // memory flags
        putU16(header, language);
        putU32(header, 0);
        putU32(header, 0);
        putU32(bytes, static_cast<uint32_t>(data.size()));
        putU32(bytes, static_cast<uint32_t>(header.size() + 8));
        bytes.insert(bytes.end(), header.begin(), header.end());
        bytes.insert(bytes.end(), data.begin(), data.end());
        padTo4(bytes);
        return *this;
    }
};

// Offsets of the fields of the ELF images that elfImage builds, for tests that corrupt them.
constexpr size_t kElfSectionTableField = 0x28;
constexpr size_t kElfSectionCountField = 0x3C;
constexpr size_t kElfNamesIndexField = 0x3E;

// A 64-bit little-endian ELF image with a null section, a section name table and one section named
// `sectionName` holding `contents` (section headers last).
inline std::vector<uint8_t> elfImage(const std::string& sectionName, const std::vector<uint8_t>& contents) {
    std::vector<uint8_t> names = {0};
    const uint32_t namesName = static_cast<uint32_t>(names.size());
    for (char c : std::string(".shstrtab"))
        names.push_back(static_cast<uint8_t>(c));
    names.push_back(0);
    const uint32_t sectionNameAt = static_cast<uint32_t>(names.size());
    for (char c : sectionName)
        names.push_back(static_cast<uint8_t>(c));
    names.push_back(0);

    std::vector<uint8_t> out = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0};
    out.resize(64, 0);
    const uint64_t namesOffset = out.size();
    out.insert(out.end(), names.begin(), names.end());
    padTo4(out);
    const uint64_t contentsOffset = out.size();
    out.insert(out.end(), contents.begin(), contents.end());
    while (out.size() % 8 != 0)
        out.push_back(0);
    const uint64_t table = out.size();
    auto sectionHeader = [&](uint32_t name, uint32_t type, uint64_t offset, uint64_t size) {
        putU32(out, name);
        putU32(out, type);
        putU64(out, 0); // flags
        putU64(out, 0); // address
        putU64(out, offset);
        putU64(out, size);
        putU32(out, 0); // link
        putU32(out, 0); // info
        putU64(out, 1); // alignment
        putU64(out, 0); // entry size
    };
    sectionHeader(0, 0, 0, 0);
    sectionHeader(namesName, 3, namesOffset, names.size());
    sectionHeader(sectionNameAt, 1, contentsOffset, contents.size());
    auto setField = [&](size_t at, uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    };
    setField(kElfSectionTableField, table, 8);
    setField(0x3A, 64, 2); // section header size
    setField(kElfSectionCountField, 3, 2);
    setField(kElfNamesIndexField, 1, 2);
    return out;
}

// A plug-in property list claiming `count` properties and holding `properties` (key and value; vendor 'ADBE',
// id 0).
inline std::vector<uint8_t>
propertyList(uint32_t count, const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& properties) {
    std::vector<uint8_t> out;
    putU16(out, 1);
    putU32(out, 0);
    putU32(out, count);
    for (const auto& [key, value] : properties) {
        putU32(out, fourCharCode("ADBE"));
        putU32(out, key);
        putU32(out, 0);
        putU32(out, static_cast<uint32_t>(value.size()));
        out.insert(out.end(), value.begin(), value.end());
        while (out.size() % 4 != 2) // values are padded to four bytes after the 10-byte head
            out.push_back(0);
    }
    return out;
}

struct PeResource {
    ResourceId type;
    ResourceId name;
    uint16_t language;
    std::vector<uint8_t> data;
};

// Offsets of the fields of the PE images that peImage builds, for tests that corrupt them.
constexpr size_t kPeHeaders = 0x40;                   // "PE\0\0"
constexpr size_t kPeOptionalHeader = kPeHeaders + 24; // PE32
constexpr size_t kPeResourceDirectoryField = kPeOptionalHeader + 96 + 2 * 8;
constexpr size_t kPeSectionTable = kPeOptionalHeader + 224; // the one section, ".rsrc"
constexpr size_t kPeSectionData = 0x200;                    // its data in the file
constexpr uint32_t kPeSectionAddress = 0x1000;              // its address in the image

// A 32-bit PE image whose one section holds a resource directory of `resources` (three levels: type, name,
// language; tables in the order the resources first name them), then their names and data.
inline std::vector<uint8_t> peImage(const std::vector<PeResource>& resources) {
    struct Name {
        ResourceId id;
        std::vector<const PeResource*> languages;
    };
    struct Type {
        ResourceId id;
        std::vector<Name> names;
    };
    std::vector<Type> types;
    for (const PeResource& resource : resources) {
        auto type =
            std::find_if(types.begin(), types.end(), [&](const Type& t) { return t.id == resource.type; });
        if (type == types.end()) type = types.insert(types.end(), Type{resource.type, {}});
        auto name = std::find_if(type->names.begin(), type->names.end(),
                                 [&](const Name& n) { return n.id == resource.name; });
        if (name == type->names.end()) name = type->names.insert(type->names.end(), Name{resource.name, {}});
        name->languages.push_back(&resource);
    }

    std::vector<uint8_t> rsrc;
    auto set32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            rsrc[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    };
    std::vector<std::pair<size_t, std::string>> names;        // id fields that name a string
    std::vector<std::pair<size_t, const PeResource*>> blocks; // data entries
    auto table = [&](const std::vector<ResourceId>& ids) {
        const size_t at = rsrc.size();
        rsrc.resize(at + 16 + 8 * ids.size(), 0);
        uint16_t named = 0;
        for (size_t i = 0; i < ids.size(); ++i) {
            const size_t field = at + 16 + 8 * i;
            if (ids[i].isNumber()) {
                set32(field, ids[i].number());
            } else {
                ++named;
                names.emplace_back(field, ids[i].name());
            }
        }
        rsrc[at + 12] = static_cast<uint8_t>(named);
        rsrc[at + 14] = static_cast<uint8_t>(ids.size() - named);
        return at;
    };
    constexpr uint32_t kTable = 0x80000000u;
    std::vector<ResourceId> typeIds;
    for (const Type& type : types)
        typeIds.push_back(type.id);
    const size_t root = table(typeIds);
    for (size_t t = 0; t < types.size(); ++t) {
        std::vector<ResourceId> nameIds;
        for (const Name& name : types[t].names)
            nameIds.push_back(name.id);
        const size_t nameTable = table(nameIds);
        set32(root + 16 + 8 * t + 4, kTable | static_cast<uint32_t>(nameTable));
        for (size_t n = 0; n < types[t].names.size(); ++n) {
            std::vector<ResourceId> languageIds;
            for (const PeResource* resource : types[t].names[n].languages)
                languageIds.push_back(resource->language);
            const size_t languageTable = table(languageIds);
            set32(nameTable + 16 + 8 * n + 4, kTable | static_cast<uint32_t>(languageTable));
            for (size_t l = 0; l < languageIds.size(); ++l) {
                const size_t entry = rsrc.size();
                rsrc.resize(entry + 16, 0);
                set32(languageTable + 16 + 8 * l + 4, static_cast<uint32_t>(entry));
                blocks.emplace_back(entry, types[t].names[n].languages[l]);
            }
        }
    }
    for (const auto& [field, text] : names) {
        set32(field, kTable | static_cast<uint32_t>(rsrc.size()));
        putU16(rsrc, static_cast<uint32_t>(text.size()));
        for (char c : text)
            putU16(rsrc, static_cast<uint8_t>(c));
    }
    for (const auto& [entry, resource] : blocks) {
        padTo4(rsrc);
        set32(entry, kPeSectionAddress + static_cast<uint32_t>(rsrc.size()));
        set32(entry + 4, static_cast<uint32_t>(resource->data.size()));
        rsrc.insert(rsrc.end(), resource->data.begin(), resource->data.end());
    }
    const uint32_t rawSize = static_cast<uint32_t>((rsrc.size() + 0x1FF) & ~size_t{0x1FF});

    std::vector<uint8_t> out(kPeSectionData, 0);
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    };
    auto put16 = [&](size_t at, uint32_t value) {
        out[at] = static_cast<uint8_t>(value);
        out[at + 1] = static_cast<uint8_t>(value >> 8);
    };
    out[0] = 'M';
    out[1] = 'Z';
    put32(0x3C, kPeHeaders);
    put32(kPeHeaders, 0x00004550);
    put16(kPeHeaders + 4, 0x14C);   // i386
    put16(kPeHeaders + 6, 1);       // one section
    put16(kPeHeaders + 20, 224);    // optional header size
    put16(kPeHeaders + 22, 0x2102); // executable, 32-bit, DLL
    put16(kPeOptionalHeader, 0x10B);
    put32(kPeOptionalHeader + 56, kPeSectionAddress + rawSize); // size of image
    put32(kPeOptionalHeader + 60, kPeSectionData);              // size of the headers
    put32(kPeOptionalHeader + 92, 16);                          // data directories
    put32(kPeResourceDirectoryField, kPeSectionAddress);
    put32(kPeResourceDirectoryField + 4, static_cast<uint32_t>(rsrc.size()));
    for (size_t i = 0; i < 5; ++i)
        out[kPeSectionTable + i] = static_cast<uint8_t>(".rsrc"[i]);
    put32(kPeSectionTable + 8, static_cast<uint32_t>(rsrc.size()));
    put32(kPeSectionTable + 12, kPeSectionAddress);
    put32(kPeSectionTable + 16, rawSize);
    put32(kPeSectionTable + 20, kPeSectionData);
    out.resize(kPeSectionData + rawSize, 0);
    std::copy(rsrc.begin(), rsrc.end(), out.begin() + kPeSectionData);
    return out;
}

} // namespace zz::test

#endif
