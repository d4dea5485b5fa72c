#include "NalUnits.h"

#include <cstring>

#include "ByteBuffer.h"

namespace kvplay::record {

namespace {

// Position of the next 00 00 01 at or after from, or size when there is none. Jumps from zero byte
// to zero byte: large payloads have few of them.
std::size_t findStartCode(std::span<const uint8_t> data, std::size_t from) {
    for (std::size_t i = from; i + 3 <= data.size(); ++i) {
        const void* zero = std::memchr(data.data() + i, 0, data.size() - 2 - i);
        if (zero == nullptr)
            break;
        i = static_cast<std::size_t>(static_cast<const uint8_t*>(zero) - data.data());
        if (data[i + 1] == 0 && data[i + 2] == 1)
            return i;
    }
    return data.size();
}

std::span<const uint8_t> withoutTrailingZeros(std::span<const uint8_t> unit) {
    std::size_t size = unit.size();
    while (size > 0 && unit[size - 1] == 0)
        --size;
    return unit.first(size);
}

}  // namespace

std::vector<std::span<const uint8_t>> splitNalUnits(std::span<const uint8_t> payload) {
    std::vector<std::span<const uint8_t>> units;
    std::size_t code = findStartCode(payload, 0);
    // Zero bytes before the first start code belong to a 4-byte start code.
    const auto leading = withoutTrailingZeros(payload.first(code));
    if (!leading.empty())
        units.push_back(leading);
    while (code < payload.size()) {
        const std::size_t begin = code + 3;
        code = findStartCode(payload, begin);
        const auto unit = withoutTrailingZeros(payload.subspan(begin, code - begin));
        if (!unit.empty())
            units.push_back(unit);
    }
    return units;
}

bool hasStartCode(std::span<const uint8_t> payload) { return findStartCode(payload, 0) < payload.size(); }

std::vector<uint8_t> toLengthPrefixed(std::span<const uint8_t> payload) {
    ByteBuffer out;
    for (const auto unit : splitNalUnits(payload)) {
        out.u32(static_cast<uint32_t>(unit.size()));
        out.append(unit);
    }
    return std::move(out.bytes());
}

std::vector<uint8_t> toAnnexB(std::span<const uint8_t> lengthPrefixed) {
    ByteBuffer out;
    ByteReader in(lengthPrefixed);
    while (in.remaining() > 0) {
        const uint32_t length = in.u32();
        const auto unit = in.bytes(length);
        if (!in.ok())
            return {};
        out.u32(1);
        out.append(unit);
    }
    return std::move(out.bytes());
}

}  // namespace kvplay::record
