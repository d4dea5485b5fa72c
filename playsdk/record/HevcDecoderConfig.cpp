#include <array>

#include "ByteBuffer.h"
#include "DecoderConfig.h"
#include "NalUnits.h"

namespace kvplay::record {

namespace {

enum : int { kVps = 32, kSps = 33, kPps = 34, kSeiPrefix = 39, kSeiSuffix = 40 };

// Reads the bits of an RBSP, skipping emulation prevention bytes; reads past the end give zeros
// and mark the reader failed.
class RbspBits {
public:
    explicit RbspBits(std::span<const uint8_t> unit) {
        for (std::size_t i = 0; i < unit.size(); ++i) {
            if (i >= 2 && unit[i] == 3 && unit[i - 1] == 0 && unit[i - 2] == 0)
                continue;
            bytes_.push_back(unit[i]);
        }
    }

    uint64_t bits(int count) {
        uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            const std::size_t byte = bit_ / 8;
            if (byte >= bytes_.size()) {
                ok_ = false;
                return 0;
            }
            value = value << 1 | ((bytes_[byte] >> (7 - bit_ % 8)) & 1);
            ++bit_;
        }
        return value;
    }

    uint32_t ue() {
        int zeros = 0;
        while (ok_ && bits(1) == 0 && zeros < 32)
            ++zeros;
        return static_cast<uint32_t>((uint64_t{1} << zeros) - 1 + bits(zeros));
    }

    bool ok() const { return ok_; }

private:
    std::vector<uint8_t> bytes_;
    std::size_t bit_ = 0;
    bool ok_ = true;
};

struct SpsSummary {
    uint8_t profileByte = 0;  // profile space, tier, profile
    uint32_t compatibility = 0;
    uint64_t constraints = 0;  // 48 bits
    uint8_t level = 0;
    uint8_t subLayers = 1;
    bool temporalIdNested = false;
    uint32_t chromaFormat = 1;
    uint32_t lumaDepthMinus8 = 0;
    uint32_t chromaDepthMinus8 = 0;
};

std::optional<SpsSummary> readSps(std::span<const uint8_t> unit) {
    RbspBits in(unit);
    SpsSummary sps;
    in.bits(16);  // NAL header
    in.bits(4);   // video parameter set id
    const int maxSubLayersMinus1 = static_cast<int>(in.bits(3));
    sps.subLayers = static_cast<uint8_t>(maxSubLayersMinus1 + 1);
    sps.temporalIdNested = in.bits(1) != 0;
    sps.profileByte = static_cast<uint8_t>(in.bits(8));
    sps.compatibility = static_cast<uint32_t>(in.bits(32));
    sps.constraints = in.bits(48);
    sps.level = static_cast<uint8_t>(in.bits(8));
    std::array<bool, 8> profilePresent{}, levelPresent{};
    for (int i = 0; i < maxSubLayersMinus1; ++i) {
        profilePresent[i] = in.bits(1) != 0;
        levelPresent[i] = in.bits(1) != 0;
    }
    if (maxSubLayersMinus1 > 0)
        in.bits(2 * (8 - maxSubLayersMinus1));
    for (int i = 0; i < maxSubLayersMinus1; ++i) {
        if (profilePresent[i])
            in.bits(88);
        if (levelPresent[i])
            in.bits(8);
    }
    in.ue();  // sequence parameter set id
    sps.chromaFormat = in.ue();
    if (sps.chromaFormat == 3)
        in.bits(1);
    in.ue();  // width
    in.ue();  // height
    if (in.bits(1) != 0)
        for (int i = 0; i < 4; ++i)
            in.ue();  // conformance window
    sps.lumaDepthMinus8 = in.ue();
    sps.chromaDepthMinus8 = in.ue();
    if (!in.ok() || sps.chromaFormat > 3 || sps.lumaDepthMinus8 > 7 || sps.chromaDepthMinus8 > 7)
        return std::nullopt;
    return sps;
}

}  // namespace

std::optional<std::vector<uint8_t>> hevcDecoderConfig(std::span<const uint8_t> keyFrame) {
    // Arrays in the order decoders expect them: VPS, SPS, PPS, then SEI.
    constexpr std::array kArrayTypes{kVps, kSps, kPps, kSeiPrefix, kSeiSuffix};
    std::array<std::vector<std::span<const uint8_t>>, kArrayTypes.size()> arrays;
    for (const auto unit : splitNalUnits(keyFrame)) {
        if (unit.size() < 2 || unit.size() > 0xFFFF)
            continue;
        const int type = (unit[0] >> 1) & 0x3F;
        for (std::size_t a = 0; a < kArrayTypes.size(); ++a)
            if (type == kArrayTypes[a])
                arrays[a].push_back(unit);
    }
    if (arrays[0].empty() || arrays[1].empty() || arrays[2].empty())
        return std::nullopt;
    const auto sps = readSps(arrays[1].back());
    if (!sps)
        return std::nullopt;

    ByteBuffer out;
    out.u8(1);
    out.u8(sps->profileByte);
    out.u32(sps->compatibility);
    out.u16(static_cast<uint16_t>(sps->constraints >> 32));
    out.u32(static_cast<uint32_t>(sps->constraints));
    out.u8(sps->level);
    out.u16(0xF000);  // min spatial segmentation 0
    out.u8(0xFC);     // parallelism unknown
    out.u8(static_cast<uint8_t>(0xFC | sps->chromaFormat));
    out.u8(static_cast<uint8_t>(0xF8 | sps->lumaDepthMinus8));
    out.u8(static_cast<uint8_t>(0xF8 | sps->chromaDepthMinus8));
    out.u16(0);  // average frame rate unknown
    out.u8(static_cast<uint8_t>(sps->subLayers << 3 | (sps->temporalIdNested ? 1 : 0) << 2 | 3));
    uint8_t arrayCount = 0;
    for (const auto& units : arrays)
        arrayCount += units.empty() ? 0 : 1;
    out.u8(arrayCount);
    for (std::size_t a = 0; a < arrays.size(); ++a) {
        if (arrays[a].empty())
            continue;
        out.u8(static_cast<uint8_t>(0x80 | kArrayTypes[a]));  // complete array
        out.u16(static_cast<uint16_t>(arrays[a].size()));
        for (const auto unit : arrays[a]) {
            out.u16(static_cast<uint16_t>(unit.size()));
            out.append(unit);
        }
    }
    return std::move(out.bytes());
}

}  // namespace kvplay::record
