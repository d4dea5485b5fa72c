#include "HardwareDecoderSlots.h"

#include <mutex>

namespace kvplay {
namespace {

std::mutex slotLock;
int32_t limit = 2147483647;
int32_t open = 0;

}  // namespace

bool takeHardwareDecoderSlot() {
    std::lock_guard guard(slotLock);
    if (open >= limit)
        return false;
    ++open;
    return true;
}

void returnHardwareDecoderSlot() {
    std::lock_guard guard(slotLock);
    if (open > 0)
        --open;
}

int32_t hardwareDecodersOpen() {
    std::lock_guard guard(slotLock);
    return open;
}

void setHardwareDecoderLimit(int32_t n) {
    std::lock_guard guard(slotLock);
    limit = n < 0 ? 0 : n;
}

}  // namespace kvplay
