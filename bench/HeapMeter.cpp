// Heap accounting for the benchmarks: this program's global operator new and delete count the bytes held now
// and the most held at once.
#include "bench/HeapMeter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> gHeldBytes{0};
std::atomic<int64_t> gPeakBytes{0};

// Each block carries its size in front, kept a whole alignment unit so the block stays aligned.
constexpr size_t kHeader = alignof(std::max_align_t);

void* allocate(size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    const int64_t held = gHeldBytes.fetch_add(static_cast<int64_t>(size)) + static_cast<int64_t>(size);
    int64_t peak = gPeakBytes.load();
    while (held > peak && !gPeakBytes.compare_exchange_weak(peak, held)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void release(void* pointer) {
    if (pointer == nullptr) return;
    void* block = static_cast<char*>(pointer) - kHeader;
    gHeldBytes.fetch_sub(static_cast<int64_t>(*static_cast<size_t*>(block)));
    std::free(block);
}

} // namespace

void* operator new(size_t size) {
    return allocate(size);
}
void* operator new[](size_t size) {
    return allocate(size);
}
void operator delete(void* pointer) noexcept {
    release(pointer);
}
void operator delete[](void* pointer) noexcept {
    release(pointer);
}
void operator delete(void* pointer, size_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, size_t) noexcept {
    release(pointer);
}

namespace bench {

PeakMeter::PeakMeter() : base_(gHeldBytes.load()) {
    gPeakBytes.store(base_);
}

int64_t PeakMeter::extra() const {
    return gPeakBytes.load() - base_;
}

} // namespace bench
