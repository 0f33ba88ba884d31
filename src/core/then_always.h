// Work with a step that must follow it whether the work returns or throws: an end of file work,
// a window placed after its show.
#pragma once

namespace core {

template <class Work, class After>
void ThenAlways(Work&& work, After&& after) {
    try {
        work();
    } catch (...) {
        after();
        throw;
    }
    after();
}

}  // namespace core
