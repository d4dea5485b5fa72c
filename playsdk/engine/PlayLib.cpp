#include "PlayLib.h"

#include <cpuid.h>

#include <cstring>

#include "DecoderCapabilities.h"
#include "LogSink.h"

namespace kvplay {
namespace {

// The 48-character brand string of an Intel processor, or empty.
void readIntelBrand(char (&brand)[49]) {
    brand[0] = '\0';
    unsigned regs[4];
    if (!__get_cpuid(0, &regs[0], &regs[1], &regs[2], &regs[3]))
        return;
    char vendor[13];
    std::memcpy(vendor, &regs[1], 4);
    std::memcpy(vendor + 4, &regs[3], 4);
    std::memcpy(vendor + 8, &regs[2], 4);
    vendor[12] = '\0';
    if (std::strcmp(vendor, "GenuineIntel") != 0 || __get_cpuid_max(0x80000000, nullptr) < 0x80000004)
        return;
    for (unsigned leaf = 0; leaf < 3; ++leaf) {
        __get_cpuid(0x80000002 + leaf, &regs[0], &regs[1], &regs[2], &regs[3]);
        std::memcpy(brand + leaf * 16, regs, 16);
    }
    brand[48] = '\0';
}

}  // namespace

PlayLib& playLib() {
    static PlayLib lib;
    return lib;
}

bool brandDisablesDirectDraw(const char* brand) {
    return std::strstr(brand, "G5400") != nullptr;
}

void initPlayLib(int32_t decodePolicy) {
    playLib().decodePolicy = decodePolicy;
    char brand[49];
    readIntelBrand(brand);
    if (brandDisablesDirectDraw(brand)) {
        playLib().disableDirectDraw = true;
        logLine("===vane disable ddraw");
    }
    probeDecoderCapabilities();
}

void deinitPlayLib() {
    closeLogFile();
}

void countShortage() {
    playLib().shortageCounter.fetch_add(1);
}

bool claimShortageNotice() {
    int32_t expected = 0;
    return playLib().shortageNotified.compare_exchange_strong(expected, 1);
}

int32_t clearShortageFlags(uint32_t flags) {
    if (flags & 1)
        playLib().shortageCounter = 0;
    int32_t expected = 1;
    playLib().shortageNotified.compare_exchange_strong(expected, 0);
    return expected;
}

void instanceStarted() {
    playLib().startedCount.fetch_add(1);
}

void instanceStopped() {
    if (playLib().startedCount.fetch_sub(1) == 1) {
        playLib().shortageCounter = 0;
        playLib().shortageNotified = 0;
    }
}

}  // namespace kvplay
