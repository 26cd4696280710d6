#include "frame_loop.h"
#include "graphics.h"
#include "window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  HWND window = CreateMainWindow(instance, "Hello DirectX #2", showCommand);
  if (!window) return kExitNoWindow;
  if (!InitGraphics(window)) return kExitNoGraphics;
  int exitCode = RunFrameLoop(window, RenderFrame);
  ShutdownGraphics();
  return exitCode;
}
