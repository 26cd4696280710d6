#include "graphics.h"

IDirect3D9* direct3d = nullptr;
IDirect3DDevice9* device = nullptr;

namespace {
const D3DCOLOR kDarkBlue = 0xFF000050;

// Kept for the run: a lost device is reset with the same parameters it was created with.
D3DPRESENT_PARAMETERS presentation;
bool deviceLost = false;

// True once the device may draw again.
bool RecoverDevice() {
  HRESULT state = device->TestCooperativeLevel();
  if (state == D3DERR_DEVICENOTRESET) {
    D3DPRESENT_PARAMETERS parameters = presentation;
    state = device->Reset(&parameters);
  }
  deviceLost = FAILED(state);
  return !deviceLost;
}
}  // namespace

bool InitGraphics(HWND window) {
  direct3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!direct3d) return false;

  presentation = {};
  presentation.Windowed = TRUE;
  presentation.SwapEffect = D3DSWAPEFFECT_DISCARD;
  presentation.hDeviceWindow = window;
  deviceLost = false;

  // Direct3D writes the sizes it chose into the parameters it is given: it gets a copy, and
  // the kept set stays as first filled.
  D3DPRESENT_PARAMETERS parameters = presentation;
  if (FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device))) {
    device = nullptr;
    ShutdownGraphics();
    return false;
  }
  return true;
}

void RenderFrame() {
  if (!device) return;
  if (deviceLost && !RecoverDevice()) return;
  device->Clear(0, nullptr, D3DCLEAR_TARGET, kDarkBlue, 1.0f, 0);
  device->BeginScene();
  device->EndScene();
  if (device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) deviceLost = true;
}

void ShutdownGraphics() {
  if (device) device->Release();
  device = nullptr;
  if (direct3d) direct3d->Release();
  direct3d = nullptr;
}
