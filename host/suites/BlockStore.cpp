#include "host/suites/BlockStore.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zz {

SPErr BlockStore::allocate(std::size_t size, std::string_view name, void** block) {
    if (block == nullptr) return kSPBadParameterError;
    *block = nullptr;
    if (size > kMaxBlockSize) return kSPOutOfMemoryError;
    // A zero-size request still gets an address of its own, distinct from every other block.
    std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[std::max<std::size_t>(size, 1)]);
    if (!bytes) return kSPOutOfMemoryError;
    std::memset(bytes.get(), kFillByte, std::max<std::size_t>(size, 1));
    void* address = bytes.get();
    Block entry{BlockInfo{std::string(name), size, address}, nextSerial_++, std::move(bytes)};
    blocks_.emplace(address, std::move(entry));
    *block = address;
    return kSPNoError;
}

SPErr BlockStore::free(const void* block) {
    const auto found = blocks_.find(block);
    if (found == blocks_.end()) return kSPBadHandleError;
    blocks_.erase(found);
    return kSPNoError;
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
