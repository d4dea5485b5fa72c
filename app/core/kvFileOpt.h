// A worker thread with the object that runs its items. Items run one at a time, on the worker's own
// thread, in the order in which they were posted or sent. post, send and stop may be called from any
// thread.
#pragma once

#include <QObject>
#include <atomic>

#include "fileCallback.h"

class QThread;
class kvFileWork;

class kvFileOpt : public QObject {
    Q_OBJECT

public:
    explicit kvFileOpt(QObject* parent = nullptr);
    // Stops the worker when it still runs.
    ~kvFileOpt() override;

    // Queues the item and returns at once.
    void post(const fileCallback& item);
    // Returns after the item has run, that is after every item posted before it has finished. From the
    // worker's own thread (an item that sends) waiting would deadlock, so the item runs at once, ahead
    // of the items still waiting: that is the only way to keep "it has run when send returns".
    void send(const fileCallback& item);
    // Lets the item in progress finish and ends the thread, waiting for it without a time limit. Items
    // that have not started are dropped, a send waiting for one of them returns. The item in progress
    // sees QThread::isInterruptionRequested() and may end early. Later items are refused. Called from
    // an item, it cannot wait: the thread then ends after that item.
    void stop();

signals:
    // Raised by post and send, which guard against a stopped worker and against the worker's own
    // thread; emitting them directly skips those guards.
    void postFileOpt(const fileCallback& item);
    void sendData(const fileCallback& item);

private:
    static void refuse();

    QThread* thread_;
    // Deleted on its own thread when the thread finishes; null from the moment stop begins.
    std::atomic<kvFileWork*> work_{nullptr};
};
