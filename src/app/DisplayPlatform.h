// SPDX-License-Identifier: GPL-3.0-or-later
// Which display platform the game asks Qt for. Its window places, the editor beside the main window
// and the editor's empty caption rest on X11: a Wayland compositor places windows itself and tells no
// client where they are. So wherever an X server is there (DISPLAY set, as under XWayland in every
// GNOME or Plasma Wayland session) the game runs on X11, unless the player chose a platform
// (QT_QPA_PLATFORM); where only Wayland is there, Qt's own choice stands.
#pragma once

#include <string>
#include <vector>

// The arguments to put before the program's own for QApplication: "-platform xcb;wayland", or none. Both
// values are the environment's, null where a variable is not set.
std::vector<std::string> PlatformArguments(const char* requestedPlatform, const char* display);

// Whether windows on the platform Qt runs on can know where they stand on the screen.
bool WindowPlacesKnown(const std::string& platformName);
