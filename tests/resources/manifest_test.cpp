// The application manifest (resource 1) linked into this executable from
// quenmarl_resources: what it declares, and that Windows honours it by
// giving the process version 6 of the common controls.

// The local header brings <windows.h>, which the other platform headers need first.
// clang-format off
#include "tests/resources/win32_resources.h"
#include <commctrl.h>
#include <shlwapi.h>
// clang-format on
#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <memory>
#include <regex>
#include <string>

namespace resourcestest {
namespace {

using Attributes = std::map<std::string, std::string>;

std::string manifestText() {
    const auto bytes = ownResource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    return {bytes.begin(), bytes.end()};
}

// The attributes of every <assemblyIdentity> element, in document order.
std::vector<Attributes> identities(const std::string& manifest) {
    static const std::regex element(R"(<assemblyIdentity\b([^>]*)>)");
    static const std::regex attribute(R"re(([A-Za-z]+)\s*=\s*"([^"]*)")re");
    std::vector<Attributes> result;
    for (std::sregex_iterator e(manifest.begin(), manifest.end(), element), end; e != end; ++e) {
        const std::string inside = (*e)[1];
        Attributes attributes;
        for (std::sregex_iterator a(inside.begin(), inside.end(), attribute); a != end; ++a)
            attributes[(*a)[1]] = (*a)[2];
        result.push_back(attributes);
    }
    return result;
}

TEST(Manifest, DeclaresTheProgramForAnyProcessorAndCommonControls6) {
    const std::string manifest = manifestText();
    ASSERT_FALSE(manifest.empty());
    const auto found = identities(manifest);
    ASSERT_EQ(found.size(), 2u);

    const Attributes& program = found[0];
    EXPECT_EQ(program.at("type"), "win32");
    EXPECT_EQ(program.at("version"), "1.0.0.0");
    EXPECT_EQ(program.at("processorArchitecture"), "*");

    const Attributes& controls = found[1];
    EXPECT_EQ(controls.at("type"), "win32");
    EXPECT_EQ(controls.at("name"), "Microsoft.Windows.Common-Controls");
    EXPECT_EQ(controls.at("version"), "6.0.0.0");
    EXPECT_EQ(controls.at("publicKeyToken"), "6595b64144ccf1df");
    EXPECT_EQ(controls.at("language"), "*");
    EXPECT_EQ(controls.at("processorArchitecture"), "*");
    // The dependency is where Windows looks for it.
    EXPECT_TRUE(std::regex_search(manifest, std::regex(R"(<dependency>\s*<dependentAssembly>\s*<assemblyIdentity)")));
}

// Pixel sizes in the window are fixed, so the program must not claim to
// scale itself.
TEST(Manifest, LeavesScalingToWindows) {
    const std::string manifest = manifestText();
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
}

TEST(Manifest, IsAcceptedByTheLoaderWithItsDependency) {
    const std::wstring path = ownPath();
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    request.hModule = GetModuleHandleW(nullptr);
    const HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ReleaseActCtx(context);
}

bool underWine() { return exported<void (*)()>(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// Version 6 lives in the side-by-side store, not beside the system's other
// libraries; without the manifest the process gets the one in system32.
TEST(Manifest, GivesTheProcessCommonControls6FromTheSideBySideStore) {
    const OwnedLibrary library(L"comctl32.dll");
    ASSERT_NE(library.get(), nullptr);
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(library.get(), path.data(), static_cast<DWORD>(path.size())));
    for (auto& c : path) c = static_cast<wchar_t>(std::towlower(c));
    EXPECT_NE(path.find(L"\\winsxs\\"), std::wstring::npos);
    EXPECT_NE(path.find(L"microsoft.windows.common-controls"), std::wstring::npos);

    const auto getVersion = exported<DLLGETVERSIONPROC>(library.get(), "DllGetVersion");
    ASSERT_NE(getVersion, nullptr);
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    ASSERT_EQ(getVersion(&version), S_OK);
    // Wine 8 loads its version 6 library from the store as it should, but that
    // library still reports 5.81; Windows reports 6.
    if (underWine())
        EXPECT_GE(version.dwMajorVersion, 5u);
    else
        EXPECT_EQ(version.dwMajorVersion, 6u);
}

// Only version 6 buttons can tell the size that fits their caption; version
// 5 ones (user32's own) answer 0.
TEST(Manifest, GivesTheProcessVersion6Controls) {
    const OwnedLibrary library(L"comctl32.dll");
    ASSERT_NE(library.get(), nullptr);
    const std::unique_ptr<HWND__, decltype(&DestroyWindow)> button(
        CreateWindowExW(0, L"BUTTON", L"Open file", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr),
                        nullptr),
        &DestroyWindow);
    ASSERT_NE(button, nullptr);
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(button.get(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 10);
    EXPECT_GT(ideal.cy, 0);
}

}  // namespace
}  // namespace resourcestest
