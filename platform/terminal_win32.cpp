#include "platform/terminal.h"

#include <iostream>
#include <windows.h>

namespace {

std::atomic<bool>* interruptFlag = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (interruptFlag == nullptr ||
        (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT))
        return FALSE;
    *interruptFlag = true;
    return TRUE;
}

HANDLE Handle(StandardStream stream) {
    return GetStdHandle(stream == StandardStream::Input    ? STD_INPUT_HANDLE
                        : stream == StandardStream::Output ? STD_OUTPUT_HANDLE
                                                           : STD_ERROR_HANDLE);
}

} // namespace

bool IsTerminal(StandardStream stream) {
    DWORD mode = 0;
    return GetConsoleMode(Handle(stream), &mode) != 0;
}

std::string ReadSecretLine() {
    const HANDLE input = Handle(StandardStream::Input);
    DWORD saved = 0;
    const bool console = GetConsoleMode(input, &saved) != 0;
    if (console)
        SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (console) {
        SetConsoleMode(input, saved);
        std::cerr << "\n";
    }
    return line;
}

void StopOnInterrupt(std::atomic<bool>& flag) {
    interruptFlag = &flag;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
