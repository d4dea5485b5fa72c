#include "kvFileOpt.h"

#include <QThread>
#include <QtDebug>

#include "kvFileWork.h"

kvFileOpt::kvFileOpt(QObject* parent) : QObject(parent), thread_(new QThread(this)) {
    qRegisterMetaType<fileCallback>("fileCallback");
    auto* const work = new kvFileWork;
    work->moveToThread(thread_);
    connect(this, &kvFileOpt::postFileOpt, work, &kvFileWork::recvFileOpt, Qt::QueuedConnection);
    connect(this, &kvFileOpt::sendData, work, &kvFileWork::recvSendData, Qt::BlockingQueuedConnection);
    // Deleting the work object also discards the queued items it never ran, and wakes a waiting send.
    connect(thread_, &QThread::finished, work, &QObject::deleteLater);
    work_ = work;
    thread_->start(QThread::InheritPriority);
}

kvFileOpt::~kvFileOpt() {
    stop();
}

void kvFileOpt::post(const fileCallback& item) {
    if (work_ == nullptr)
        refuse();
    else
        emit postFileOpt(item);
}

void kvFileOpt::send(const fileCallback& item) {
    kvFileWork* const work = work_;
    if (work == nullptr)
        refuse();
    else if (QThread::currentThread() == thread_)
        work->recvSendData(item);  // cannot be deleted meanwhile: that happens on this thread
    else
        emit sendData(item);
}

void kvFileOpt::stop() {
    // Only the caller that takes the pointer ends the thread, so the object is not deleted under it.
    if (kvFileWork* const work = work_.exchange(nullptr)) {
        work->dropWaiting();
        thread_->requestInterruption();
        thread_->quit();
    }
    thread_->wait();
}

void kvFileOpt::refuse() {
    qWarning("kvFileOpt: the worker has stopped; the item is dropped");
}
