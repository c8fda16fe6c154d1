// The application manifest (resource 1) linked into this executable from
// quenmarl_resources: what it declares, and that Windows honours it by
// giving the process version 6 of the common controls and its own version.
// Also the manifests of the built quenmarl.exe and quenmarl-cli.exe, as the
// loader reads them: the Windows versions they were made for, long paths.

// The local header brings <windows.h>, which the other platform headers need first.
// clang-format off
#include "tests/resources/win32_resources.h"
#include <commctrl.h>
#include <shlwapi.h>
// clang-format on
#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "tests/support/process.h"

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

// The supportedOS identifiers of an activation context, lower case, in
// manifest order.
std::vector<std::wstring> supportedOs(HANDLE context) {
    std::vector<std::uint8_t> buffer(4096);
    SIZE_T size = 0;
    if (!QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, buffer.data(), buffer.size(),
                      &size))
        return {};
    DWORD count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    // Newer systems (and Wine) add a 64-bit field to each element, which the
    // headers here lack: the size tells which layout came back.
    const bool wide = size == 8 + count * 32;
    std::vector<std::wstring> ids;
    for (DWORD i = 0; i < count; ++i) {
        COMPATIBILITY_CONTEXT_ELEMENT element;
        std::memcpy(&element, buffer.data() + (wide ? 8 + i * 32 : 4 + i * sizeof element), sizeof element);
        wchar_t text[40] = {};
        StringFromGUID2(element.Id, text, 40);
        std::wstring id = text;
        for (auto& c : id) c = static_cast<wchar_t>(std::towlower(c));
        if (element.Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS) ids.push_back(id);
    }
    return ids;
}

// The built programs' manifests as the loader reads them when it starts them.
TEST(Manifest, BothProgramsDeclareWindows7To11AndLongPaths) {
    const std::vector<std::wstring> windows7To11 = {
        L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};
    for (const char* program : {QUENMARL_GUI_PATH, QUENMARL_CLI_PATH}) {
        SCOPED_TRACE(program);
        const std::wstring path = runtime::widen(testsupport::hostPath(program));
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path.c_str();
        request.lpResourceName = MAKEINTRESOURCEW(1);
        const HANDLE made = CreateActCtxW(&request);
        ASSERT_NE(made, INVALID_HANDLE_VALUE) << "error " << GetLastError();
        const std::unique_ptr<void, decltype(&ReleaseActCtx)> context(made, &ReleaseActCtx);
        EXPECT_EQ(supportedOs(context.get()), windows7To11);
        wchar_t value[16] = {};
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, context.get(), L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                         L"longPathAware", value, std::size(value), &written));
        EXPECT_EQ(std::wstring(value), L"true");
    }
}

}  // namespace
}  // namespace resourcestest
