#include "rfssim/ChunkPipeline.h"

#include <algorithm>
#include <deque>
#include <future>
#include <thread>

namespace rfssim {

void encodeInOrder(const RecordingPlan& plan, const ChunkConsumer& consume) {
    // One chunk more than cores keeps the encoders busy while the consumer writes.
    const std::size_t window = std::max(1u, std::thread::hardware_concurrency()) + 1;
    std::deque<std::future<EncodedChunk>> inFlight;
    std::size_t next = 0;
    for (const ChunkJob& job : plan.chunks) {
        while (next < plan.chunks.size() && inFlight.size() < window) {
            const ChunkJob& ahead = plan.chunks[next++];
            inFlight.push_back(std::async(
                std::launch::async, [&plan, &ahead] { return encodeChunk(plan.events[ahead.eventIndex], ahead); }));
        }
        EncodedChunk chunk = inFlight.front().get();
        inFlight.pop_front();
        consume(job, std::move(chunk));
    }
}

}  // namespace rfssim
