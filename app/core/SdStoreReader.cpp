// The frame source's calls over KVPlaySD, with the card's event records converted.
#include "KVPlaySD.h"
#include "StoreReader.h"
#include "rfs/SdEventRecord.h"

namespace tarn {
namespace {

constexpr int kUnused = 5;
constexpr int kNormalCard = 0;
constexpr int kGroup = 0;

class SdStoreReader final : public StoreReader {
public:
    const char* sourceName() const override { return "RfsFrameSD_interface::seek"; }
    int findEventLine() const override { return 296; }

    int init(int maxChannels, int motionAreas) const override { return rfs_init(maxChannels, motionAreas); }
    // A card is always a folder.
    int addDisk(int id, const std::string& path, bool) const override {
        return rfs_add_disk(id, path.c_str(), kNormalCard, kGroup, nullptr);
    }
    int removeDisk(int id) const override { return rfs_remove_disk(id); }

    int findStart(const rfs_find_param_t& param, void* out) const override { return rfs_find_start(&param, out, 0); }
    int findStop(int search) const override { return rfs_find_stop(search); }
    int events(int search, int slot, std::vector<rfs_event_t>& out) const override {
        rfs_sd_event_list_t list{};
        const int result = rfs_get_event(search, slot, &list);
        if (result != 0 || (list.count > 0 && list.list == nullptr))
            return result != 0 ? result : -1;
        out.clear();
        for (int i = 0; i < list.count; ++i)
            out.push_back(rfs::fromSdEvent(list.list[i]));
        return 0;
    }
    int eventSeek(int search, int slot, const rfs_time_t& from, const rfs_time_t& to) const override {
        return rfs_event_seek(search, slot, &from, &to, 0);
    }
    int moveCursor(int search, int slot, CursorStep step, rfs_event_t& out) const override {
        rfs_sd_event_t event{};
        int result = 0;
        switch (step) {
            case CursorStep::Current:
                result = rfs_get_current_event(search, slot, &event);
                break;
            case CursorStep::Previous:
                result = rfs_get_pre_event(search, slot, &event);
                break;
            case CursorStep::Next:
                result = rfs_get_next_event(search, slot, &event);
                break;
        }
        if (result == 0)
            out = rfs::fromSdEvent(event);
        return result;
    }

    int pictures(int search, int slot, rfs_pic_list_t& out) const override { return rfs_get_pic(search, slot, &out); }

    int readStart(int chn) const override { return rfs_read_start(chn); }
    int readStop(int fd) const override { return rfs_read_stop(fd); }
    int timeSeek(int fd, const rfs_time_t& at, int direction, const rfs_event_t& event) const override {
        const rfs_sd_event_t card = rfs::toSdEvent(event);
        return rfs_tseek(fd, &at, direction, kUnused, &card);
    }
    int read(int fd, void* buffer, int length, int* skip) const override {
        return rfs_read(fd, buffer, length, skip, nullptr);
    }
    int readKeyFrame(int fd, KeyFrameStep step, int n, void* buffer, int length, int* skip) const override {
        switch (step) {
            case KeyFrameStep::Current:
                return rfs_get_current_kframe(fd, buffer, length, skip, nullptr);
            case KeyFrameStep::Next:
                return rfs_get_next_kframe(fd, buffer, length, skip, n, nullptr);
            case KeyFrameStep::Previous:
                break;
        }
        return rfs_get_prev_kframe(fd, buffer, length, skip, n, nullptr);
    }
    int readPicture(int fd, const rfs_pic_t& picture, void* buffer, int length, int* leading) const override {
        return rfs_read_pic(fd, &picture, buffer, length, leading);
    }

    bool keepsThumbnails() const override { return true; }
    int thumbnail(const rfs_event_t& event, void* buffer, int* size) const override {
        return rfs_get_first_thumbnail(0, 0, event.record_id, event.thumbnail_offset, 0, 0, 0, 0, buffer, size);
    }
};

}  // namespace

const StoreReader& sdStoreReader() {
    static const SdStoreReader reader;
    return reader;
}

}  // namespace tarn
