// The threads that read files beside the window thread.
#include "common/ReaderThreads.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

#include "ui/Win.h"

namespace {

std::thread StartThread(std::function<void()> work) { return std::thread(std::move(work)); }

}  // namespace

ReaderThreadStarter gStartReaderThread = StartThread;

size_t ReaderThreads::Start(size_t n, const std::function<void()>& work) {
    try {
        // Room first: a thread started could not be kept without it.
        threads_.reserve(threads_.size() + n);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    size_t started = 0;
    for (; started < n; ++started) {
        running_.fetch_add(1);
        try {
            threads_.push_back(gStartReaderThread([this, work] {
                work();
                running_.fetch_sub(1, std::memory_order_release);
            }));
        } catch (const std::exception&) {
            running_.fetch_sub(1);
            break;
        }
    }
    return started;
}

void ReaderThreads::Join(const std::function<void()>& waiting) {
    // A plain sleep between two looks: under Wine a wait on a thread is a round trip to the server,
    // which also opens every file the threads read.
    if (waiting)
        while (running_.load(std::memory_order_acquire) > 0) {
            Sleep(1);
            waiting();
        }
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
}

namespace {

// The pool's threads and the work of the page they read. Never destroyed: its threads wait for the
// next page until the process ends.
struct Pool {
    std::mutex mutex;
    std::condition_variable wake;
    const std::function<void()>* work = nullptr;  // under mutex, with round and wanted
    uint64_t round = 0;
    size_t wanted = 0;  // the threads below this place run the round's work
    std::atomic<size_t> running{0};
    std::vector<std::thread> threads;
    bool busy = false;  // window thread only

    void Serve(size_t place) {
        uint64_t seen = 0;
        for (;;) {
            const std::function<void()>* next;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return round != seen; });
                seen = round;
                if (place >= wanted) continue;
                next = work;
            }
            (*next)();
            running.fetch_sub(1, std::memory_order_release);
        }
    }
};

Pool& ThePool() {
    static Pool* pool = new Pool;
    return *pool;
}

}  // namespace

ReaderPool::ReaderPool(size_t n, const std::function<void()>& work, std::atomic<bool>& stop) : stop_(stop) {
    Pool& pool = ThePool();
    if (pool.busy || n == 0) return;
    try {
        pool.threads.reserve(n);
        while (pool.threads.size() < n) {
            const size_t place = pool.threads.size();
            pool.threads.push_back(gStartReaderThread([&pool, place] { pool.Serve(place); }));
        }
    } catch (const std::exception&) {
        // Fewer threads: those there are do the work.
    }
    threads_ = std::min(n, pool.threads.size());
    if (threads_ == 0) return;
    pool.running = threads_;
    {
        std::lock_guard lock(pool.mutex);
        pool.work = &work;
        pool.wanted = threads_;
        ++pool.round;
    }
    pool.wake.notify_all();
    pool.busy = true;
}

ReaderPool::~ReaderPool() {
    if (threads_ == 0) return;
    Pool& pool = ThePool();
    if (pool.running.load(std::memory_order_acquire) > 0) {
        stop_ = true;
        while (pool.running.load(std::memory_order_acquire) > 0) Sleep(1);
    }
    pool.busy = false;
}

void ReaderPool::Wait(const std::function<void()>& waiting) {
    if (threads_ == 0) return;
    const Pool& pool = ThePool();
    while (pool.running.load(std::memory_order_acquire) > 0) {
        Sleep(1);
        if (waiting) waiting();
    }
}

size_t ReaderPool::Running() { return ThePool().running.load(std::memory_order_acquire); }
