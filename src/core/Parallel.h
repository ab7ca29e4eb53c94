#pragma once

#include <functional>

namespace orba {

// How many parts of a long computation are worth running at the same time here.
int coreCount();

// Runs work(0) to work(count - 1) at the same time: part 0 in the calling thread, every other
// part in a thread of its own. Returns when all parts are done, and then rethrows the exception
// of the first part that failed.
void runInParallel(int count, const std::function<void(int)>& work);

} // namespace orba
