// The frame source's calls over KVPlayHDD.
#include "KVPlayHDD.h"
#include "StoreReader.h"

namespace tarn {
namespace {

// Reading goes on to the end of each event: stopping at its newest key frame would lose the frames
// recorded after it, up to a whole group of pictures per event.
constexpr int kReadToEventEnd = 0;
constexpr int kUnused = 5;
constexpr int kNormalDisk = 0;
constexpr int kGroup = 0;

class HddStoreReader final : public StoreReader {
public:
    const char* sourceName() const override { return "RfsFrameInterfaceSub::seek"; }
    int findEventLine() const override { return 429; }

    int init(int maxChannels, int motionAreas) const override { return KVrfs_init_hdd(maxChannels, motionAreas); }
    int addDisk(int id, const std::string& path, bool directory) const override {
        KVrfs_mode_set(directory ? 1 : 0);
        return KVrfs_add_disk_hdd(id, path.c_str(), kNormalDisk, kGroup, nullptr);
    }
    int removeDisk(int id) const override { return KVrfs_remove_disk_hdd(id); }

    int findStart(const rfs_find_param_t& param, void* out) const override { return KVrfs_find_start_hdd(&param, out); }
    int findStop(int search) const override { return KVrfs_find_stop_hdd(search); }
    int events(int search, int slot, std::vector<rfs_event_t>& out) const override {
        rfs_event_list_t list{};
        const int result = KVrfs_get_event_hdd(search, slot, &list);
        if (result != 0 || (list.count > 0 && list.list == nullptr))
            return result != 0 ? result : -1;
        out.assign(list.list, list.list + list.count);
        return 0;
    }
    int eventSeek(int search, int slot, const rfs_time_t& from, const rfs_time_t& to) const override {
        return KVrfs_event_seek_hdd(search, slot, &from, &to, 0);
    }
    int moveCursor(int search, int slot, CursorStep step, rfs_event_t& out) const override {
        switch (step) {
            case CursorStep::Current:
                return KVrfs_get_current_event_hdd(search, slot, &out);
            case CursorStep::Previous:
                return KVrfs_get_pre_event_hdd(search, slot, &out);
            case CursorStep::Next:
                break;
        }
        return KVrfs_get_next_event_hdd(search, slot, &out);
    }

    int pictures(int search, int slot, rfs_pic_list_t& out) const override {
        return KVrfs_get_pic_hdd(search, slot, &out);
    }

    int readStart(int chn) const override { return KVrfs_read_start_hdd(chn); }
    int readStop(int fd) const override { return KVrfs_read_stop_hdd(fd); }
    int timeSeek(int fd, const rfs_time_t& at, int direction, const rfs_event_t& event) const override {
        return KVrfs_tseek_hdd(fd, &at, direction, kUnused, &event, kReadToEventEnd);
    }
    int read(int fd, void* buffer, int length, int* skip) const override {
        return KVrfs_read_hdd(fd, buffer, length, skip, nullptr);
    }
    int readKeyFrame(int fd, KeyFrameStep step, int n, void* buffer, int length, int* skip) const override {
        switch (step) {
            case KeyFrameStep::Current:
                return KVrfs_get_current_kframe_hdd(fd, buffer, length, skip, nullptr);
            case KeyFrameStep::Next:
                return KVrfs_get_next_kframe_hdd(fd, buffer, length, skip, n, nullptr);
            case KeyFrameStep::Previous:
                break;
        }
        return KVrfs_get_prev_kframe_hdd(fd, buffer, length, skip, n, nullptr);
    }
    int readPicture(int fd, const rfs_pic_t& picture, void* buffer, int length, int* leading) const override {
        return KVrfs_read_pic_hdd(fd, &picture, buffer, length, leading);
    }

    bool keepsThumbnails() const override { return false; }
    int thumbnail(const rfs_event_t&, void*, int*) const override { return -1; }
};

}  // namespace

const StoreReader& hddStoreReader() {
    static const HddStoreReader reader;
    return reader;
}

}  // namespace tarn
