#pragma once

#include <array>
#include <optional>

// Whether Caps Lock, Num Lock and Scroll Lock are on, in that order; nothing where the
// platform does not tell (offscreen, Wayland, a build without X11).
std::optional<std::array<bool, 3>> lockKeyStates();
