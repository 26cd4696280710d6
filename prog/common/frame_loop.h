#pragma once

#include <windows.h>

// The per-pass work a program hands to the loop; null for none.
using FrameWork = void (*)();

// The platform operations the loop touches, so that a test can script them.
struct MessageOps {
  BOOL(WINAPI* peekMessage)(LPMSG, HWND, UINT, UINT, UINT);
  BOOL(WINAPI* translateMessage)(const MSG*);
  LRESULT(WINAPI* dispatchMessage)(const MSG*);
  SHORT(WINAPI* getAsyncKeyState)(int);
  BOOL(WINAPI* postMessage)(HWND, UINT, WPARAM, LPARAM);
};

// Runs the non-blocking loop until WM_QUIT and returns that message's wParam. Each pass:
// drain the queue, quit test, frame work, Escape poll.
int RunFrameLoop(HWND window, FrameWork frameWork);

// The same loop over the given operations; RunFrameLoop passes user32's own.
int RunFrameLoopWith(const MessageOps& ops, HWND window, FrameWork frameWork);
