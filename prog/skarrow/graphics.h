#pragma once

#include <windows.h>
#include <d3d9.h>

// Exit code of a program that could not create its Direct3D object or device.
constexpr int kExitNoGraphics = 2;

extern IDirect3D9* direct3d;
extern IDirect3DDevice9* device;

// Creates the Direct3D object and a windowed device presenting into the window. On failure
// releases whatever it made and returns false.
bool InitGraphics(HWND window);

// Clears the back buffer to dark blue and presents it; while the device is lost, waits for it
// to come back and resets it. Does nothing without a device.
void RenderFrame();

// Releases the device, then the Direct3D object.
void ShutdownGraphics();
