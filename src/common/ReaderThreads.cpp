// The threads that read files beside the window thread.
#include "common/ReaderThreads.h"

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
