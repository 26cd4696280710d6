// Reads the version resource of each built program back the way Explorer's Details tab does:
// the translation first, then the strings of that translation.
#include "program_driver.h"
#include "version.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct ProgramFile {
  const char* exe;
  const char* name;
  const char* title;
};

class VersionInfo : public ::testing::TestWithParam<ProgramFile> {
 protected:
  void SetUp() override {
    std::string path = ProgramPath(GetParam().exe);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_NE(0u, size) << path << " has no version resource";
    block_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block_.data()));
  }

  const void* Query(const std::string& key) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block_.data(), key.c_str(), &value, &length) || !length) return nullptr;
    return value;
  }

  // A string of the first translation listed, or "(none)".
  std::string String(const char* name) {
    const WORD* translation = static_cast<const WORD*>(Query("\\VarFileInfo\\Translation"));
    if (!translation) return "(no translation)";
    char key[64];
    snprintf(key, sizeof(key), "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1],
             name);
    const char* value = static_cast<const char*>(Query(key));
    return value ? value : "(none)";
  }

 private:
  std::vector<char> block_;
};

TEST_P(VersionInfo, NamesTheProgramItsVersionAndItsLicense) {
  const ProgramFile& program = GetParam();
  EXPECT_EQ(program.exe, String("OriginalFilename"));
  EXPECT_EQ(program.name, String("InternalName"));
  EXPECT_EQ("Hello DirectX", String("ProductName"));
  EXPECT_EQ(VERSION_TEXT, String("FileVersion"));
  EXPECT_EQ(VERSION_TEXT, String("ProductVersion"));
  EXPECT_EQ(LEGAL_COPYRIGHT, String("LegalCopyright"));

  // Task Manager shows the description as the program's name: one line, naming its window.
  std::string description = String("FileDescription");
  EXPECT_EQ(0u, description.find(std::string(program.title) + ": ")) << description;
  EXPECT_EQ(std::string::npos, description.find_first_of("\r\n")) << description;
}

TEST_P(VersionInfo, FixedPartHoldsTheSameVersion) {
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query("\\"));
  ASSERT_NE(nullptr, fixed);
  EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
  const DWORD high = DWORD{VERSION_MAJOR} << 16 | VERSION_MINOR, low = DWORD{VERSION_PATCH} << 16;
  EXPECT_EQ(high, fixed->dwFileVersionMS);
  EXPECT_EQ(low, fixed->dwFileVersionLS);
  EXPECT_EQ(high, fixed->dwProductVersionMS);
  EXPECT_EQ(low, fixed->dwProductVersionLS);
  EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

INSTANTIATE_TEST_SUITE_P(
    Both, VersionInfo,
    ::testing::Values(ProgramFile{"tolvane.exe", "tolvane", "Hello DirectX"},
                      ProgramFile{"skarrow.exe", "skarrow", "Hello DirectX #2"}),
    [](const ::testing::TestParamInfo<ProgramFile>& info) { return std::string(info.param.name); });

}  // namespace
