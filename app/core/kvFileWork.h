// The object that lives on a worker thread and runs the items handed to it, one at a time.
#pragma once

#include <QObject>
#include <atomic>

#include "fileCallback.h"

class kvFileWork : public QObject {
    Q_OBJECT

public:
    // From any thread: items that have not started yet are skipped from now on. A queued event that
    // was already being taken off the queue when the worker stops would otherwise still run.
    void dropWaiting();

public slots:
    // Both run the item unless it is empty or waiting items are being dropped.
    void recvFileOpt(const fileCallback& item);
    void recvSendData(const fileCallback& item);

private:
    void run(const fileCallback& item) const;

    std::atomic<bool> dropping_{false};
};
