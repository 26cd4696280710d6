// Holds Escape down until the program that shows a "WindowClass1" window has ended; exits
// with 0 once it has, 1 if there is no such program or it did not end.
#include "program_driver.h"

int main() {
  HWND window = FindWindowA("WindowClass1", nullptr);
  PROCESS_INFORMATION program = {};
  GetWindowThreadProcessId(window, &program.dwProcessId);
  program.hProcess =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.dwProcessId);
  if (!window || !program.hProcess) return 1;
  bool ended = HoldEscapeUntilExit(program) != STILL_ACTIVE;
  CloseHandle(program.hProcess);
  return ended ? 0 : 1;
}
