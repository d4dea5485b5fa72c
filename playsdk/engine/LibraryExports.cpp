// The library-wide functions of the C interface.
#include <cstdio>
#include <cstring>

#include "HardwareDecoderSlots.h"
#include "InstanceRegistry.h"
#include "KVPlay.h"
#include "LogSink.h"
#include "PlayLib.h"

using namespace kvplay;

extern "C" {

KVPLAY_API int32_t KVPlayInitPlayLib(int32_t decodePolicy, int32_t, const char*) {
    initPlayLib(decodePolicy);
    return 0;
}

KVPLAY_API int32_t KVPlayDeinitPlayLib(void) {
    deinitPlayLib();
    return 0;
}

KVPLAY_API void KVPlayInitLog(const KVPlayLogConfig* config) {
    if (!config)
        return;
    char path[sizeof config->path + 1];
    std::memcpy(path, config->path, sizeof config->path);
    path[sizeof config->path] = '\0';
    openLogFile(path);
}

KVPLAY_API int32_t KVPlayGetSDKVesion(char* buffer) {
    if (!buffer)
        return -1;
    std::snprintf(buffer, 260, "%s", "1.UV_VERSION_MINOR.2.48");
    return 0;
}

KVPLAY_API int32_t KVPlayGetLastError(int32_t, int32_t) {
    return -1;
}

KVPLAY_API int32_t KVPlaySetMaxHardwareDecodeNumber(int32_t n) {
    setHardwareDecoderLimit(n);
    return n;
}

KVPLAY_API int32_t KVPlayClearFlag(uint32_t flags) {
    return clearShortageFlags(flags);
}

KVPLAY_API void* KVPlayCreatePlayInstance(int32_t type) {
    return createPlayInstance(type);
}

KVPLAY_API void* KVPlayCreatePlayInstanceEx(int32_t type, uint32_t) {
    return createPlayInstance(type);
}

KVPLAY_API int32_t KVPlayDestroyPlayInstance(void* handle) {
    if (handle)
        destroyPlayInstance(static_cast<CPlayInstance*>(handle));
    return 0;
}

// Fisheye dewarping comes with its renderer; until then no mode has channels.
KVPLAY_API int32_t KVPlayFishGetChnNums(int32_t) {
    return -1;
}

// Local file information comes with the file readers.
KVPLAY_API int32_t KVPlayGetFileInfo(void*) {
    return -1;
}

}  // extern "C"
