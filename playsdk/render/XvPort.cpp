#include "XvPort.h"

#include <cstdlib>
#include <memory>

namespace kvplay {
namespace {

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

}  // namespace

XvPort::XvPort(X11Display& display, uint32_t window) : display_(display) {
    xcb_connection_t* c = display_.connection();
    xcb_generic_error_t* error = nullptr;
    auto adaptors = owned(xcb_xv_query_adaptors_reply(c, xcb_xv_query_adaptors(c, window), &error));
    std::free(error);
    if (!adaptors)
        return;
    for (auto it = xcb_xv_query_adaptors_info_iterator(adaptors.get()); it.rem > 0 && !port_;
         xcb_xv_adaptor_info_next(&it)) {
        const xcb_xv_adaptor_info_t* adaptor = it.data;
        if (!(adaptor->type & XCB_XV_TYPE_IMAGE_MASK))
            continue;
        for (uint16_t i = 0; i < adaptor->num_ports && !port_; ++i) {
            const xcb_xv_port_t candidate = adaptor->base_id + i;
            if (!takesYv12(candidate))
                continue;
            auto grabbed = owned(xcb_xv_grab_port_reply(c, xcb_xv_grab_port(c, candidate, XCB_CURRENT_TIME), nullptr));
            if (grabbed && grabbed->result == XCB_GRAB_STATUS_SUCCESS)
                port_ = candidate;
        }
    }
}

XvPort::~XvPort() {
    if (port_) {
        xcb_xv_ungrab_port(display_.connection(), port_, XCB_CURRENT_TIME);
        xcb_flush(display_.connection());
    }
}

bool XvPort::takesYv12(xcb_xv_port_t port) const {
    xcb_connection_t* c = display_.connection();
    auto formats = owned(xcb_xv_list_image_formats_reply(c, xcb_xv_list_image_formats(c, port), nullptr));
    if (!formats)
        return false;
    const xcb_xv_image_format_info_t* f = xcb_xv_list_image_formats_format(formats.get());
    for (uint32_t i = 0; i < formats->num_formats; ++i)
        if (f[i].id == kFourccYv12)
            return true;
    return false;
}

bool XvPort::layout(int32_t width, int32_t height, Yv12Layout& out) const {
    xcb_connection_t* c = display_.connection();
    auto attributes = owned(xcb_xv_query_image_attributes_reply(
        c,
        xcb_xv_query_image_attributes(c, port_, kFourccYv12, static_cast<uint16_t>(width),
                                      static_cast<uint16_t>(height)),
        nullptr));
    if (!attributes || attributes->num_planes != 3 || attributes->width != width || attributes->height != height ||
        xcb_xv_query_image_attributes_pitches_length(attributes.get()) < 3 ||
        xcb_xv_query_image_attributes_offsets_length(attributes.get()) < 3)
        return false;
    out.size = attributes->data_size;
    const uint32_t* pitches = xcb_xv_query_image_attributes_pitches(attributes.get());
    const uint32_t* offsets = xcb_xv_query_image_attributes_offsets(attributes.get());
    for (int i = 0; i < 3; ++i) {
        out.pitches[i] = pitches[i];
        out.offsets[i] = offsets[i];
    }
    return true;
}

}  // namespace kvplay
