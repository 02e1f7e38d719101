// The memory blocks the host hands out through SP Blocks. Each block is tracked with its debug name and size,
// so a report can list what a plug-in still holds; a new block is filled with kFillByte, as debug allocators
// do, so that a field read before it is written stands out.
//
// With guards on (the validator turns them on; the normal host leaves them off), every block allocated from
// then on sits between two regions of kGuardBytes canary bytes. A write past either end of the block lands in
// them; the store looks at them when the block is freed and when checkGuards is asked, and keeps a note
// naming the block and the offsets written.
#ifndef ZZ_HOST_SUITES_BLOCK_STORE_H
#define ZZ_HOST_SUITES_BLOCK_STORE_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ZZTypes.h"

namespace zz {

class BlockStore {
  public:
    static constexpr unsigned char kFillByte = 0xCD;
    // Larger requests fail with kSPOutOfMemoryError instead of asking the system for them.
    static constexpr std::size_t kMaxBlockSize = std::size_t(1) << 30;
    static constexpr std::size_t kGuardBytes = 16;
    static constexpr unsigned char kGuardByte = 0xFD;

    struct BlockInfo {
        std::string name;
        std::size_t size = 0;
        void* address = nullptr;
    };

    // Allocates `size` bytes filled with kFillByte under `name` and stores the address in *block.
    // Returns 0, kSPBadParameterError (null block), kSPOutOfMemoryError (*block set to null).
    SPErr allocate(std::size_t size, std::string_view name, void** block);
    // Frees a live block. Returns 0, or kSPBadHandleError for anything that is not a live block of this
    // store.
    SPErr free(const void* block);

    // Guards around the blocks allocated from now on (blocks already live keep what they have).
    void setGuarded(bool on) { guarded_ = on; }
    // Looks at the guards of every live block and returns the notes of what it found written over since
    // the last look (a block's damage is noted once).
    std::vector<std::string> checkGuards();
    // Every note of a guard written over, in the order found.
    const std::vector<std::string>& guardDamage() const { return damage_; }

    bool contains(const void* block) const { return blocks_.count(block) != 0; }
    // The live block allocated first under `name`, or null.
    const BlockInfo* find(std::string_view name) const;
    // The live blocks in allocation order.
    std::vector<BlockInfo> live() const;

  private:
    struct Block {
        BlockInfo info;
        std::uint64_t serial = 0;
        std::unique_ptr<unsigned char[]> bytes;
        std::size_t guard = 0; // canary bytes before and after the block (0: none)
        bool damageNoted = false;
    };
    // Notes the damage of the block's guards, if any and not noted yet; `when` says when it was found.
    void noteDamage(Block& block, const char* when);

    std::map<const void*, Block> blocks_;
    std::uint64_t nextSerial_ = 0;
    bool guarded_ = false;
    std::vector<std::string> damage_;
};

} // namespace zz

#endif
