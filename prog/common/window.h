#pragma once

#include <windows.h>

// Exit code of a program whose main window could not be registered or created.
constexpr int kExitNoWindow = 1;

// Registers "WindowClass1", creates the 640 x 480 main window at (100, 100) and shows it with
// the start-up show command. Returns null if the window could not be created.
HWND CreateMainWindow(HINSTANCE instance, const char* title, int showCommand);

// Turns the window's destruction into the request to leave the frame loop.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
