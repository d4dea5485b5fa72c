#include "SpanQueryCommand.h"

#include <memory>

#include "AttachedStore.h"
#include "Failure.h"

namespace tarn {

void addSpanQueryCommand(CLI::App& app, const char* name, const char* description, int& exitStatus,
                         SpanQueryBody body) {
    auto* command = app.add_subcommand(name, description);
    auto options = std::make_shared<QueryOptions>();
    auto span = std::make_shared<TimeSpanOptions>();
    addQueryOptions(*command, *options);
    addTimeSpanOptions(*command, *span);
    command->callback([options, span, body = std::move(body), &exitStatus] {
        runReportingFailure(exitStatus, [&] {
            const Query query = resolveQuery(*options);
            const TimeSpan times = resolveTimeSpan(*span);
            const AttachedStore store(query.store, query.sd);
            body(query, times);
        });
    });
}

}  // namespace tarn
