// Attaches an image whose first megabyte is the fuzzer's input: a damaged medium must give an
// error, never a crash or a read outside what was asked for.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "KVPlayHDD.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string image = [] {
        char path[] = "/tmp/attach-fuzz-XXXXXX";
        const int fd = mkstemp(path);
        if (fd >= 0)
            close(fd);
        return std::string(path);
    }();
    FILE* out = std::fopen(image.c_str(), "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    KVrfs_init_hdd(64, 20);
    KVrfs_mode_set(0);
    unsigned char param[KVRFS_DISK_PARAM_SIZE];
    get_disk_param_size(image.c_str(), param);
    if (KVrfs_add_disk_hdd(0, image.c_str(), 0, 0, nullptr) == 0)
        KVrfs_remove_disk_hdd(0);
    return 0;
}
