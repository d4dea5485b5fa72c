#include "BuildId.h"

#include <elf.h>
#include <link.h>

#include <cstring>

namespace {

std::size_t alignUp(std::size_t value, std::size_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

std::string hex(const unsigned char* bytes, std::size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xf];
    }
    return text;
}

std::string buildIdIn(const ElfW(Phdr) & segment, ElfW(Addr) base) {
    // Notes are padded to the segment's alignment: 4 bytes, or 8 in segments aligned so.
    const std::size_t alignment = segment.p_align == 8 ? 8 : 4;
    const auto* const start = reinterpret_cast<const unsigned char*>(base + segment.p_vaddr);
    std::size_t offset = 0;
    while (offset + sizeof(ElfW(Nhdr)) <= segment.p_memsz) {
        const auto* const note = reinterpret_cast<const ElfW(Nhdr)*>(start + offset);
        const std::size_t nameOffset = offset + sizeof(ElfW(Nhdr));
        const std::size_t descOffset = alignUp(nameOffset + note->n_namesz, alignment);
        if (descOffset + note->n_descsz > segment.p_memsz)
            break;
        if (note->n_type == NT_GNU_BUILD_ID && note->n_namesz == 4 && std::memcmp(start + nameOffset, "GNU", 4) == 0)
            return hex(start + descOffset, note->n_descsz);
        offset = alignUp(descOffset + note->n_descsz, alignment);
    }
    return {};
}

// The program itself is the first object reported; the libraries after it are not looked at.
int fromProgram(dl_phdr_info* info, std::size_t, void* result) {
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type == PT_NOTE) {
            *static_cast<std::string*>(result) = buildIdIn(info->dlpi_phdr[i], info->dlpi_addr);
            if (!static_cast<std::string*>(result)->empty())
                break;
        }
    }
    return 1;
}

}  // namespace

std::string programBuildId() {
    std::string id;
    dl_iterate_phdr(fromProgram, &id);
    return id;
}
