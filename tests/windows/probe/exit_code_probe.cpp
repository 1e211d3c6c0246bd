// Starts a program and prints the exit code that Windows hands its parent,
// then ends with that code:
//   exit_code_probe.exe PROGRAM [ARGUMENTS...]
// The smoke test reads the printed code instead of the status of Wine's own
// process: on a loaded machine Wine may kill a process whose clean-up after
// the Windows exit runs past a second, and the signal then replaces the code
// the game ended with.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The command line after the probe's own name (quoted or not).
const wchar_t* after_first_argument(const wchar_t* line) {
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int main() {
    const wchar_t* rest = after_first_argument(GetCommandLineW());
    if (!*rest) {
        std::fputs("usage: exit_code_probe PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    std::wstring command(rest);  // CreateProcessW may write into the line it is given
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::printf("not started (error %lu)\n", static_cast<unsigned long>(GetLastError()));
        std::fflush(stdout);
        return 2;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%lu\n", static_cast<unsigned long>(code));
    std::fflush(stdout);
    return static_cast<int>(code);
}
