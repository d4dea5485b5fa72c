// The base of every MP4 box the writer builds: a type, its own serialised bytes and its children.
// Sizes are computed over the tree and patched into each box's header before it is written.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "ByteBuffer.h"
#include "OutputFile.h"

namespace kvplay::record {

class atom_basic {
public:
    explicit atom_basic(const char* type);
    virtual ~atom_basic() = default;
    atom_basic(const atom_basic&) = delete;
    atom_basic& operator=(const atom_basic&) = delete;

    template <typename Box>
    Box* add(std::unique_ptr<Box> child) {
        Box* raw = child.get();
        children_.push_back(std::move(child));
        return raw;
    }

    // Serialises the box's own bytes and those of its children; false when a box cannot be
    // represented (a size that does not fit its field).
    bool build();
    // Total size of the box with its children, patched into the own header; nullopt over 4 GiB.
    std::optional<uint64_t> size();
    // Writes every box not written yet, remembering where it went.
    bool write(OutputFile& file);

    uint64_t filePosition() const { return filePosition_; }
    const char* type() const { return type_; }

protected:
    // The box's own bytes, its 8-byte header included; containers keep the header alone.
    virtual bool buildOwn(ByteBuffer& out);
    static void header(ByteBuffer& out, const char* type);
    static void fullHeader(ByteBuffer& out, const char* type, uint8_t version, uint32_t flags);

private:
    char type_[5];
    std::vector<std::unique_ptr<atom_basic>> children_;
    ByteBuffer own_;
    uint64_t filePosition_ = 0;
    bool written_ = false;
};

}  // namespace kvplay::record
