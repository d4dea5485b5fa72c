// Encodes the plan's chunks on all cores and hands them over strictly in plan order. Each chunk has its
// own single-threaded encoder, so the bytes do not depend on how many cores did the work.
#pragma once

#include <functional>

#include "rfssim/ChunkEncoder.h"
#include "rfssim/RecordingPlan.h"

namespace rfssim {

using ChunkConsumer = std::function<void(const ChunkJob& job, EncodedChunk&& chunk)>;

void encodeInOrder(const RecordingPlan& plan, const ChunkConsumer& consume);

}  // namespace rfssim
