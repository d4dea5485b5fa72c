// The factories of the two frame sources.
#include "RfsFrameInterfaceSub.h"
#include "RfsFrameSD_interface.h"

namespace tarn {

FrameSourcePtr createHddFrameSource() {
    return FrameSourcePtr(new RfsFrameInterfaceSub);
}

FrameSourcePtr createSdFrameSource() {
    return FrameSourcePtr(new RfsFrameSD_interface);
}

}  // namespace tarn
