#include "start_layouts.h"

#include <chrono>

namespace tarpo {

// The clock as well as the device: where std::random_device is a fixed
// sequence (as some C libraries make it), the clock still varies.
std::uint32_t LayoutPicker::FreshSeed() {
    std::random_device device;
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    return device() ^ static_cast<std::uint32_t>(now ^ (now >> 32));
}

}  // namespace tarpo
