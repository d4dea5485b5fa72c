#include "atom_basic.h"

#include <cstring>
#include <limits>

namespace kvplay::record {

atom_basic::atom_basic(const char* type) {
    std::memcpy(type_, type, 4);
    type_[4] = '\0';
}

bool atom_basic::buildOwn(ByteBuffer& out) {
    header(out, type_);
    return true;
}

void atom_basic::header(ByteBuffer& out, const char* type) {
    out.u32(0);  // patched by size()
    out.fourcc(type);
}

void atom_basic::fullHeader(ByteBuffer& out, const char* type, uint8_t version, uint32_t flags) {
    header(out, type);
    out.u8(version);
    out.u24(flags);
}

bool atom_basic::build() {
    own_ = ByteBuffer{};
    if (!buildOwn(own_))
        return false;
    for (auto& child : children_)
        if (!child->build())
            return false;
    return true;
}

std::optional<uint64_t> atom_basic::size() {
    uint64_t total = own_.size();
    for (auto& child : children_) {
        const auto childSize = child->size();
        if (!childSize)
            return std::nullopt;
        total += *childSize;
    }
    if (total > std::numeric_limits<uint32_t>::max() || own_.size() < 8)
        return std::nullopt;
    own_.patch32(0, static_cast<uint32_t>(total));
    return total;
}

bool atom_basic::write(OutputFile& file) {
    if (written_)
        return true;
    filePosition_ = file.end();
    if (!file.append(own_.bytes()))
        return false;
    for (auto& child : children_)
        if (!child->write(file))
            return false;
    written_ = true;
    return true;
}

}  // namespace kvplay::record
