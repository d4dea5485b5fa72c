// A work item for a worker thread: a callable without arguments or result that holds its captures by
// value. Registered with the meta-type system so that it can travel in queued signals.
#pragma once

#include <QMetaType>
#include <functional>

using fileCallback = std::function<void()>;

Q_DECLARE_METATYPE(fileCallback)
