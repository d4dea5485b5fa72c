#include "Report.h"

#include <cstdio>
#include <iomanip>

namespace storebench {
namespace {

std::string byteText(uint64_t n) {
    char text[32];
    if (n >= 1'000'000)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(n) / 1e6);
    else if (n >= 1'000)
        std::snprintf(text, sizeof text, "%.1f kB", static_cast<double>(n) / 1e3);
    else
        std::snprintf(text, sizeof text, "%u B", static_cast<unsigned>(n));
    return text;
}

std::string countText(uint64_t n) {
    if (n >= 10'000'000)
        return std::to_string(n / 1'000'000) + " M";
    if (n >= 10'000)
        return std::to_string(n / 1'000) + " k";
    return std::to_string(n);
}

}  // namespace

std::string fixed(double value, int decimals, const char* unit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f %s", decimals, value, unit);
    return text;
}

void Report::print(std::ostream& out) const {
    out << '\n'
        << std::left << std::setw(44) << "Measurement" << std::setw(14) << "Result" << std::setw(16) << "Goal"
        << std::setw(6) << "Met" << std::setw(10) << "Bytes" << std::setw(8) << "Reads"
        << "\n"
        << std::string(98, '-') << '\n';
    for (const Figure& f : figures_) {
        out << std::setw(44) << f.name << std::setw(14) << f.value << std::setw(16) << f.goal << std::setw(6)
            << (f.met ? (*f.met ? "yes" : "NO") : "");
        if (f.io)
            out << std::setw(10) << byteText(f.io->bytes) << std::setw(8) << countText(f.io->calls) << f.ioNote;
        out << '\n';
    }
    out << "\nChecks\n" << std::string(98, '-') << '\n';
    for (const Check& c : checks_)
        out << (c.ok ? "ok    " : "FAIL  ") << c.name << (c.detail.empty() ? "" : ": ") << c.detail << '\n';
}

}  // namespace storebench
