// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology (a screen reader, through the at-spi bus) reads of the game's own
// widgets where Qt's own interfaces cannot know: the message windows' gradient buttons are buttons
// with their caption as name, and a top-level window of the game's own is a window rather than an
// unnamed part of one. The tool buttons name themselves by their hints (TStyleSpeedButton), the
// status display by what it shows (StatusPanel).
#pragma once

// Installs the interfaces for the whole program; a second call changes nothing.
void InstallAccessibleInterfaces();
