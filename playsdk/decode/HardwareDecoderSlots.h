// How many hardware decoders may be open at once in this process, and how many are: a decoder takes
// a slot when it opens on the GPU and gives it back when it closes.
#pragma once

#include <cstdint>

namespace kvplay {

// False when every slot is taken.
bool takeHardwareDecoderSlot();
void returnHardwareDecoderSlot();
int32_t hardwareDecodersOpen();
void setHardwareDecoderLimit(int32_t limit);

}  // namespace kvplay
