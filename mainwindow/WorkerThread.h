// SPDX-License-Identifier: MIT
#pragma once

#include <QThread>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace pixtint {

// A long run's own thread, and the pause the run takes while the window shows the user a box
// about it: the run asks for the box and waits until the window says it was closed. Once the
// window goes (abandonAndWait), the run shows nothing more and waits for nothing.
class WorkerThread {
public:
    WorkerThread() = default;
    // Abandons the run and waits for it.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    void start(std::function<void()> run);
    // On the run's thread: `showBox` posts the box to the window, and the run waits until
    // boxClosed() or the window goes. Nothing is posted once the window is going.
    void showBoxAndWait(const std::function<void()>& showBox);
    // On the window's thread: the box was closed, the run goes on.
    void boxClosed();
    // The window is going: a run waiting for a box goes on, and this waits until the run ends.
    // The run itself must be told to stop.
    void abandonAndWait();
    bool abandoned() const;

private:
    std::unique_ptr<QThread> thread_;
    mutable std::mutex mutex_; // guards what follows
    std::condition_variable boxClosed_;
    bool waitingForBox_ = false;
    bool abandoned_ = false;
};

} // namespace pixtint
