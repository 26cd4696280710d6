// Stand-in Direct3D objects: the C view of the interfaces names the slots of their method
// tables, so each stand-in fills only the methods the renderer uses; any other call would
// crash the test.
#define CINTERFACE
#include "graphics.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

const HWND kWindow = reinterpret_cast<HWND>(0x4321);

struct Fake {
  bool noDirect3D = false;
  HRESULT createDeviceResult = D3D_OK;
  std::vector<HRESULT> presentResults, cooperativeResults, resetResults;  // in call order
  size_t presents = 0, cooperativeTests = 0, resets = 0;
  LONG direct3dReferences = 0, deviceReferences = 0;
  D3DPRESENT_PARAMETERS created = {}, reset = {};
  std::vector<std::string> calls;
};
Fake fake;

HRESULT Next(const std::vector<HRESULT>& results, size_t& index) {
  return index < results.size() ? results[index++] : D3D_OK;
}
void Log(const std::string& call) { fake.calls.push_back(call); }

IDirect3DDevice9Vtbl deviceMethods;
IDirect3DDevice9 fakeDevice = {&deviceMethods};
IDirect3D9Vtbl direct3dMethods;
IDirect3D9 fakeDirect3D = {&direct3dMethods};

HRESULT STDMETHODCALLTYPE CreateDevice(IDirect3D9* self, UINT adapter, D3DDEVTYPE type, HWND window,
                                       DWORD flags, D3DPRESENT_PARAMETERS* parameters,
                                       IDirect3DDevice9** created) {
  EXPECT_EQ(&fakeDirect3D, self);
  Log("CreateDevice " + std::to_string(adapter) + " " + std::to_string(type) + " " +
      std::to_string(window == kWindow) + " " + std::to_string(flags));
  fake.created = *parameters;
  parameters->BackBufferWidth = 632;  // as Direct3D fills in what it chose
  if (FAILED(fake.createDeviceResult)) {
    *created = nullptr;
    return fake.createDeviceResult;
  }
  fake.deviceReferences = 1;
  *created = &fakeDevice;
  return D3D_OK;
}
ULONG STDMETHODCALLTYPE ReleaseDirect3D(IDirect3D9* self) {
  EXPECT_EQ(&fakeDirect3D, self);
  Log("Direct3D Release");
  return static_cast<ULONG>(--fake.direct3dReferences);
}
HRESULT STDMETHODCALLTYPE Clear(IDirect3DDevice9* self, DWORD count, const D3DRECT* rects,
                                DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
  EXPECT_EQ(&fakeDevice, self);
  char call[96];
  snprintf(call, sizeof(call), "Clear %lu %d %lu %08lX %.1f %lu", count, rects != nullptr, flags,
           color, z, stencil);
  Log(call);
  return D3D_OK;
}
HRESULT STDMETHODCALLTYPE BeginScene(IDirect3DDevice9*) {
  Log("BeginScene");
  return D3D_OK;
}
HRESULT STDMETHODCALLTYPE EndScene(IDirect3DDevice9*) {
  Log("EndScene");
  return D3D_OK;
}
HRESULT STDMETHODCALLTYPE Present(IDirect3DDevice9*, const RECT* source, const RECT* target,
                                  HWND window, const RGNDATA* dirty) {
  Log(std::string("Present") + (source || target || window || dirty ? " with arguments" : ""));
  return Next(fake.presentResults, fake.presents);
}
HRESULT STDMETHODCALLTYPE TestCooperativeLevel(IDirect3DDevice9*) {
  Log("TestCooperativeLevel");
  return Next(fake.cooperativeResults, fake.cooperativeTests);
}
HRESULT STDMETHODCALLTYPE Reset(IDirect3DDevice9*, D3DPRESENT_PARAMETERS* parameters) {
  Log("Reset");
  fake.reset = *parameters;
  return Next(fake.resetResults, fake.resets);
}
ULONG STDMETHODCALLTYPE ReleaseDevice(IDirect3DDevice9* self) {
  EXPECT_EQ(&fakeDevice, self);
  Log("Device Release");
  return static_cast<ULONG>(--fake.deviceReferences);
}

void NewFake() {
  fake = Fake{};
  direct3dMethods = {};
  direct3dMethods.CreateDevice = CreateDevice;
  direct3dMethods.Release = ReleaseDirect3D;
  deviceMethods = {};
  deviceMethods.Clear = Clear;
  deviceMethods.BeginScene = BeginScene;
  deviceMethods.EndScene = EndScene;
  deviceMethods.Present = Present;
  deviceMethods.TestCooperativeLevel = TestCooperativeLevel;
  deviceMethods.Reset = Reset;
  deviceMethods.Release = ReleaseDevice;
}

const std::vector<std::string> kFrame = {"Clear 0 0 1 FF000050 1.0 0", "BeginScene", "EndScene",
                                         "Present"};

std::vector<std::string> Calls(std::initializer_list<std::vector<std::string>> groups) {
  std::vector<std::string> calls;
  for (const auto& group : groups) calls.insert(calls.end(), group.begin(), group.end());
  return calls;
}

void ExpectNothingLeft() {
  EXPECT_EQ(0, fake.direct3dReferences);
  EXPECT_EQ(0, fake.deviceReferences);
  EXPECT_EQ(nullptr, direct3d);
  EXPECT_EQ(nullptr, device);
}

}  // namespace

// The renderer's one way to the platform, defined here in place of d3d9's.
extern "C" IDirect3D9* WINAPI Direct3DCreate9(UINT version) {
  Log("Direct3DCreate9 " + std::to_string(version));
  if (fake.noDirect3D) return nullptr;
  fake.direct3dReferences = 1;
  return &fakeDirect3D;
}

namespace {

TEST(Renderer, RunCreatesClearsPresentsAndReleasesDeviceFirst) {
  NewFake();
  ASSERT_TRUE(InitGraphics(kWindow));
  RenderFrame();
  RenderFrame();
  ShutdownGraphics();
  ShutdownGraphics();  // a second shutdown finds nothing left to release

  EXPECT_EQ(Calls({{"Direct3DCreate9 32", "CreateDevice 0 1 1 32"},
                   kFrame,
                   kFrame,
                   {"Device Release", "Direct3D Release"}}),
            fake.calls);
  D3DPRESENT_PARAMETERS expected = {};
  expected.Windowed = TRUE;
  expected.SwapEffect = D3DSWAPEFFECT_DISCARD;
  expected.hDeviceWindow = kWindow;
  EXPECT_EQ(0, memcmp(&expected, &fake.created, sizeof(expected)))
      << "all presentation parameters but Windowed, SwapEffect and hDeviceWindow are zero";
  ExpectNothingLeft();
}

TEST(Renderer, MissingDirect3DOrDeviceFailsInitAndLeavesNothingToTouch) {
  NewFake();
  fake.noDirect3D = true;
  EXPECT_FALSE(InitGraphics(kWindow));
  RenderFrame();
  ShutdownGraphics();
  EXPECT_EQ(std::vector<std::string>{"Direct3DCreate9 32"}, fake.calls);
  ExpectNothingLeft();

  NewFake();
  fake.createDeviceResult = D3DERR_NOTAVAILABLE;
  EXPECT_FALSE(InitGraphics(kWindow));
  RenderFrame();
  ShutdownGraphics();
  EXPECT_EQ(Calls({{"Direct3DCreate9 32", "CreateDevice 0 1 1 32", "Direct3D Release"}}),
            fake.calls);
  ExpectNothingLeft();
}

TEST(Renderer, LostDeviceWaitsIsResetWithTheKeptParametersAndRendersAgain) {
  NewFake();
  fake.presentResults = {D3D_OK, D3DERR_DEVICELOST};
  fake.cooperativeResults = {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET, D3DERR_DEVICENOTRESET};
  fake.resetResults = {D3DERR_INVALIDCALL, D3D_OK};
  ASSERT_TRUE(InitGraphics(kWindow));
  for (int pass = 0; pass < 6; ++pass) RenderFrame();
  ShutdownGraphics();

  EXPECT_EQ(Calls({{"Direct3DCreate9 32", "CreateDevice 0 1 1 32"},
                   kFrame,
                   kFrame,                             // Present reports the device lost
                   {"TestCooperativeLevel"},           // still lost: no frame
                   {"TestCooperativeLevel", "Reset"},  // the reset fails: no frame, try again
                   {"TestCooperativeLevel", "Reset"},
                   kFrame,
                   kFrame,
                   {"Device Release", "Direct3D Release"}}),
            fake.calls);
  EXPECT_EQ(0, memcmp(&fake.created, &fake.reset, sizeof(fake.reset)))
      << "reset with the parameters the device was created with";
  ExpectNothingLeft();
}

TEST(Renderer, DeviceThatComesBackByItselfIsNotReset) {
  NewFake();
  fake.presentResults = {D3DERR_DEVICELOST};
  fake.cooperativeResults = {D3D_OK};
  ASSERT_TRUE(InitGraphics(kWindow));
  RenderFrame();
  RenderFrame();
  ShutdownGraphics();
  EXPECT_EQ(Calls({{"Direct3DCreate9 32", "CreateDevice 0 1 1 32"},
                   kFrame,
                   {"TestCooperativeLevel"},
                   kFrame,
                   {"Device Release", "Direct3D Release"}}),
            fake.calls);
}

}  // namespace
