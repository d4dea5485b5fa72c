// The worker thread pair: order, one item at a time, blocking hand-over, stopping and empty items.
#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QSet>
#include <QThread>
#include <QVector>
#include <QtTest>
#include <atomic>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include <unistd.h>

#include "kvFileOpt.h"

namespace {

// Generous: the machine may be loaded; no test waits this long when it passes.
constexpr int kWaitMs = 30000;

// What the items saw: the order in which they ran, their threads, and how many ran at once.
class RunLog {
public:
    void enter() {
        QMutexLocker locker(&mutex_);
        mostAtOnce_ = qMax(mostAtOnce_, ++running_);
    }
    void leave(int id) {
        QMutexLocker locker(&mutex_);
        --running_;
        ids_.append(id);
        threads_.insert(QThread::currentThread());
    }
    void add(int id) {
        enter();
        leave(id);
    }
    QVector<int> ids() const {
        QMutexLocker locker(&mutex_);
        return ids_;
    }
    QSet<QThread*> threads() const {
        QMutexLocker locker(&mutex_);
        return threads_;
    }
    int mostAtOnce() const {
        QMutexLocker locker(&mutex_);
        return mostAtOnce_;
    }

private:
    mutable QMutex mutex_;
    QVector<int> ids_;
    QSet<QThread*> threads_;
    int running_ = 0;
    int mostAtOnce_ = 0;
};

// An item that tells it has started and then holds the worker until the worker is being stopped. It
// logs `id` when it saw the stop, -`id` when it gave up waiting.
fileCallback holdUntilStopped(QSemaphore& started, RunLog& log, int id) {
    return [&started, &log, id] {
        started.release();
        QDeadlineTimer deadline(kWaitMs);
        while (!QThread::currentThread()->isInterruptionRequested() && !deadline.hasExpired())
            QThread::msleep(1);
        log.add(QThread::currentThread()->isInterruptionRequested() ? id : -id);
    };
}

// Whether the kernel reports the thread `id` of this process as sleeping.
bool threadSleeps(pid_t id) {
    std::ifstream stat("/proc/self/task/" + std::to_string(id) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The state follows the command name, which is in parentheses and may hold any character.
    const std::size_t nameEnd = line.rfind(')');
    return nameEnd != std::string::npos && nameEnd + 2 < line.size() && line[nameEnd + 2] == 'S';
}

// Counts the warnings of refused items while it exists; every message still reaches the test log.
class RefusalCounter {
public:
    RefusalCounter() {
        count_ = 0;
        previous_ = qInstallMessageHandler(handle);
    }
    ~RefusalCounter() { qInstallMessageHandler(previous_); }
    RefusalCounter(const RefusalCounter&) = delete;
    RefusalCounter& operator=(const RefusalCounter&) = delete;

    int count() const { return count_; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtWarningMsg && message.contains("the worker has stopped"))
            ++count_;
        if (previous_ != nullptr)
            previous_(type, context, message);
    }

    static inline QtMessageHandler previous_ = nullptr;
    static inline std::atomic<int> count_ = 0;
};

// Returns when every item posted so far has run, or the wait gave up.
bool drain(kvFileOpt& worker) {
    QSemaphore done;
    worker.post([&done] { done.release(); });
    return done.tryAcquire(1, kWaitMs);
}

}  // namespace

class WorkerTest : public QObject {
    Q_OBJECT

private slots:
    void postedItemsRunInOrderOneAtATimeOnTheWorkerThread() {
        kvFileOpt worker;
        RunLog log;
        for (int id = 1; id <= 3; ++id) {
            worker.post([&log, id] {
                log.enter();
                // Gives an item running beside this one the time to be seen; passing does not depend on it.
                QThread::msleep(20);
                log.leave(id);
            });
        }
        QVERIFY(drain(worker));
        QCOMPARE(log.ids(), (QVector<int>{1, 2, 3}));
        QCOMPARE(log.mostAtOnce(), 1);
        QCOMPARE(log.threads().size(), 1);
        QVERIFY(!log.threads().contains(QThread::currentThread()));
    }

    void sendReturnsAfterTheRunningItemAndItself() {
        kvFileOpt worker;
        RunLog log;
        QSemaphore started;
        QSemaphore release;
        worker.post([&] {
            started.release();
            release.tryAcquire(1, kWaitMs);
            log.add(1);
        });
        QVERIFY(started.tryAcquire(1, kWaitMs));
        // The pause lets a send that does not wait return before the running item ends.
        std::jthread releaser([&release] {
            QThread::msleep(100);
            release.release();
        });
        worker.send([&log] { log.add(2); });
        QCOMPARE(log.ids(), (QVector<int>{1, 2}));
        QVERIFY(!log.threads().contains(QThread::currentThread()));
    }

    void stoppingDropsWaitingItems_data() {
        QTest::addColumn<bool>("byDestruction");
        QTest::newRow("stop") << false;
        QTest::newRow("destruction") << true;
    }

    void stoppingDropsWaitingItems() {
        QFETCH(bool, byDestruction);
        auto worker = std::make_unique<kvFileOpt>();
        RunLog log;
        QSemaphore started;
        const auto captured = std::make_shared<int>();
        // Posted together, the waiting items are usually in the batch of events the thread is taking
        // off its queue when the stop comes.
        worker->post(holdUntilStopped(started, log, 1));
        worker->post([&log, captured] { log.add(2); });
        worker->post([&log, captured] { log.add(3); });
        QVERIFY(started.tryAcquire(1, kWaitMs));
        if (byDestruction)
            worker.reset();
        else
            worker->stop();
        QCOMPARE(log.ids(), QVector<int>{1});
        // The dropped items were destroyed, not kept somewhere.
        QCOMPARE(captured.use_count(), 1L);
    }

    void aSendWaitingWhenTheWorkerStopsReturns() {
        kvFileOpt worker;
        RunLog log;
        QSemaphore started;
        worker.post(holdUntilStopped(started, log, 1));
        QVERIFY(started.tryAcquire(1, kWaitMs));
        RefusalCounter refusals;
        std::atomic<pid_t> senderId = 0;
        std::atomic<bool> sendReturned = false;
        std::jthread sender([&] {
            senderId = gettid();
            worker.send([&log] { log.add(2); });
            sendReturned = true;
        });
        // Once past the check for a stopped worker the send only sleeps while its item waits behind the
        // running one. A stop before that would refuse the send and test nothing.
        QVERIFY(QTest::qWaitFor([&] { return sendReturned || (senderId != 0 && threadSleeps(senderId)); }, kWaitMs));
        QVERIFY2(!sendReturned, "the send returned before the worker was stopped");
        worker.stop();
        sender.join();
        QCOMPARE(refusals.count(), 0);
        QCOMPARE(log.ids(), QVector<int>{1});
    }

    void itemsAfterStopAreRefused() {
        kvFileOpt worker;
        worker.stop();
        RunLog log;
        QTest::ignoreMessage(QtWarningMsg, "kvFileOpt: the worker has stopped; the item is dropped");
        worker.post([&log] { log.add(1); });
        QTest::ignoreMessage(QtWarningMsg, "kvFileOpt: the worker has stopped; the item is dropped");
        worker.send([&log] { log.add(2); });
        QVERIFY(log.ids().isEmpty());
    }

    void sendFromAnItemRunsAtOnce() {
        kvFileOpt worker;
        RunLog log;
        worker.post([&] {
            worker.send([&log] { log.add(1); });
            log.add(2);
        });
        QVERIFY(drain(worker));
        QCOMPARE(log.ids(), (QVector<int>{1, 2}));
        QCOMPARE(log.mostAtOnce(), 1);
    }

    void emptyItemsDoNothingAndDoNotBlockLaterOnes_data() {
        QTest::addColumn<bool>("sent");
        QTest::newRow("posted") << false;
        QTest::newRow("sent") << true;
    }

    void emptyItemsDoNothingAndDoNotBlockLaterOnes() {
        QFETCH(bool, sent);
        kvFileOpt worker;
        RunLog log;
        if (sent)
            worker.send(fileCallback());
        else
            worker.post(fileCallback());
        worker.post([&log] { log.add(1); });
        worker.send([&log] { log.add(2); });
        QCOMPARE(log.ids(), (QVector<int>{1, 2}));
    }
};

QTEST_GUILESS_MAIN(WorkerTest)
#include "WorkerTest.moc"
