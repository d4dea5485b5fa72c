// A search of the reader library over the attached store: its parameters for the channels and record
// types of a query, and its handle.
#pragma once

#include <array>
#include <cstdint>

#include "QueryOptions.h"
#include "rfs/PackedTime.h"
#include "rfs/rfs_types.h"

namespace tarn {

enum class SearchData : uint8_t { Recordings = 0, Pictures = 1 };
enum class SearchType : uint8_t { Month = 0, PerChannel = 3 };

// The reader's search parameters; they point into the channel bits, so the object stays where it is made.
class SearchParam {
public:
    SearchParam(const Query& query, SearchData data, SearchType type, const rfs::CalendarTime& from,
                const rfs::CalendarTime& to);
    SearchParam(const SearchParam&) = delete;
    SearchParam& operator=(const SearchParam&) = delete;

    const rfs_find_param_t* get() const { return &param_; }

private:
    static constexpr int kStoreChannels = 2 * ChannelLayout::kMaxChannels;

    std::array<uint8_t, kStoreChannels / 8> channelBits_{};
    rfs_find_param_t param_{};
};

// A search handle, given back to the reader however the search ends.
class SearchHandle {
public:
    // Starts the search; throws Failure when the reader refuses it.
    explicit SearchHandle(const SearchParam& param);
    ~SearchHandle();
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;

    int get() const { return handle_; }

private:
    int handle_;
};

[[noreturn]] void searchFailed(int32_t code);

}  // namespace tarn
