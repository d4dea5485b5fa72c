#include "rfssim/StillPicture.h"

#include "rfssim/JpegEncoder.h"
#include "rfssim/ScenePainter.h"

namespace rfssim {
namespace {

constexpr uint8_t kStillPictureRate = 25;

}  // namespace

std::vector<uint8_t> stillPictureJpeg(int userChannel, StreamKind stream, int64_t captureTimeUs) {
    ScenePainter painter(kStillWidth, kStillHeight, userChannel, channelCaption(userChannel, stream));
    return encodeJpeg(painter.paint(captureTimeUs, 0));
}

rfs::KVFrameHeader stillPictureHeader(rfs::FrameType type, int storeChannel, uint32_t frameNo, int64_t captureTimeUs,
                                      std::size_t payload) {
    rfs::KVFrameHeader h{};
    h.FrameTag = rfs::KVFrameTag;
    h.frameType = type;
    h.codec = rfs::CodecMjpeg;
    h.channel = static_cast<uint8_t>(storeChannel & 0x7f);
    h.frameNo = frameNo;
    h.framesize = static_cast<uint32_t>(payload);
    h.Time = static_cast<uint64_t>(captureTimeUs);
    h.timestamp = h.Time;
    h.video.width = kStillWidth;
    h.video.height = kStillHeight;
    h.video.frameRate = kStillPictureRate;
    h.video.standard = 'N';
    return h;
}

}  // namespace rfssim
