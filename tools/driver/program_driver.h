#pragma once

// Drives the built programs from outside, as a user would: start them, find their window,
// press Escape, read the screen. Shared by the end-to-end tests, the benchmark and the tools.
#include <windows.h>

#include <string>

const COLORREF kDarkBlue = RGB(0, 0, 0x50);
const DWORD kStartTimeout = 20000;
// Generous: outside a virtual desktop, with no window manager, Wine waits about two seconds
// whenever a window is destroyed.
const DWORD kExitTimeout = 15000;
const int kDefaultShow = -1;

// The path of a program that sits beside this executable.
std::string ProgramPath(const char* exe);
// Starts a program that sits beside this executable; hProcess is null if it could not start.
PROCESS_INFORMATION StartProgram(const char* exe, const std::string& arguments = "",
                                 int showCommand = kDefaultShow);
bool Running(const PROCESS_INFORMATION& process);
// Terminates the program if it is still running, and closes its handles.
void EndProgram(PROCESS_INFORMATION& process);

// The program's main window once it is shown, found by its process and class; null if it
// does not come within the timeout.
HWND WaitForMainWindow(const PROCESS_INFORMATION& process, DWORD timeout = kStartTimeout);

// The exit code, or STILL_ACTIVE if the program has not ended in time.
DWORD WaitForExit(const PROCESS_INFORMATION& process, DWORD timeout = kExitTimeout);

void SendEscape(DWORD flags);
// Holds Escape down until the program has ended, and returns its exit code.
DWORD HoldEscapeUntilExit(const PROCESS_INFORMATION& process);

// Every point of a 5 x 5 grid over the client area, corners included, is dark blue; if not,
// says which point is not.
bool ClientIsDarkBlue(HWND window, std::string* firstMiss);
// Whether the screen shows dark blue at the centre of the window's client area.
bool CentreIsDarkBlue(HWND window);

// Private memory in bytes of a running program.
SIZE_T PrivateBytes(HANDLE process);
// Its USER and GDI object counts; false where the platform does not count them (Wine).
bool GuiObjects(HANDLE process, DWORD* user, DWORD* gdi);
