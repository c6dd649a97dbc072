// Pictures of what is on the screen: a window once it has painted, saved as
// a 24-bit BMP (the screenshot script turns them into PNGs).
#pragma once

#include <windows.h>

#include <string>

#include "tests/win32/message_pump.h"

// Paints the window and its children now, lets what follows (gauges, list
// views filling in, Wine's flush to the display) run, then returns.
void Settle(HWND window);

// Saves the screen's pixels inside the rectangle (clipped to the screen).
bool SaveScreenRect(RECT rect, const std::string& path);
// The window's on-screen rectangle, frame and caption included.
bool SaveWindow(HWND window, const std::string& path);
