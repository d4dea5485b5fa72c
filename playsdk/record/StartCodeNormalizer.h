// Video frame records in the form that writers and decoders take: every NAL unit behind a 4-byte start
// code. Recorders also write 3-byte start codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "rfs/FrameRecord.h"

namespace kvplay::record {

// True for "KVFm" H.264/H.265 video records whose payload does not begin with 00 00 00 01. A payload that
// does is taken as it is, whatever start codes follow: writers split it at both kinds.
bool needsStartCodeNormalization(const rfs::KVFrameHeader& header, std::span<const uint8_t> payload);

// Writes the record into out: the header with the new payload length, then each NAL unit of the payload
// behind 00 00 00 01. A payload without any start code is copied unchanged. Returns the new payload
// length, or -1 when out cannot hold the record.
int64_t normalizeStartCodes(const rfs::KVFrameHeader& header, std::span<const uint8_t> payload,
                            std::span<uint8_t> out);

}  // namespace kvplay::record
