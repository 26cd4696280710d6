// Starts the built programs as a user would and watches them from outside: their window,
// the pixels on the screen, and the exit code.
#include "program_driver.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string WindowText(HWND window) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

::testing::AssertionResult TurnsDarkBlue(HWND window) {
  std::string miss = "no client area";
  for (int waited = 0; waited < 10000; waited += 100) {
    if (ClientIsDarkBlue(window, &miss)) return ::testing::AssertionSuccess();
    Sleep(100);
  }
  return ::testing::AssertionFailure() << "not dark blue after 10 s: " << miss;
}

// One round of what a busy user and other programs do to a window: a move and a resize, a
// burst of harmless posted messages, minimise and restore.
void Exercise(HWND window, int round) {
  SetWindowPos(window, nullptr, 60 + round % 7 * 20, 60 + round % 5 * 20, 500 + round % 4 * 100,
               400 + round % 3 * 100, SWP_NOZORDER | SWP_NOACTIVATE);
  const UINT harmless[] = {WM_NULL, WM_USER + 7, WM_MOUSEMOVE, WM_TIMER, WM_APP + 1, WM_PAINT};
  for (int i = 0; i < 500; ++i) PostMessageA(window, harmless[i % 6], static_cast<WPARAM>(i), i);
  ShowWindow(window, SW_MINIMIZE);
  ShowWindow(window, SW_RESTORE);
}

void ExpectWindowAsCreated(HWND window, const char* title) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof(className));
  EXPECT_STREQ("WindowClass1", className);
  EXPECT_EQ(title, WindowText(window));
  const RECT atCreation = {100, 100, 740, 580};  // 640 x 480 outside, frame included
  RECT outer = {};
  GetWindowRect(window, &outer);
  EXPECT_TRUE(EqualRect(&atCreation, &outer))
      << outer.left << "," << outer.top << " - " << outer.right << "," << outer.bottom;
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
    started_.push_back(StartProgram(exe, arguments, showCommand));
    EXPECT_NE(nullptr, started_.back().hProcess) << "could not start " << exe;
    return started_.back();
  }
  void TearDown() override {
    SendEscape(KEYEVENTF_KEYUP);
    for (PROCESS_INFORMATION& process : started_) {
      if (Running(process)) ADD_FAILURE() << "a program was still running at the end of the test";
      EndProgram(process);
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
  for (int round = 0; round < 10; ++round) Exercise(window, round);
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

using Soak = Programs;

TEST_F(Soak, DirectXProgramKeepsWorkingWhileResizedMovedAndFlooded) {
  PROCESS_INFORMATION program = Launch("skarrow.exe");
  HWND window = WaitForMainWindow(program);
  ASSERT_NE(nullptr, window);
  // Wine and Mesa warm their caches in the first half minute; the bounds start after that.
  // Under this load they still grow by about 3 MB in the next minute; a leak of even a
  // hundred bytes a frame would pass the bound within it.
  const DWORD kWarmUp = 30000, kSoak = 60000;
  const SIZE_T kMemoryBound = 8 * 1024 * 1024;
  const DWORD kObjectBound = 4;
  SIZE_T memoryBefore = 0;
  DWORD userBefore = 0, gdiBefore = 0, user = 0, gdi = 0;
  bool counted = false;
  DWORD start = GetTickCount();
  for (int round = 0; GetTickCount() - start < kWarmUp + kSoak; ++round) {
    Exercise(window, round);
    ASSERT_TRUE(Running(program)) << "round " << round;
    ASSERT_TRUE(TurnsDarkBlue(window)) << "round " << round;
    if (!memoryBefore && GetTickCount() - start >= kWarmUp) {
      memoryBefore = PrivateBytes(program.hProcess);
      counted = GuiObjects(program.hProcess, &userBefore, &gdiBefore);
    }
  }
  SIZE_T memoryAfter = PrivateBytes(program.hProcess);
  printf("private memory after warm-up %.2f MB, after a further minute %.2f MB\n",
         memoryBefore / 1048576.0, memoryAfter / 1048576.0);
  ASSERT_NE(0u, memoryBefore);
  EXPECT_LE(memoryAfter, memoryBefore + kMemoryBound);
  if (counted && GuiObjects(program.hProcess, &user, &gdi)) {
    EXPECT_LE(user, userBefore + kObjectBound);
    EXPECT_LE(gdi, gdiBefore + kObjectBound);
  } else {
    printf("USER and GDI objects are not counted on this platform\n");
  }
  EXPECT_EQ(0u, HoldEscapeUntilExit(program));
}

int CountRunning(const char* exe) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    count += _stricmp(entry.szExeFile, exe) == 0;
  CloseHandle(snapshot);
  return count;
}

TEST_F(Soak, TwentyStartsOfEachProgramEndWithZeroAndLeaveNothingBehind) {
  for (int start = 0; start < 20; ++start) {
    for (const char* exe : {"tolvane.exe", "skarrow.exe"}) {
      PROCESS_INFORMATION program = Launch(exe);
      HWND window = WaitForMainWindow(program);
      ASSERT_NE(nullptr, window) << exe << " start " << start;
      DWORD code;
      if (start % 2 == 0) {
        code = HoldEscapeUntilExit(program);
      } else {
        PostMessageA(window, WM_CLOSE, 0, 0);
        code = WaitForExit(program);
      }
      EXPECT_EQ(0u, code) << exe << " start " << start << (start % 2 ? " closed" : " Escape");
    }
  }
  EXPECT_EQ(0, CountRunning("tolvane.exe"));
  EXPECT_EQ(0, CountRunning("skarrow.exe"));
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
