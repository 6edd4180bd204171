// SPDX-License-Identifier: MIT
#include "mainwindow/WorkerThread.h"

namespace pixtint {

WorkerThread::~WorkerThread() {
    abandonAndWait();
}

void WorkerThread::start(std::function<void()> run) {
    thread_.reset(QThread::create(std::move(run)));
    thread_->start();
}

void WorkerThread::showBoxAndWait(const std::function<void()>& showBox) {
    std::unique_lock lock(mutex_);
    if (abandoned_) {
        return;
    }
    waitingForBox_ = true;
    showBox();
    boxClosed_.wait(lock, [this] { return !waitingForBox_ || abandoned_; });
}

void WorkerThread::boxClosed() {
    {
        const std::lock_guard lock(mutex_);
        waitingForBox_ = false;
    }
    boxClosed_.notify_all();
}

void WorkerThread::abandonAndWait() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    boxClosed_.notify_all();
    if (thread_) {
        thread_->wait();
    }
}

bool WorkerThread::abandoned() const {
    const std::lock_guard lock(mutex_);
    return abandoned_;
}

} // namespace pixtint
