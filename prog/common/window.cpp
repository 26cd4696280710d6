#include "window.h"

namespace {
const char kClassName[] = "WindowClass1";
}

HWND CreateMainWindow(HINSTANCE instance, const char* title, int showCommand) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  // COLOR_WINDOW itself, not the usual COLOR_WINDOW + 1: the platform reads it as system
  // colour 4, the menu colour, which is the background this window has always had.
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW));
  windowClass.lpszClassName = kClassName;
  RegisterClassExA(&windowClass);

  // 640 x 480 is the outer size, frame and caption included.
  HWND window = CreateWindowExA(0, kClassName, title, WS_OVERLAPPEDWINDOW, 100, 100, 640, 480,
                                nullptr, nullptr, instance, nullptr);
  if (window) ShowWindow(window, showCommand);
  return window;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
