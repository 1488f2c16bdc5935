#include "hotfix/WindowsUpdateTurn.h"

namespace WindowsHotfix {

std::mutex& WindowsUpdateTurn() {
    // Leaked on purpose: detached workers may still take it at exit.
    static std::mutex* const turn = new std::mutex;
    return *turn;
}

}  // namespace WindowsHotfix
