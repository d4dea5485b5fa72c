#include "NalUnits.h"

#include <bit>
#include <cstring>

#include "ByteBuffer.h"

namespace kvplay::record {

namespace {

bool isStartCodeAt(std::span<const uint8_t> data, std::size_t i) {
    return i + 3 <= data.size() && data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1;
}

// Position of the next 00 00 01 at or after from, or size when there is none. Compressed payloads seldom
// hold two zero bytes in a row, so eight bytes at a time are passed over when they hold no such pair
// and do not end in a zero byte that may begin one.
std::size_t findStartCode(std::span<const uint8_t> data, std::size_t from) {
    static_assert(std::endian::native == std::endian::little, "byte 7 of a word is its highest");
    constexpr uint64_t kLow = 0x0101010101010101ull;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    std::size_t i = from;
    for (; i + 8 <= data.size(); i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, data.data() + i, sizeof word);
        // The high bit of each zero byte; a byte just above a zero one may be flagged too, which only
        // costs a closer look.
        const uint64_t zeros = (word - kLow) & ~word & kHigh;
        if ((zeros & zeros >> 8) == 0 && (zeros >> 56) == 0)
            continue;
        for (std::size_t k = i; k < i + 8; ++k)
            if (isStartCodeAt(data, k))
                return k;
    }
    for (; i < data.size(); ++i)
        if (isStartCodeAt(data, i))
            return i;
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
