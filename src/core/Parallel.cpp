#include "core/Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <QThread>
#include <QThreadPool>
#include <vector>

namespace orba {
namespace {

// Shared by the calling thread and the pool threads. A pool thread that starts late, even after
// the call has returned, finds no piece left and never touches `work`.
struct Job {
    Job(int count, const std::function<void(int)>& work)
        : count(count), work(work), failures(std::size_t(count)) {}

    void takePieces() {
        for (int piece; (piece = next++) < count;) {
            try {
                work(piece);
            } catch (...) {
                failures[std::size_t(piece)] = std::current_exception();
            }
        }
    }

    const int count;
    const std::function<void(int)>& work; // used only while the call runs
    std::vector<std::exception_ptr> failures;
    std::atomic<int> next = 0;
    std::mutex mutex;
    std::condition_variable helpersDone;
    int helpers = 0; // pool threads taking pieces
};

} // namespace

int coreCount() {
    return std::max(1, QThread::idealThreadCount());
}

void forEachPiece(int count, const std::function<void(int)>& work) {
    const auto job = std::make_shared<Job>(std::max(count, 0), work);
    for (int helper = 1; helper < std::min(count, coreCount()); ++helper) {
        QThreadPool::globalInstance()->start([job] {
            {
                const std::lock_guard lock(job->mutex);
                ++job->helpers;
            }
            job->takePieces();
            const std::lock_guard lock(job->mutex);
            if (--job->helpers == 0)
                job->helpersDone.notify_all();
        });
    }
    job->takePieces();
    {
        std::unique_lock lock(job->mutex);
        job->helpersDone.wait(lock, [&] { return job->helpers == 0; });
    }
    for (const std::exception_ptr& failure : job->failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

} // namespace orba
