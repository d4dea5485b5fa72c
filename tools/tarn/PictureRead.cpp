#include "PictureRead.h"

#include <cstdlib>
#include <limits>
#include <memory>

#include "AttachedStore.h"
#include "Failure.h"
#include "rfs/FrameRecord.h"
#include "rfs/PictureRecords.h"

namespace tarn {
namespace {

// A read handle of one store channel, given back however the read ends.
class ReadHandle {
public:
    explicit ReadHandle(int storeChannel) : handle_(attachedReader().readStart(storeChannel)) {}
    ~ReadHandle() {
        if (handle_ >= 0)
            attachedReader().readStop(handle_);
    }
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;

    int get() const { return handle_; }

private:
    int handle_;
};

std::string pictureText(const FoundPicture& found) {
    return "the picture of " + channelText(found.channel) + " taken at " +
           rfs::formatTime(rfs::unpackTime(rfs::packTime(found.picture.time)));
}

}  // namespace

std::vector<uint8_t> readPictureJpeg(const FoundPicture& found) {
    const rfs_pic_t& picture = found.picture;
    // The reader delivers whole 4 KiB blocks into a buffer aligned like them.
    const uint64_t length = rfs::pictureBlockLength(picture.position, picture.length);
    if (length > static_cast<uint64_t>(std::numeric_limits<int>::max()))
        throw Failure(pictureText(found) + " is damaged: its index entry claims " + std::to_string(picture.length) +
                      " bytes");
    const std::unique_ptr<uint8_t, decltype(&std::free)> buffer(
        static_cast<uint8_t*>(std::aligned_alloc(rfs::kPictureBlock, length)), &std::free);
    if (!buffer)
        throw Failure("there is no memory for " + pictureText(found));

    const ReadHandle reader(picture.pic_chn);
    if (reader.get() < 0)
        throw Failure(pictureText(found) + " cannot be read: the reader refused a read (code " +
                      std::to_string(reader.get()) + ")");
    int leading = 0;
    const int32_t read =
        attachedReader().readPicture(reader.get(), picture, buffer.get(), static_cast<int>(length), &leading);
    if (read <= 0)
        throw Failure(pictureText(found) + " cannot be read (reader code " + std::to_string(read) + ")");

    const auto bytes = static_cast<uint64_t>(read);
    if (leading < 0 || leading + rfs::kFrameHeaderSize > bytes)
        throw Failure(pictureText(found) + " is damaged: its frame record lies outside the bytes read");
    const rfs::KVFrameHeader header = rfs::readFrameHeader(buffer.get() + leading);
    if (header.FrameTag != rfs::KVFrameTag)
        throw Failure(pictureText(found) + " is damaged: its frame record has no frame tag");
    if (leading + rfs::kFrameHeaderSize + header.framesize > bytes ||
        rfs::storedFrameLength(header.framesize) > picture.length)
        throw Failure(pictureText(found) + " is damaged: its frame record claims " + std::to_string(header.framesize) +
                      " bytes, more than were stored");
    if (header.codec != rfs::CodecMjpeg)
        throw Failure(pictureText(found) + " holds no JPEG picture (codec " + std::to_string(header.codec) + ")");
    const uint8_t* jpeg = buffer.get() + leading + rfs::kFrameHeaderSize;
    return std::vector<uint8_t>(jpeg, jpeg + header.framesize);
}

}  // namespace tarn
