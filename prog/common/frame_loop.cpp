#include "frame_loop.h"

int RunFrameLoopWith(const MessageOps& ops, HWND window, FrameWork frameWork) {
  MSG message = {};
  bool quitTaken = false;
  WPARAM exitCode = 0;
  for (;;) {
    while (ops.peekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
      ops.translateMessage(&message);
      ops.dispatchMessage(&message);
      // Remembered rather than read back from the record after the drain: a message taken
      // after WM_QUIT must not hide it, since on the close-box road nothing else could end us.
      if (message.message == WM_QUIT) {
        quitTaken = true;
        exitCode = message.wParam;
      }
    }
    if (quitTaken) return static_cast<int>(exitCode);

    if (frameWork) frameWork();

    // The key's state right now, not keyboard messages: Escape works without the focus too.
    if (ops.getAsyncKeyState(VK_ESCAPE) & 0x8000) ops.postMessage(window, WM_DESTROY, 0, 0);
  }
}

int RunFrameLoop(HWND window, FrameWork frameWork) {
  // Imported functions are called through the import table anyway: one indirect call each,
  // the same as through this table.
  const MessageOps user32 = {PeekMessageA, TranslateMessage, DispatchMessageA, GetAsyncKeyState,
                             PostMessageA};
  return RunFrameLoopWith(user32, window, frameWork);
}
