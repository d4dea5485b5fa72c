#include "rfssim/LabelArea.h"

#include <cstring>

#include "rfs/LabelRecords.h"

namespace rfssim {

std::vector<uint8_t> emptyLabelArea() {
    rfs::label_head_t head{};
    head.magic = rfs::kLabelHeadMagic;
    rfs::label_info_t end{};
    end.magic = rfs::kLabelEndMagic;

    std::vector<uint8_t> bytes(rfs::kLabelEntriesOffset + sizeof end);
    std::memcpy(bytes.data(), &head, sizeof head);
    std::memcpy(bytes.data() + rfs::kLabelEntriesOffset, &end, sizeof end);
    return bytes;
}

}  // namespace rfssim
