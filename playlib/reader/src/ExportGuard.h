// The C interfaces' wrapper: no exception leaves a library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace kvrfs {

constexpr int32_t kExportFailed = -1;
constexpr int32_t kExportNoMemory = -12;

template <typename Call>
int32_t guarded(Call call) noexcept {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return kExportNoMemory;
    } catch (...) {
        return kExportFailed;
    }
}

// A negative length is no buffer at all; it fails the 4 KiB alignment check of the reads.
inline std::size_t bufferLength(int length) {
    return length < 0 ? 1 : static_cast<std::size_t>(length);
}

}  // namespace kvrfs
