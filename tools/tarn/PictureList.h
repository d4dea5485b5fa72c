// The pictures of the selected channels and record types in a span, as the reader library lists them: by
// time and channel, the earliest 5000 at most. The search stays open for the life of the object, since
// the reader reads only pictures of an open search's list.
#pragma once

#include <cstddef>
#include <vector>

#include "QueryOptions.h"
#include "ReaderSearch.h"
#include "rfs/PackedTime.h"
#include "rfs/rfs_types.h"

namespace tarn {

struct FoundPicture {
    rfs_pic_t picture;
    Channel channel;
};

class PictureList {
public:
    static constexpr std::size_t kReaderLimit = 5000;

    // Throws Failure when the reader cannot search the store.
    PictureList(const Query& query, const rfs::CalendarTime& from, const rfs::CalendarTime& to);

    const std::vector<FoundPicture>& pictures() const { return pictures_; }
    // A list at the reader's limit may have lost the later pictures of the span.
    bool atReaderLimit() const { return pictures_.size() >= kReaderLimit; }

private:
    SearchHandle handle_;
    std::vector<FoundPicture> pictures_;
};

}  // namespace tarn
