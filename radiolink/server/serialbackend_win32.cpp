// The serial line through the Win32 communications functions: COMn opened
// exclusively, 8N1 at the server's rate, DTR and RTS as the settings say,
// reads bounded by the response and inter-byte timeouts.
#include "radiolink/server/portlist.h"
#include "radiolink/server/serialbackend.h"

#include "radiolink/serverresult.h"

#include <algorithm>
#include <windows.h>

namespace radioserver {

namespace {

using Clock = std::chrono::steady_clock;

HANDLE AsHandle(std::intptr_t line) {
    return reinterpret_cast<HANDLE>(line);
}

// "COM3" and "COM12" name ports only through the device namespace beyond
// COM9; a name already in it, or any other path, is taken as it stands.
std::wstring DevicePath(const std::string& device) {
    std::wstring wide(device.begin(), device.end());
    if (device.size() > 3 && (device.starts_with("COM") || device.starts_with("com")))
        return L"\\\\.\\" + wide;
    return wide;
}

HANDLE OpenLine(const std::string& device) {
    // No sharing: the port is this program's alone while it is open.
    return CreateFileW(DevicePath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

std::string DefaultDevice(int portNumber) {
    return "COM" + std::to_string(portNumber);
}

std::uint32_t SerialBackend::Open() {
    if (IsOpen())
        return 0;
    const HANDLE line = OpenLine(device_);
    if (line == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_ACCESS_DENIED ? ServerResult::PortInUse
                                                     : ServerResult::PortConfig;
    DCB control{};
    control.DCBlength = sizeof control;
    if (!GetCommState(line, &control)) { // not a communications device
        CloseHandle(line);
        return ServerResult::PortConfig;
    }
    line_ = reinterpret_cast<std::intptr_t>(line);
    control.BaudRate = static_cast<DWORD>(settings_.Baud);
    control.ByteSize = 8;
    control.Parity = NOPARITY;
    control.StopBits = ONESTOPBIT;
    control.fBinary = TRUE;
    control.fParity = FALSE;
    control.fOutxCtsFlow = FALSE;
    control.fOutxDsrFlow = FALSE;
    control.fDsrSensitivity = FALSE;
    control.fOutX = FALSE;
    control.fInX = FALSE;
    control.fNull = FALSE;
    control.fAbortOnError = FALSE;
    control.fDtrControl = settings_.Dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    control.fRtsControl = settings_.Rts ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    if (!SetCommState(line, &control) || !SetModemLines()) {
        Close();
        return ServerResult::LineSettings;
    }
    return 0;
}

bool SerialBackend::SetModemLines() {
    for (const DWORD function : {settings_.Dtr ? DWORD{SETDTR} : DWORD{CLRDTR},
                                 settings_.Rts ? DWORD{SETRTS} : DWORD{CLRRTS}}) {
        // A line without modem control counts as done, as on a pseudo-terminal.
        if (!EscapeCommFunction(AsHandle(line_), function) &&
            GetLastError() != ERROR_NOT_SUPPORTED && GetLastError() != ERROR_INVALID_PARAMETER)
            return false;
    }
    return true;
}

void SerialBackend::Close() {
    if (!IsOpen())
        return;
    CloseHandle(AsHandle(line_));
    line_ = kNoLine;
}

std::uint32_t SerialBackend::WriteFrame(std::span<const std::uint8_t> request) {
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(settings_.ResponseTimeout.count());
    SetCommTimeouts(AsHandle(line_), &timeouts);
    std::size_t written = 0;
    while (written < request.size()) {
        DWORD wrote = 0;
        if (!WriteFile(AsHandle(line_), request.data() + written,
                       static_cast<DWORD>(request.size() - written), &wrote, nullptr) ||
            wrote == 0)
            return ServerResult::WriteFailure;
        written += wrote;
    }
    return 0;
}

long SerialBackend::ReadSome(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return -1;
    // The read ends at the deadline, or a moment after bytes stop coming;
    // Wine does not keep the "return at the first byte" mode, so the
    // inter-byte interval ends a read that got something.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 5;
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(left);
    if (!SetCommTimeouts(AsHandle(line_), &timeouts))
        return -1;
    DWORD got = 0;
    if (!ReadFile(AsHandle(line_), input_.data(), static_cast<DWORD>(input_.size()), &got, nullptr))
        return -1;
    return static_cast<long>(got);
}

void SerialBackend::DiscardInput() {
    PurgeComm(AsHandle(line_), PURGE_RXCLEAR);
}

void SerialBackend::DrainOutput() {
    FlushFileBuffers(AsHandle(line_));
}

std::string SerialDeviceProblem(const std::string& device) {
    const HANDLE line = OpenLine(device);
    if (line == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "cannot be found";
        case ERROR_ACCESS_DENIED:
            return "is in use by another program";
        default:
            return "cannot be opened (Windows error " + std::to_string(GetLastError()) + ")";
        }
    }
    DCB control{};
    control.DCBlength = sizeof control;
    const bool serial = GetCommState(line, &control) != 0;
    CloseHandle(line);
    return serial ? std::string() : "is not a serial port";
}

std::vector<SerialPortInfo> ListSerialPorts() {
    // Every DOS device name that leads to a serial device: COM1, COM7, ...
    std::vector<wchar_t> names(65536);
    const DWORD length = QueryDosDeviceW(nullptr, names.data(), static_cast<DWORD>(names.size()));
    std::vector<SerialPortInfo> ports;
    for (DWORD at = 0; at < length && names[at] != L'\0';) {
        const std::wstring name(names.data() + at);
        at += static_cast<DWORD>(name.size()) + 1;
        if (name.size() < 4 || name.compare(0, 3, L"COM") != 0 ||
            !std::all_of(name.begin() + 3, name.end(),
                         [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            continue;
        SerialPortInfo info;
        info.Device = std::string(name.begin(), name.end());
        wchar_t target[1024] = {};
        if (QueryDosDeviceW(name.c_str(), target, 1024) != 0)
            info.Description = std::string(target, target + wcsnlen(target, 1024));
        ports.push_back(std::move(info));
    }
    std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
        return a.Device.size() != b.Device.size() ? a.Device.size() < b.Device.size()
                                                  : a.Device < b.Device;
    });
    return ports;
}

} // namespace radioserver
