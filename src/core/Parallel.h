#pragma once

#include <functional>

namespace orba {

// How many parts of a long computation are worth running at the same time here.
int coreCount();

// Runs work(0) to work(count - 1), each once, on the calling thread and on up to coreCount() - 1
// threads of the global pool, each taking the next piece when done with one. A pool thread that
// has not begun by the time the calling thread has taken the last piece takes none, so a core
// busy with other work never holds the caller up. Returns when all pieces are done, and then
// rethrows the exception of the first piece that failed.
void forEachPiece(int count, const std::function<void(int)>& work);

} // namespace orba
