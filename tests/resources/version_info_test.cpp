// The version resources of the built quenmarl.exe and quenmarl-cli.exe,
// read back as Windows reads them for a file's properties.
#include <gtest/gtest.h>

#include "quenmarl_version.h"
#include "runtime/text.h"
#include "tests/resources/version_resource.h"
#include "tests/support/process.h"

namespace resourcestest {
namespace {

struct Program {
    const char* builtPath;
    const wchar_t* description;
    const wchar_t* internalName;
    const wchar_t* fileName;
};

const Program programs[] = {
    {QUENMARL_GUI_PATH, L"Quenmarl - turns any file into sound", L"quenmarl", L"quenmarl.exe"},
    {QUENMARL_CLI_PATH, L"Quenmarl command-line converter", L"quenmarl-cli", L"quenmarl-cli.exe"},
};

TEST(VersionResource, BothProgramsCarryTheProjectVersionAndTheirOwnNames) {
    // The four numbers of project() in CMakeLists.txt, however the header spells them.
    const std::string numbers = std::to_string(QUENMARL_VERSION_MAJOR) + "." + std::to_string(QUENMARL_VERSION_MINOR) +
                                "." + std::to_string(QUENMARL_VERSION_PATCH) + "." +
                                std::to_string(QUENMARL_VERSION_TWEAK);
    const std::wstring numbersText = runtime::widen(numbers);
    for (const Program& program : programs) {
        SCOPED_TRACE(program.builtPath);
        const auto resource = VersionResource::of(runtime::widen(testsupport::hostPath(program.builtPath)));
        ASSERT_TRUE(resource.has_value());
        const auto fixed = resource->fixed();
        ASSERT_TRUE(fixed.has_value());
        EXPECT_EQ(versionNumbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS), numbers);
        EXPECT_EQ(versionNumbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS), numbers);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
        EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "neither a debug nor a pre-release build";

        EXPECT_EQ(resource->translations(), std::vector<std::uint32_t>{0x040904B0});
        EXPECT_EQ(resource->text(L"FileVersion"), numbersText);
        EXPECT_EQ(resource->text(L"ProductVersion"), numbersText);
        EXPECT_EQ(resource->text(L"ProductName"), L"Quenmarl");
        EXPECT_EQ(resource->text(L"LegalCopyright"), L"(c) The Quenmarl authors");
        EXPECT_EQ(resource->text(L"CompanyName"), L"The Quenmarl authors");
        EXPECT_EQ(resource->text(L"FileDescription"), program.description);
        EXPECT_EQ(resource->text(L"InternalName"), program.internalName);
        EXPECT_EQ(resource->text(L"OriginalFilename"), program.fileName);
    }
}

}  // namespace
}  // namespace resourcestest
