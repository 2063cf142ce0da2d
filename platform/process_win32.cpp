#include "platform/process.h"

#include "platform/paths.h"
#include "platform/widepath_win32.h"

#include <windows.h>

namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// One argument as the C runtime splits a command line: quoted when it holds
// blanks or quotes, backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

} // namespace

std::optional<ChildProcess> StartChild(const ChildWork& work, std::span<const OutputPipe>) {
    // Only the write end is inherited, so the parent sees the end of the
    // output when the child ends; earlier children's pipes are not
    // inheritable and stay with the parent.
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return std::nullopt;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &inherit, OPEN_EXISTING, 0, nullptr);

    std::wstring commandLine = Quoted(RunningExecutable().wstring());
    for (const std::string& argument : work.Arguments)
        commandLine += L" " + Quoted(Utf8ToWide(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    // A group of its own, so that a Ctrl-Break reaches this child alone.
    const bool started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process) != 0;
    CloseHandle(writeEnd);
    if (nothing != INVALID_HANDLE_VALUE)
        CloseHandle(nothing);
    if (!started) {
        CloseHandle(readEnd);
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    return ChildProcess{static_cast<long>(process.dwProcessId),
                        reinterpret_cast<std::intptr_t>(process.hProcess),
                        reinterpret_cast<OutputPipe>(readEnd)};
}

std::optional<std::vector<bool>> WaitForOutput(std::span<const OutputPipe> outputs,
                                               int milliseconds) {
    // Anonymous pipes cannot be waited on: they are looked at in turn.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (;;) {
        std::vector<bool> ready;
        bool any = false;
        for (const OutputPipe output : outputs) {
            DWORD available = 0;
            const bool readable =
                !PeekNamedPipe(AsHandle(output), nullptr, 0, nullptr, &available, nullptr) ||
                available > 0;
            ready.push_back(readable);
            any = any || readable;
        }
        if (any || GetTickCount64() >= deadline)
            return ready;
        Sleep(10);
    }
}

long ReadOutput(OutputPipe output, char* buffer, std::size_t size) {
    DWORD got = 0;
    if (!ReadFile(AsHandle(output), buffer, static_cast<DWORD>(size), &got, nullptr))
        return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    return static_cast<long>(got);
}

void CloseOutput(OutputPipe output) {
    CloseHandle(AsHandle(output));
}

void AskToStop(const ChildProcess& child) {
    GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, static_cast<DWORD>(child.Id));
}

int WaitForEnd(const ChildProcess& child) {
    WaitForSingleObject(AsHandle(child.Handle), INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(AsHandle(child.Handle), &status);
    CloseHandle(AsHandle(child.Handle));
    return static_cast<int>(status & 0xFF);
}
