// Holds Escape down, repeating like a real keyboard, until no window of class "WindowClass1"
// is left or ten seconds have passed; exits with 0 if the windows went away.
#include <windows.h>

namespace {
void SendEscape(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_ESCAPE;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}
}  // namespace

int main() {
  bool gone = false;
  for (int waited = 0; waited < 10000 && !gone; waited += 50) {
    SendEscape(0);
    Sleep(50);
    gone = !FindWindowA("WindowClass1", nullptr);
  }
  SendEscape(KEYEVENTF_KEYUP);
  return gone ? 0 : 1;
}
