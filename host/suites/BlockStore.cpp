#include "host/suites/BlockStore.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

namespace zz {

SPErr BlockStore::allocate(std::size_t size, std::string_view name, void** block) {
    if (block == nullptr) return kSPBadParameterError;
    *block = nullptr;
    if (size > kMaxBlockSize) return kSPOutOfMemoryError;
    // A zero-size request still gets an address of its own, distinct from every other block.
    const std::size_t held = std::max<std::size_t>(size, 1);
    const std::size_t guard = guarded_ ? kGuardBytes : 0;
    std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[held + 2 * guard]);
    if (!bytes) return kSPOutOfMemoryError;
    std::memset(bytes.get(), kGuardByte, guard);
    std::memset(bytes.get() + guard, kFillByte, held);
    std::memset(bytes.get() + guard + size, kGuardByte, held - size + guard);
    void* address = bytes.get() + guard;
    Block entry{BlockInfo{std::string(name), size, address}, nextSerial_++, std::move(bytes), guard};
    blocks_.emplace(address, std::move(entry));
    *block = address;
    return kSPNoError;
}

SPErr BlockStore::free(const void* block) {
    const auto found = blocks_.find(block);
    if (found == blocks_.end()) return kSPBadHandleError;
    noteDamage(found->second, "when the block was freed");
    blocks_.erase(found);
    return kSPNoError;
}

std::vector<std::string> BlockStore::checkGuards() {
    const std::size_t before = damage_.size();
    for (auto& [address, block] : blocks_)
        noteDamage(block, "while the block was held");
    return std::vector<std::string>(damage_.begin() + static_cast<std::ptrdiff_t>(before), damage_.end());
}

void BlockStore::noteDamage(Block& block, const char* when) {
    if (block.guard == 0 || block.damageNoted) return;
    // Offsets are counted from the block's first byte: negative before it, from its size on past its end.
    const std::ptrdiff_t size = static_cast<std::ptrdiff_t>(block.info.size);
    const std::ptrdiff_t guard = static_cast<std::ptrdiff_t>(block.guard);
    const std::ptrdiff_t tail = std::max<std::ptrdiff_t>(size, 1) - size + guard;
    std::optional<std::ptrdiff_t> first, last;
    const auto look = [&](std::ptrdiff_t from, std::ptrdiff_t count) {
        for (std::ptrdiff_t offset = from; offset < from + count; ++offset)
            if (block.bytes[static_cast<std::size_t>(offset + guard)] != kGuardByte) {
                if (!first) first = offset;
                last = offset;
            }
    };
    look(-guard, guard);
    look(size, tail);
    if (!first) return;
    block.damageNoted = true;
    const char* where = *last < 0 ? "before its start" : *first >= 0 ? "past its end" : "on both sides";
    damage_.push_back("block \"" + block.info.name + "\" (" + std::to_string(block.info.size) +
                      " bytes) was written " + where + ", at offset " + std::to_string(*first) +
                      (*last != *first ? " to " + std::to_string(*last) : "") + " (found " + when + ")");
}

const BlockStore::BlockInfo* BlockStore::find(std::string_view name) const {
    const Block* first = nullptr;
    for (const auto& [address, block] : blocks_)
        if (block.info.name == name && (first == nullptr || block.serial < first->serial)) first = &block;
    return first ? &first->info : nullptr;
}

std::vector<BlockStore::BlockInfo> BlockStore::live() const {
    std::vector<const Block*> ordered;
    for (const auto& [address, block] : blocks_)
        ordered.push_back(&block);
    std::sort(ordered.begin(), ordered.end(),
              [](const Block* a, const Block* b) { return a->serial < b->serial; });
    std::vector<BlockInfo> list;
    for (const Block* block : ordered)
        list.push_back(block->info);
    return list;
}

} // namespace zz
