// Holds Escape down, repeating like a real keyboard, until no window of class "WindowClass1"
// is left or ten seconds have passed; exits with 0 if the windows went away.
#include "program_driver.h"

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
