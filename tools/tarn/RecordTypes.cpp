#include "RecordTypes.h"

#include <charconv>

#include "CommaList.h"
#include "Failure.h"

namespace tarn {
namespace {

constexpr const char* kNamedTypes[] = {"normal", "motion", "io"};
constexpr int kNamedCount = 3;
constexpr int kTypeBits = 32;

std::string typeName(int bit) {
    return bit < kNamedCount ? kNamedTypes[bit] : "type" + std::to_string(bit);
}

int typeBit(const std::string& name) {
    for (int bit = 0; bit < kNamedCount; ++bit)
        if (name == kNamedTypes[bit])
            return bit;
    const std::string prefix = "type";
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
        int bit = -1;
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        const auto [end, error] = std::from_chars(first, last, bit);
        if (error == std::errc{} && end == last && bit >= 0 && bit < kTypeBits)
            return bit;
    }
    throw Failure("\"" + name + "\" is no record type: use normal, motion, io, type3 to type31, or all");
}

}  // namespace

std::vector<std::string> recordTypeNames(uint32_t mask) {
    std::vector<std::string> names;
    for (int bit = 0; bit < kTypeBits; ++bit)
        if (mask >> bit & 1)
            names.push_back(typeName(bit));
    return names;
}

std::string joinedRecordTypeNames(uint32_t mask, const std::string& separator) {
    std::string text;
    for (const std::string& name : recordTypeNames(mask))
        text += (text.empty() ? "" : separator) + name;
    return text.empty() ? "-" : text;
}

uint32_t parseRecordTypes(const std::string& text) {
    if (text == "all")
        return ~0u;
    uint32_t mask = 0;
    for (const std::string& name : splitCommaList(text))
        mask |= 1u << typeBit(name);
    return mask;
}

}  // namespace tarn
