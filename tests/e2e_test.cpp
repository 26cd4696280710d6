// Starts the built programs as a user would and watches them from outside: their window,
// the pixels on the screen, and the exit code.
#include <windows.h>

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

const COLORREF kDarkBlue = RGB(0, 0, 0x50);
const DWORD kStartTimeout = 20000;
// Without a window manager Wine waits about two seconds when a window is destroyed.
const DWORD kExitTimeout = 15000;
const int kDefaultShow = -1;

std::string ProgramPath(const char* exe) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1) + exe;
}

PROCESS_INFORMATION Start(const char* exe, const std::string& arguments = "",
                          int showCommand = kDefaultShow) {
  std::string commandLine = "\"" + ProgramPath(exe) + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  if (showCommand != kDefaultShow) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
  }
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process))
      << commandLine;
  return process;
}

bool Running(const PROCESS_INFORMATION& process) {
  return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  Search* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof(className));
  if (owner != search->processId || strcmp(className, "WindowClass1") != 0 ||
      !IsWindowVisible(window))
    return TRUE;
  search->found = window;
  return FALSE;
}

// The program's main window once it is shown, found by its process and class; null if it
// never comes.
HWND WaitForMainWindow(const PROCESS_INFORMATION& process) {
  Search search = {process.dwProcessId, nullptr};
  for (DWORD waited = 0; waited < kStartTimeout && Running(process); waited += 50) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  }
  return nullptr;
}

// The exit code, or STILL_ACTIVE if the program has not ended in time.
DWORD WaitForExit(const PROCESS_INFORMATION& process, DWORD timeout = kExitTimeout) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, timeout) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  return code;
}

void SendEscape(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_ESCAPE;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

// Holds Escape down until the program has ended, and returns its exit code. Like a real
// keyboard the held key repeats: Wine re-reads the X keyboard when a window takes the focus,
// which can lift a key that was pressed only once.
DWORD HoldEscapeUntilExit(const PROCESS_INFORMATION& process) {
  DWORD code = STILL_ACTIVE;
  for (DWORD waited = 0; waited < kExitTimeout && code == STILL_ACTIVE; waited += 50) {
    SendEscape(0);
    code = WaitForExit(process, 50);
  }
  SendEscape(KEYEVENTF_KEYUP);
  return code;
}

std::string WindowText(HWND window) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

// Every point of a 5 x 5 grid over the client area, corners included, is dark blue.
bool ClientIsDarkBlue(HWND window, std::string* firstMiss) {
  RECT client;
  if (!GetClientRect(window, &client) || client.right < 2 || client.bottom < 2) return false;
  HDC screen = GetDC(nullptr);
  bool all = true;
  for (int row = 0; row < 5 && all; ++row) {
    for (int column = 0; column < 5 && all; ++column) {
      POINT point = {column * (client.right - 1) / 4, row * (client.bottom - 1) / 4};
      POINT onScreen = point;
      ClientToScreen(window, &onScreen);
      COLORREF colour = GetPixel(screen, onScreen.x, onScreen.y);
      if (colour != kDarkBlue) {
        char miss[96];
        snprintf(miss, sizeof(miss), "client (%ld, %ld) is %06lX", point.x, point.y, colour);
        *firstMiss = miss;
        all = false;
      }
    }
  }
  ReleaseDC(nullptr, screen);
  return all;
}

::testing::AssertionResult TurnsDarkBlue(HWND window) {
  std::string miss = "no client area";
  for (int waited = 0; waited < 10000; waited += 100) {
    if (ClientIsDarkBlue(window, &miss)) return ::testing::AssertionSuccess();
    Sleep(100);
  }
  return ::testing::AssertionFailure() << "not dark blue after 10 s: " << miss;
}

void ExpectWindowAsCreated(HWND window, const char* title) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof(className));
  EXPECT_STREQ("WindowClass1", className);
  EXPECT_EQ(title, WindowText(window));
  RECT outer = {};
  GetWindowRect(window, &outer);
  EXPECT_EQ(100, outer.left);
  EXPECT_EQ(100, outer.top);
  EXPECT_EQ(740, outer.right);
  EXPECT_EQ(580, outer.bottom);
  EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW),
            GetWindowLongA(window, GWL_STYLE) & static_cast<LONG>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(0, GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
  EXPECT_TRUE(IsWindowVisible(window));
}

struct ProgramCase {
  const char* exe;
  const char* title;
};

// Every program started in a test ends with it, whatever the test's outcome.
class Programs : public ::testing::Test {
 protected:
  PROCESS_INFORMATION Launch(const char* exe, const std::string& arguments = "",
                             int showCommand = kDefaultShow) {
    started_.push_back(Start(exe, arguments, showCommand));
    return started_.back();
  }
  void TearDown() override {
    SendEscape(KEYEVENTF_KEYUP);
    for (PROCESS_INFORMATION& process : started_) {
      if (Running(process)) {
        ADD_FAILURE() << "a program was still running at the end of the test";
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kExitTimeout);
      }
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }

 private:
  std::vector<PROCESS_INFORMATION> started_;
};

class ProgramTest : public Programs, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(ProgramTest, ShowsItsWindowAsCreated) {
  PROCESS_INFORMATION program = Launch(GetParam().exe);
  HWND window = WaitForMainWindow(program);
  ASSERT_NE(nullptr, window);
  ExpectWindowAsCreated(window, GetParam().title);
  EXPECT_EQ(0u, HoldEscapeUntilExit(program));
}

TEST_P(ProgramTest, IgnoresItsArguments) {
  PROCESS_INFORMATION program = Launch(GetParam().exe, "/? --help -x \"two words\" 0 ESC");
  HWND window = WaitForMainWindow(program);
  ASSERT_NE(nullptr, window);
  ExpectWindowAsCreated(window, GetParam().title);
  Sleep(500);
  EXPECT_TRUE(Running(program));
  EXPECT_EQ(0u, HoldEscapeUntilExit(program));
}

TEST_P(ProgramTest, ShowsTheStartUpShowState) {
  const struct {
    int showCommand;
    BOOL (*check)(HWND);
    const char* name;
  } states[] = {{SW_SHOWMINIMIZED, [](HWND w) { return IsIconic(w); }, "minimised"},
                {SW_SHOWMAXIMIZED, [](HWND w) { return IsZoomed(w); }, "maximised"}};
  for (const auto& state : states) {
    SCOPED_TRACE(state.name);
    PROCESS_INFORMATION program = Launch(GetParam().exe, "", state.showCommand);
    HWND window = WaitForMainWindow(program);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(state.check(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(0u, HoldEscapeUntilExit(program));
  }
}

TEST_P(ProgramTest, EscapeEndsItWithZero) {
  PROCESS_INFORMATION program = Launch(GetParam().exe);
  ASSERT_NE(nullptr, WaitForMainWindow(program));
  Sleep(300);
  ASSERT_TRUE(Running(program));
  EXPECT_EQ(0u, HoldEscapeUntilExit(program));
}

TEST_P(ProgramTest, EscapeEndsItWhileAnotherWindowHasTheFocus) {
  PROCESS_INFORMATION program = Launch(GetParam().exe);
  ASSERT_NE(nullptr, WaitForMainWindow(program));
  HWND other = CreateWindowExA(0, "STATIC", "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               800, 600, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, other);
  for (int tries = 0; tries < 50 && GetForegroundWindow() != other; ++tries) {
    SetForegroundWindow(other);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
  EXPECT_EQ(other, GetForegroundWindow());
  EXPECT_EQ(0u, HoldEscapeUntilExit(program));
  DestroyWindow(other);
}

TEST_P(ProgramTest, CloseEndsItWithZero) {
  // WM_CLOSE itself, and the close box's own road through the system menu command.
  const struct {
    UINT message;
    WPARAM wParam;
  } closes[] = {{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
  for (const auto& close : closes) {
    PROCESS_INFORMATION program = Launch(GetParam().exe);
    HWND window = WaitForMainWindow(program);
    ASSERT_NE(nullptr, window);
    PostMessageA(window, close.message, close.wParam, 0);
    EXPECT_EQ(0u, WaitForExit(program)) << "message " << close.message;
  }
}

TEST_P(ProgramTest, SurvivesABurstOfMessagesMovesAndResizes) {
  PROCESS_INFORMATION program = Launch(GetParam().exe);
  HWND window = WaitForMainWindow(program);
  ASSERT_NE(nullptr, window);
  const UINT harmless[] = {WM_NULL, WM_USER + 7, WM_MOUSEMOVE, WM_TIMER, WM_APP + 1, WM_PAINT};
  for (int i = 0; i < 5000; ++i) {
    PostMessageA(window, harmless[i % 6], static_cast<WPARAM>(i), i);
    if (i % 500 == 0) {
      SetWindowPos(window, nullptr, 50 + i / 50, 60 + i / 100, 400 + i / 20, 300 + i / 25,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ShowWindow(window, SW_MINIMIZE);
      ShowWindow(window, SW_RESTORE);
    }
  }
  SetWindowPos(window, nullptr, 100, 100, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(1000);
  EXPECT_TRUE(Running(program));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(0u, HoldEscapeUntilExit(program));
}

INSTANTIATE_TEST_SUITE_P(Both, ProgramTest,
                         ::testing::Values(ProgramCase{"tolvane.exe", "Hello DirectX"},
                                           ProgramCase{"skarrow.exe", "Hello DirectX #2"}),
                         [](const ::testing::TestParamInfo<ProgramCase>& info) {
                           std::string exe = info.param.exe;
                           return exe.substr(0, exe.find('.'));
                         });

using DarkBlue = Programs;

TEST_F(DarkBlue, FillsTheClientAreaAfterStartResizeAndRestore) {
  PROCESS_INFORMATION program = Launch("skarrow.exe");
  HWND window = WaitForMainWindow(program);
  ASSERT_NE(nullptr, window);
  EXPECT_TRUE(TurnsDarkBlue(window)) << "after start";

  SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(TurnsDarkBlue(window)) << "after a resize to a larger window";

  ShowWindow(window, SW_MINIMIZE);
  Sleep(500);
  EXPECT_TRUE(Running(program)) << "frames go on while minimised";
  ShowWindow(window, SW_RESTORE);
  EXPECT_TRUE(TurnsDarkBlue(window)) << "after minimise and restore";

  EXPECT_EQ(0u, HoldEscapeUntilExit(program));
}

using NoOpenGL = Programs;

TEST_F(NoOpenGL, DirectXProgramExitsWithTheGraphicsCode) {
  if (!GetEnvironmentVariableA("WINE_NOGL", nullptr, 0))
    GTEST_SKIP() << "needs a display without OpenGL (WINE_NOGL set by the test harness)";
  PROCESS_INFORMATION program = Launch("skarrow.exe");
  DWORD started = GetTickCount();
  EXPECT_EQ(2u, WaitForExit(program)) << "exit code 2: no Direct3D";
  EXPECT_LT(GetTickCount() - started, 10000u) << "ends promptly";
}

}  // namespace
