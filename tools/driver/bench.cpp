// Measures what users of the two programs notice: how quickly the window comes up and goes
// away, how much memory and how many window-system objects it holds, and how large the
// executables are. Prints figures only; nothing here passes or fails.
//
//   bench.exe [runs]     (default 7 timed runs of each kind, after one warm-up)
#include "program_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PrintRow(const char* program, const char* what, std::vector<double> samples,
              const char* unit) {
  if (samples.empty()) {
    printf("| %s | %s | n/a | | | 0 |\n", program, what);
    return;
  }
  std::sort(samples.begin(), samples.end());
  size_t n = samples.size();
  double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  printf("| %s | %s | %.1f %s | %.1f | %.1f | %zu |\n", program, what, median, unit,
         samples.front(), samples.back(), n);
}

struct Timings {
  std::vector<double> visible, firstBlue, escapeExit, closeExit;
};

// One start of the program: to the window, (skarrow) to the first dark blue pixel, then ended
// by Escape or by WM_CLOSE. Returns false if anything did not happen.
bool TimeOneRun(const char* exe, bool renders, bool byEscape, Timings* timings) {
  double start = Now();
  PROCESS_INFORMATION program = StartProgram(exe);
  HWND window = WaitForMainWindow(program);
  double visible = Now();
  double blue = 0;
  if (window && renders) {
    while (!CentreIsDarkBlue(window) && Now() - start < kStartTimeout && Running(program)) Sleep(1);
    blue = Now();
  }
  bool ok = window && (!renders || CentreIsDarkBlue(window));
  Sleep(200);
  double ending = Now();
  DWORD code;
  if (byEscape) {
    code = HoldEscapeUntilExit(program);
  } else {
    PostMessageA(window, WM_CLOSE, 0, 0);
    code = WaitForExit(program);
  }
  double ended = Now();
  ok = ok && code == 0;
  EndProgram(program);
  if (ok && timings) {
    timings->visible.push_back(visible - start);
    if (renders) timings->firstBlue.push_back(blue - start);
    (byEscape ? timings->escapeExit : timings->closeExit).push_back(ended - ending);
  }
  return ok;
}

void TimeStartsAndEnds(const char* name, const char* exe, bool renders, int runs) {
  TimeOneRun(exe, renders, true, nullptr);  // warm-up
  Timings timings;
  int failed = 0;
  for (int run = 0; run < 2 * runs; ++run)
    failed += !TimeOneRun(exe, renders, run % 2 == 0, &timings);
  PrintRow(name, "start to window visible", timings.visible, "ms");
  if (renders) PrintRow(name, "start to first dark blue pixel", timings.firstBlue, "ms");
  PrintRow(name, "Escape down to exited", timings.escapeExit, "ms");
  PrintRow(name, "WM_CLOSE to exited", timings.closeExit, "ms");
  if (failed) printf("| %s | runs that failed | %d | | | |\n", name, failed);
}

void MeasureResources(const char* name, const char* exe, bool renders) {
  PROCESS_INFORMATION program = StartProgram(exe);
  HWND window = WaitForMainWindow(program);
  if (renders) {
    for (DWORD start = GetTickCount(); window && !CentreIsDarkBlue(window);) {
      if (GetTickCount() - start > kStartTimeout) break;
      Sleep(1);
    }
  }
  const struct {
    DWORD after;
    const char* label;
  } moments[] = {{1000, "1 s"}, {30000, "30 s"}};
  DWORD firstFrame = GetTickCount();
  for (const auto& moment : moments) {
    DWORD elapsed = GetTickCount() - firstFrame;
    if (elapsed < moment.after) Sleep(moment.after - elapsed);
    printf("| %s | private memory %s after first frame | %.1f MB | | | 1 |\n", name, moment.label,
           static_cast<double>(PrivateBytes(program.hProcess)) / (1024 * 1024));
    DWORD user, gdi;
    if (GuiObjects(program.hProcess, &user, &gdi))
      printf("| %s | USER / GDI objects %s after first frame | %lu / %lu | | | 1 |\n", name,
             moment.label, user, gdi);
    else
      printf("| %s | USER / GDI objects %s after first frame | not counted here | | | |\n", name,
             moment.label);
  }
  HoldEscapeUntilExit(program);
  EndProgram(program);
}

// The DLL names in the import directory of a 32-bit PE file.
std::string ImportedDlls(const std::vector<char>& image) {
  auto at = [&](size_t offset) { return image.data() + offset; };
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(at(dos->e_lfanew));
  const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
  auto fileOffset = [&](DWORD rva) -> size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
        return rva - s.VirtualAddress + s.PointerToRawData;
    }
    return 0;
  };
  DWORD importsRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  std::string names;
  const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(fileOffset(importsRva)));
  for (; importsRva && entry->Name; ++entry)
    names += std::string(names.empty() ? "" : ", ") + at(fileOffset(entry->Name));
  return names;
}

void DescribeFile(const char* name, const char* exe) {
  std::ifstream in(ProgramPath(exe), std::ios::binary);
  std::vector<char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (image.size() < sizeof(IMAGE_DOS_HEADER)) return;
  printf("| %s | executable size | %zu bytes | | | |\n", name, image.size());
  printf("| %s | imported DLLs | %s | | | |\n", name, ImportedDlls(image).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(5, atoi(argv[1])) : 7;
  const struct {
    const char* name;
    const char* exe;
    bool renders;
  } programs[] = {{"tolvane", "tolvane.exe", false}, {"skarrow", "skarrow.exe", true}};

  printf("| program | measure | median | min | max | runs |\n");
  printf("|---|---|---|---|---|---|\n");
  for (const auto& p : programs) {
    TimeStartsAndEnds(p.name, p.exe, p.renders, runs);
    MeasureResources(p.name, p.exe, p.renders);
    DescribeFile(p.name, p.exe);
    fflush(stdout);
  }
  return 0;
}
