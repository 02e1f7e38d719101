// Heap accounting for the benchmarks, and a stream that discards what it is given.
#ifndef ZZ_BENCH_HEAP_METER_H
#define ZZ_BENCH_HEAP_METER_H

#include <cstdint>
#include <streambuf>

namespace bench {

// Measures the most heap held at once beyond what is held when it starts, as counted by the benchmark
// program's global operator new and delete.
class PeakMeter {
  public:
    PeakMeter();
    int64_t extra() const;

  private:
    int64_t base_;
};

// A stream that discards what it is given, through a buffer as a file stream has one.
class NullBuffer : public std::streambuf {
  public:
    NullBuffer() { setp(buffer_, buffer_ + sizeof(buffer_)); }

  protected:
    int_type overflow(int_type c) override {
        setp(buffer_, buffer_ + sizeof(buffer_));
        return traits_type::not_eof(c);
    }

  private:
    char buffer_[4096];
};

} // namespace bench

#endif
