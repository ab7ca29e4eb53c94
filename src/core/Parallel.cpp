#include "core/Parallel.h"

#include <algorithm>
#include <exception>
#include <QThread>
#include <thread>
#include <vector>

namespace orba {

int coreCount() {
    return std::max(1, QThread::idealThreadCount());
}

void runInParallel(int count, const std::function<void(int)>& work) {
    std::vector<std::exception_ptr> failures(std::size_t(std::max(count, 0)));
    auto run = [&](int part) {
        try {
            work(part);
        } catch (...) {
            failures[std::size_t(part)] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        threads.reserve(failures.size());
        for (int part = 1; part < count; ++part)
            threads.emplace_back(run, part);
        if (count > 0)
            run(0);
    } // the threads join here
    for (const std::exception_ptr& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

} // namespace orba
