// The library's C interface: thin wrappers that keep exceptions inside the library.
#include "KVPlayHDD.h"

#include <exception>

#include "DiskAttach.h"
#include "DiskProbe.h"

namespace {

template <typename Call>
int32_t guarded(Call call) noexcept {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return KVRFS_ERR_NO_MEMORY;
    } catch (...) {
        return KVRFS_ERR_FAILED;
    }
}

}  // namespace

extern "C" {

int32_t KVrfs_init_hdd(int max_rec_chn, int moarea_nums) {
    return guarded([&] { return kvhdd::initReader(max_rec_chn, moarea_nums); });
}

int32_t KVrfs_mode_set(int mode) {
    return guarded([&] { return kvhdd::setAccessModeByte(mode); });
}

int32_t KVrfs_add_disk_hdd(int disk_id, const char* path, int disk_type, int group, const char* /*disk_flags*/) {
    return guarded([&] { return kvhdd::attachDisk(disk_id, path, disk_type, group); });
}

int32_t KVrfs_remove_disk_hdd(int disk_id) {
    return guarded([&] { return kvhdd::removeDisk(disk_id); });
}

int32_t get_disk_param_hdd(const char* path, void* param) {
    return guarded([&] { return kvhdd::probeDiskParam(path, param); });
}

int32_t get_disk_param_size(const char* path, void* param) {
    return guarded([&] { return kvhdd::probeDiskParamWithFreeFiles(path, param); });
}

}
