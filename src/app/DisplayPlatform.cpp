// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayPlatform.h"

namespace {

bool Set(const char* value) {
    return value != nullptr && *value != '\0';
}

} // namespace

std::vector<std::string> PlatformArguments(const char* requestedPlatform, const char* display) {
    if (Set(requestedPlatform) || !Set(display))
        return {};
    // X11 first; a DISPLAY whose server cannot be reached still leaves Wayland.
    return {"-platform", "xcb;wayland"};
}

bool WindowPlacesKnown(const std::string& platformName) {
    return platformName.rfind("wayland", 0) != 0;
}
