// The threads that read files beside the window thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

// Starts a reader thread running `work`; throws std::system_error, as std::thread does, when the
// system gives no thread. Tests replace it to make a start fail.
using ReaderThreadStarter = std::thread (*)(std::function<void()> work);
extern ReaderThreadStarter gStartReaderThread;

// Threads that each run the same work, as many of those asked for as the system gives: a start
// that fails leaves the work to those started, or to the caller's own thread when none is.
// Destroying it waits for them to end.
class ReaderThreads {
  public:
    ReaderThreads() = default;
    ~ReaderThreads() { Join(); }
    ReaderThreads(const ReaderThreads&) = delete;
    ReaderThreads& operator=(const ReaderThreads&) = delete;

    // Starts up to n threads running `work`; answers how many started.
    size_t Start(size_t n, const std::function<void()>& work);
    bool empty() const { return threads_.empty(); }
    // Waits for every thread to end, running `waiting` on this thread every millisecond or so
    // meanwhile.
    void Join(const std::function<void()>& waiting = nullptr);

  private:
    std::vector<std::thread> threads_;
    std::atomic<size_t> running_{0};
};

