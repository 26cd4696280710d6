#include "frame_loop.h"
#include "window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  HWND window = CreateMainWindow(instance, "Hello DirectX", showCommand);
  if (!window) return kExitNoWindow;
  return RunFrameLoop(window, nullptr);
}
