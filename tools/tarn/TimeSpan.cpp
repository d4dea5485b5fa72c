#include "TimeSpan.h"

#include "Failure.h"

namespace tarn {
namespace {

rfs::CalendarTime parseSpanEnd(const char* option, const std::string& text) {
    const auto time = rfs::parseTime(text);
    if (!time)
        throw Failure(std::string(option) +
                      " takes a time of the form \"YYYY-MM-DD HH:MM:SS\" (years 2000 to 2063), not \"" + text + "\"");
    return *time;
}

}  // namespace

void addTimeSpanOptions(CLI::App& command, TimeSpanOptions& options, SpanOptions kind) {
    auto* from = command.add_option("--from", options.from, "Start of the span, \"YYYY-MM-DD HH:MM:SS\"");
    auto* to = command.add_option("--to", options.to, "End of the span, \"YYYY-MM-DD HH:MM:SS\" (included)");
    if (kind == SpanOptions::Required) {
        from->required();
        to->required();
    } else {
        options.from = "2000-01-01 00:00:00";
        options.to = "2063-12-31 23:59:59";
    }
}

TimeSpan resolveTimeSpan(const TimeSpanOptions& options) {
    const TimeSpan span{parseSpanEnd("--from", options.from), parseSpanEnd("--to", options.to)};
    if (rfs::packTime(span.from) > rfs::packTime(span.to))
        throw Failure("the span is empty: --from " + rfs::formatTime(span.from) + " lies after --to " +
                      rfs::formatTime(span.to));
    return span;
}

}  // namespace tarn
