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
// pages need them, as many as the system gives. A ReaderPool is one page's turn on them, made and
// waited for on the window thread. However the turn is left, an exception from what runs during the
// wait included, its threads are told to stop (`stop`) and waited for, without running events,
// before it goes: no thread is still at the work of a frame that is gone, and the next page finds
// them free.
class ReaderPool {
  public:
    // Runs `work` on up to n of the threads: none when no thread could be started, or while the
    // threads still run the work of a turn made before (one whose wait runs events that make
    // another page).
    ReaderPool(size_t n, const std::function<void()>& work, std::atomic<bool>& stop);
    ~ReaderPool();
    ReaderPool(const ReaderPool&) = delete;
    ReaderPool& operator=(const ReaderPool&) = delete;

    // How many threads run the work.
    size_t threads() const { return threads_; }
    // Waits until the threads have run the work, running `waiting` on this thread every millisecond
    // or so meanwhile.
    void Wait(const std::function<void()>& waiting);
    // How many threads still run the work of a turn.
    static size_t Running();

  private:
    size_t threads_ = 0;
    std::atomic<bool>& stop_;
};
