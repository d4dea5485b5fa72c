// Counts the reader's reads through its I/O shim: every pread of the store passes through here.
#pragma once

#include <cstdint>

namespace storebench {

struct IoCount {
    uint64_t bytes = 0;
    uint64_t calls = 0;
};

inline IoCount operator-(IoCount a, IoCount b) {
    return {a.bytes - b.bytes, a.calls - b.calls};
}
inline IoCount& operator+=(IoCount& a, IoCount b) {
    a.bytes += b.bytes;
    a.calls += b.calls;
    return a;
}

void installIoCounter();
// Reads since the counter was installed.
IoCount ioCount();

}  // namespace storebench
