// The frame source's calls over KVPlaySD, with the card's event records converted.
#include "KVPlaySD.h"
#include "StoreReader.h"
#include "rfs/SdEventRecord.h"

namespace tarn {
namespace {

constexpr int kUnused = 5;

class SdStoreReader final : public StoreReader {
public:
    const char* sourceName() const override { return "RfsFrameSD_interface::seek"; }
    int findEventLine() const override { return 296; }

    int findStart(const rfs_find_param_t& param) const override { return rfs_find_start(&param, nullptr, 0); }
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
};

}  // namespace

const StoreReader& sdStoreReader() {
    static const SdStoreReader reader;
    return reader;
}

}  // namespace tarn
