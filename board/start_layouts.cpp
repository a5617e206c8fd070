#include "start_layouts.h"

#include <chrono>
#include <random>

namespace tarpo {

int DrawLayoutFromClock() {
    // A fresh seed at every new game, as a player restarting quickly would
    // still expect an independent deal.
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    std::mt19937 generator(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
    std::uniform_int_distribution<int> layout(0, kLayoutCount - 1);
    return layout(generator);
}

}  // namespace tarpo
