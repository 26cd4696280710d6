#include "window.h"

#include <gtest/gtest.h>

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// Takes the queue's WM_QUIT, if any; returns its wParam or -1.
INT_PTR TakeQuit() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return -1;
  return static_cast<INT_PTR>(message.wParam);
}

void DestroyMainWindow(HWND window) {
  DestroyWindow(window);
  TakeQuit();
  UnregisterClassA("WindowClass1", Instance());
}

TEST(MainWindow, IsCreatedAndShownAsItsClassSays) {
  HWND window = CreateMainWindow(Instance(), "Test Window", SW_SHOWNA);
  ASSERT_NE(nullptr, window);

  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  ASSERT_TRUE(GetClassInfoExA(Instance(), "WindowClass1", &windowClass));
  EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), windowClass.style);
  EXPECT_EQ(&WindowProc, windowClass.lpfnWndProc);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(5), windowClass.hbrBackground);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), windowClass.hCursor);
  EXPECT_EQ(nullptr, windowClass.lpszMenuName);
  EXPECT_EQ(0, windowClass.cbClsExtra + windowClass.cbWndExtra);

  char title[64] = {};
  GetWindowTextA(window, title, sizeof(title));
  EXPECT_STREQ("Test Window", title);
  const RECT atCreation = {100, 100, 740, 580};  // 640 x 480 outside, frame included
  RECT outer = {};
  GetWindowRect(window, &outer);
  EXPECT_TRUE(EqualRect(&atCreation, &outer))
      << outer.left << "," << outer.top << " - " << outer.right << "," << outer.bottom;
  RECT client;
  GetClientRect(window, &client);
  EXPECT_LT(client.right, 640) << "the frame is inside the 640 x 480";
  EXPECT_LT(client.bottom, 480);
  EXPECT_TRUE(IsWindowVisible(window));

  DestroyMainWindow(window);
}

TEST(MainWindow, DestroyAsksToQuitWithZeroAndLeavesTheWindowStanding) {
  HWND window = CreateMainWindow(Instance(), "Test Window", SW_SHOWNA);
  ASSERT_NE(nullptr, window);
  TakeQuit();

  // As when Escape is held over several passes: each one asks again, none does harm.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(0, SendMessageA(window, WM_DESTROY, 0, 0));
    EXPECT_EQ(0, TakeQuit());
    EXPECT_TRUE(IsWindow(window));
  }
  // Everything else is the default handling.
  EXPECT_EQ(DefWindowProcA(window, WM_GETTEXTLENGTH, 0, 0),
            SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
  EXPECT_EQ(-1, TakeQuit());

  DestroyMainWindow(window);
}

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return FALSE;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(MainWindow, FailedCreationGivesNoWindow) {
  // A class of that name already registered with a procedure that refuses every window:
  // registration and creation both fail.
  WNDCLASSEXA refusing = {};
  refusing.cbSize = sizeof(refusing);
  refusing.lpfnWndProc = RefuseCreation;
  refusing.hInstance = Instance();
  refusing.lpszClassName = "WindowClass1";
  ASSERT_TRUE(RegisterClassExA(&refusing));

  EXPECT_EQ(nullptr, CreateMainWindow(Instance(), "Test Window", SW_SHOWNA));

  UnregisterClassA("WindowClass1", Instance());
}

}  // namespace
