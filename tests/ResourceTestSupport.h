// Shared by the resource tests: small builders of .res and ELF images (the module's path is in
// TestSupport.h).
#ifndef ZZ_TESTS_RESOURCE_TEST_SUPPORT_H
#define ZZ_TESTS_RESOURCE_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "host/resources/ModuleResources.h"
#include "tests/TestSupport.h"

namespace zz::test {

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

} // namespace zz::test

#endif
