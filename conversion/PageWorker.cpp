#include "conversion/PageWorker.h"

namespace Word1 {

PageWorker::PageWorker() : thread_([this] { loop(); }) {}

PageWorker::~PageWorker() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

std::future<std::exception_ptr> PageWorker::run(std::function<void()> job) {
    std::packaged_task<std::exception_ptr()> task([job = std::move(job)]() -> std::exception_ptr {
        try {
            job();
        } catch (...) {
            return std::current_exception();
        }
        return nullptr;
    });
    std::future<std::exception_ptr> result = task.get_future();
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(task));
    }
    wake_.notify_all();
    return result;
}

void PageWorker::abandon() {
    std::unique_lock lock(mutex_);
    jobs_.clear();
    idle_.wait(lock, [&] { return !running_; });
}

void PageWorker::loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return ending_ || !jobs_.empty(); });
        if (jobs_.empty()) return;  // ending, and nothing left to run
        std::packaged_task<std::exception_ptr()> task = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        task();
        lock.lock();
        running_ = false;
        idle_.notify_all();
    }
}

}  // namespace Word1
