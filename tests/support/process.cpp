#include "tests/support/process.h"

#include <filesystem>
#include <stdexcept>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace testsupport {

namespace {

std::string withoutCarriageReturns(const Bytes& bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        if (byte != '\r') text += static_cast<char>(byte);
    }
    return text;
}

#ifdef _WIN32
std::wstring wide(const std::string& text) { return pathOf(text).wstring(); }

// Quotes one argument the way the C runtime splits a command line.
std::wstring quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"')
            out.append(backslashes * 2 + 1, L'\\');
        else
            out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE inheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    return CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_ALWAYS, 0, nullptr);
}
#endif

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingFolder, const std::string& standardOutputFile) {
    TempFolder streams;
    const std::string outPath = standardOutputFile.empty() ? streams / "out.txt" : standardOutputFile;
    const std::string errPath = streams / "err.txt";
    ProcessResult result;
#ifdef _WIN32
    std::wstring commandLine = quoted(wide(program));
    for (const std::string& argument : arguments) commandLine += L" " + quoted(wide(argument));
    HANDLE out = inheritableFile(outPath);
    HANDLE err = inheritableFile(errPath);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const std::wstring folder = wide(workingFolder);
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                        &startup, &process);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) throw std::runtime_error("cannot start " + program);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    result.exitCode = static_cast<int>(code);
#else
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) throw std::runtime_error("cannot start " + program);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
#endif
    if (standardOutputFile.empty()) result.out = withoutCarriageReturns(readFile(outPath));
    result.err = withoutCarriageReturns(readFile(errPath));
    return result;
}

std::string hostPath(const std::string& buildPath) {
#ifdef _WIN32
    if (!buildPath.empty() && buildPath[0] == '/') {
        std::string path = "Z:" + buildPath;
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        return path;
    }
#endif
    return buildPath;
}

}  // namespace testsupport
