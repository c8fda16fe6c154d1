// The Windows archive as a user gets it. scripts/test's package stage
// unpacks it into a folder whose name has a space and letters beyond ASCII,
// alone inside the folder QUENMARL_UNPACKED_IN names, and runs this under
// Wine: the programs start from there, with nothing of the build beside them.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "quenmarl_version.h"
// The fixture brings <windows.h>, which <winver.h> needs first.
// clang-format off
#include "tests/gui/program_fixture.h"
#include <winver.h>
// clang-format on

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string utf8(const fs::path& path) { return runtime::narrow(path.wstring()); }

// The file's version resource as Windows reads it for the file's
// properties; empty when it has none.
std::vector<std::uint8_t> versionBlock(const fs::path& file) {
    DWORD ignored = 0;
    std::vector<std::uint8_t> block(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (!block.empty() && !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
        block.clear();
    return block;
}

// A string of the block's US English table; empty when missing.
std::wstring versionString(const std::vector<std::uint8_t>& block, const std::wstring& name) {
    void* found = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), (L"\\StringFileInfo\\040904B0\\" + name).c_str(), &found, &length)) return {};
    const std::wstring text(static_cast<const wchar_t*>(found), length);
    return text.substr(0, text.find(L'\0'));
}

class UnpackedArchive : public guitest::ProgramTest {
protected:
    // The programs run where they were unpacked, not from a copy.
    void SetUp() override {
        std::vector<fs::path> found;
        if (const char* parent = std::getenv("QUENMARL_UNPACKED_IN"))
            for (const auto& entry : fs::directory_iterator(testsupport::pathOf(testsupport::hostPath(parent))))
                found.push_back(entry.path());
        ASSERT_EQ(found.size(), 1u) << "QUENMARL_UNPACKED_IN must hold only the unpacked archive's folder";
        unpacked = found[0];
        exe = utf8(unpacked / "quenmarl.exe");
    }

    fs::path unpacked;
};

TEST_F(UnpackedArchive, HoldsTheProgramsAndTextsWithWindowsLineEnds) {
    const std::wstring name = unpacked.filename().wstring();
    EXPECT_NE(name.find(L' '), std::wstring::npos) << utf8(unpacked);
    EXPECT_TRUE(std::any_of(name.begin(), name.end(), [](wchar_t c) { return c > 0x7F; })) << utf8(unpacked);
    std::set<std::wstring> files;
    for (const auto& entry : fs::directory_iterator(unpacked)) files.insert(entry.path().filename().wstring());
    EXPECT_EQ(files, (std::set<std::wstring>{L"LICENSE.txt", L"README.txt", L"quenmarl-cli.exe", L"quenmarl.exe"}));
    for (const char* textFile : {"README.txt", "LICENSE.txt"}) {
        const testsupport::Bytes text = testsupport::readFile(utf8(unpacked / textFile));
        EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 10) << textFile;
        for (std::size_t i = 0; i < text.size(); ++i)
            ASSERT_TRUE(text[i] != '\n' || (i > 0 && text[i - 1] == '\r')) << textFile << ": bare line feed at " << i;
    }
}

TEST_F(UnpackedArchive, ProgramsCarryTheirVersionResources) {
    const std::wstring version = runtime::widen(QUENMARL_VERSION_RESOURCE_TEXT);
    const std::pair<const wchar_t*, const wchar_t*> programs[] = {
        {L"quenmarl.exe", L"Quenmarl - turns any file into sound"},
        {L"quenmarl-cli.exe", L"Quenmarl command-line converter"}};
    for (const auto& [program, description] : programs) {
        const fs::path file = unpacked / program;
        SCOPED_TRACE(utf8(file));
        const std::vector<std::uint8_t> block = versionBlock(file);
        ASSERT_FALSE(block.empty());
        EXPECT_EQ(versionString(block, L"ProductName"), L"Quenmarl");
        EXPECT_EQ(versionString(block, L"ProductVersion"), version);
        EXPECT_EQ(versionString(block, L"FileDescription"), description);
        EXPECT_EQ(versionString(block, L"LegalCopyright"), L"(c) The Quenmarl authors");
        EXPECT_EQ(versionString(block, L"OriginalFilename"), program);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(QUENMARL_VERSION_MAJOR << 16 | QUENMARL_VERSION_MINOR));
        EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(QUENMARL_VERSION_PATCH << 16 | QUENMARL_VERSION_TWEAK));
    }
}

TEST_F(UnpackedArchive, WindowAppearsAndOpenFileConvertsAFile) {
    const std::string input = utf8(unpacked / L"s\u00e5ng 1.bin");
    testsupport::writeFile(input, testsupport::randomBytes(3000, 21));
    auto program = start();  // from a working folder of its own, not the program's
    HWND frame = waitForFrame(*program);
    ASSERT_NE(frame, nullptr) << "no window titled " << runtime::narrow(guitest::frameTitle);
    EXPECT_TRUE(fs::exists(unpacked / "pelko.config"));

    click(frame, L"Open file");
    HWND dialog = waitForDialog(*program, L"Select a file");
    ASSERT_NE(dialog, nullptr);
    HWND comboEx = guitest::findDescendant(dialog, L"ComboBoxEx32", 1148);
    HWND combo = comboEx ? guitest::findDescendant(comboEx, L"ComboBox", 1148) : nullptr;
    fillAndConfirm(dialog, combo ? guitest::findDescendant(combo, L"Edit", 1148) : nullptr, input);
    const fs::path output = unpacked / L"zz_s\u00e5ng 1.wav";
    EXPECT_TRUE(guitest::waitUntil([&] { return statusText(frame).find(" Done! - " + utf8(output)) == 0; }, 10s))
        << statusText(frame);
    EXPECT_EQ(testsupport::readFile(utf8(output)).size(), 44u + 3000u);

    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(program->waitForExit(15s), std::optional<DWORD>(0));
}

}  // namespace
