#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace Word1 {

// One thread that runs a document's page jobs in order, beside the user-interface thread. It
// lives as long as the document: programs it starts get their end-of-parent signal when the
// thread that started them ends, so it must outlive every converter it started.
class PageWorker {
  public:
    PageWorker();
    ~PageWorker();  // runs what is queued, then ends the thread
    PageWorker(const PageWorker&) = delete;
    PageWorker& operator=(const PageWorker&) = delete;

    // Queues the job; the future gives its failure, or null.
    std::future<std::exception_ptr> run(std::function<void()> job);

    // Drops the jobs not yet begun and waits for the one running to return: afterwards nothing of
    // this worker writes a file or starts a program. For ending the program in the middle of a page.
    void abandon();

  private:
    void loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::packaged_task<std::exception_ptr()>> jobs_;
    bool ending_ = false;
    bool running_ = false;  // a job is being run
    std::thread thread_;
};

}  // namespace Word1
