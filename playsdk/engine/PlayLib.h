// Process-wide state of the library: the decode policy, what the machine allows and the
// resources-shortage back-off shared by every instance.
#pragma once

#include <atomic>
#include <cstdint>

namespace kvplay {

struct PlayLib {
    std::atomic<int32_t> decodePolicy{0};
    std::atomic<bool> disableDirectDraw{false};
    std::atomic<int32_t> startedCount{0};
    // While nonzero every instance drops its input; cleared by KVPlayClearFlag(1) or when the last
    // started instance stops.
    std::atomic<int32_t> shortageCounter{0};
    std::atomic<int32_t> shortageNotified{0};
};

PlayLib& playLib();

void initPlayLib(int32_t decodePolicy);
void deinitPlayLib();

void countShortage();
// True for the one caller that should send message 21 since the last clear.
bool claimShortageNotice();
// Clears the counter when bit 0 is set and re-arms the notice; returns whether it had been sent.
int32_t clearShortageFlags(uint32_t flags);

void instanceStarted();
void instanceStopped();

// The processor check: a brand string naming this model disables the surface renderer.
bool brandDisablesDirectDraw(const char* brand);

}  // namespace kvplay
