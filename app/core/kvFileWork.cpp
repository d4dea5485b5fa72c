#include "kvFileWork.h"

void kvFileWork::dropWaiting() {
    dropping_ = true;
}

void kvFileWork::recvFileOpt(const fileCallback& item) {
    run(item);
}

void kvFileWork::recvSendData(const fileCallback& item) {
    run(item);
}

void kvFileWork::run(const fileCallback& item) const {
    if (item && !dropping_)
        item();
}
