#include "program_driver.h"

#include <psapi.h>

#include <cstdio>
#include <cstring>

namespace {

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

COLORREF ScreenPixel(HWND window, POINT point) {
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

}  // namespace

std::string ProgramPath(const char* exe) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1) + exe;
}

PROCESS_INFORMATION StartProgram(const char* exe, const std::string& arguments, int showCommand) {
  std::string commandLine = "\"" + ProgramPath(exe) + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  if (showCommand != kDefaultShow) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
  }
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    process = {};
  return process;
}

bool Running(const PROCESS_INFORMATION& process) {
  return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

void EndProgram(PROCESS_INFORMATION& process) {
  if (!process.hProcess) return;
  if (Running(process)) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kExitTimeout);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  process = {};
}

HWND WaitForMainWindow(const PROCESS_INFORMATION& process, DWORD timeout) {
  Search search = {process.dwProcessId, nullptr};
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout && Running(process)) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(1);
  }
  return nullptr;
}

DWORD WaitForExit(const PROCESS_INFORMATION& process, DWORD timeout) {
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

DWORD HoldEscapeUntilExit(const PROCESS_INFORMATION& process) {
  // Like a real keyboard the held key repeats: Wine re-reads the X keyboard when a window
  // takes the focus, which can lift a key that was pressed only once.
  DWORD code = STILL_ACTIVE;
  DWORD start = GetTickCount();
  while (code == STILL_ACTIVE && GetTickCount() - start < kExitTimeout) {
    SendEscape(0);
    code = WaitForExit(process, 30);
  }
  SendEscape(KEYEVENTF_KEYUP);
  return code;
}

bool ClientIsDarkBlue(HWND window, std::string* firstMiss) {
  RECT client;
  if (!GetClientRect(window, &client) || client.right < 2 || client.bottom < 2) {
    *firstMiss = "no client area";
    return false;
  }
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      POINT point = {column * (client.right - 1) / 4, row * (client.bottom - 1) / 4};
      COLORREF colour = ScreenPixel(window, point);
      if (colour != kDarkBlue) {
        char miss[96];
        snprintf(miss, sizeof(miss), "client (%ld, %ld) is %06lX", point.x, point.y, colour);
        *firstMiss = miss;
        return false;
      }
    }
  }
  return true;
}

bool CentreIsDarkBlue(HWND window) {
  RECT client;
  if (!GetClientRect(window, &client)) return false;
  return ScreenPixel(window, {client.right / 2, client.bottom / 2}) == kDarkBlue;
}

SIZE_T PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, &counters, sizeof(counters))) return 0;
  // The commit charge, which is the process's private memory; Wine fills this field, not
  // PrivateUsage.
  return counters.PagefileUsage;
}

bool GuiObjects(HANDLE process, DWORD* user, DWORD* gdi) {
  *user = GetGuiResources(process, GR_USEROBJECTS);
  *gdi = GetGuiResources(process, GR_GDIOBJECTS);
  // Every running program of ours holds at least its window; none counted means that the
  // platform does not count (Wine does not).
  return *user != 0;
}
