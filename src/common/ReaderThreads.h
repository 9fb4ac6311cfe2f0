// The threads that read files beside the window thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
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

// Threads kept from one page to the next, which each page hands its reading to: a thread costs
// about a millisecond under Wine to start and end, more than most pages take to read. Started as
// pages need them, as many as the system gives. Window thread only.
class ReaderPool {
  public:
    // Runs `work` on up to n of the threads; answers on how many (none when no thread could be
    // started, or while the threads still run an earlier page's work).
    static size_t Begin(size_t n, const std::function<void()>& work);
    // Waits until the threads of Begin have run their work, running `waiting` on this thread every
    // millisecond or so meanwhile.
    static void Wait(const std::function<void()>& waiting);
};
