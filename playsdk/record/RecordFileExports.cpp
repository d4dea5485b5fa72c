// The record file calls of the library's C interface. No exception leaves them: a failure is a result.
#include <memory>

#include "KVPlay.h"
#include "RecordFileFormat.h"
#include "RecordFrameInput.h"

using kvplay::record::CBaseRecordFile;

namespace {

template <typename Result, typename Call>
Result guarded(Result failure, Call call) noexcept {
    try {
        return call();
    } catch (...) {
        return failure;
    }
}

}  // namespace

extern "C" {

KVPLAY_API void* KVPlayCreateRecordFile(const char* path_utf8, int) {
    return guarded<void*>(nullptr, [&]() -> void* {
        if (path_utf8 == nullptr)
            return nullptr;
        const auto format = kvplay::record::recordFileFormat(path_utf8);
        if (!format)
            return nullptr;
        std::unique_ptr<CBaseRecordFile> file = kvplay::record::makeRecordFile(*format);
        if (!file || file->Open(path_utf8, false, 0, 0, true, nullptr) != 0)
            return nullptr;
        return file.release();
    });
}

KVPLAY_API int32_t KVPlayInputRecordFile(void* record_file, const uint8_t* frame, int length, int) {
    return guarded<int32_t>(-1, [&] {
        if (record_file == nullptr || frame == nullptr)
            return -1;
        const int result =
            kvplay::record::inputRecordFrame(*static_cast<CBaseRecordFile*>(record_file), frame, length);
        // A day change is news for the caller, not a failure: the frame was written.
        return result == 0 || result == CBaseRecordFile::kDayChanged ? result : -1;
    });
}

KVPLAY_API int32_t KVPlayDestroyRecordFile(void* record_file) {
    return guarded<int32_t>(-1, [&] {
        if (record_file == nullptr)
            return -1;
        std::unique_ptr<CBaseRecordFile> file(static_cast<CBaseRecordFile*>(record_file));
        return file->Close() == 0 ? 0 : -1;
    });
}

}  // extern "C"
