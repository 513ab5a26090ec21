#include <windows.h>

#include "SerialPort.h"

namespace cps {

namespace {

HANDLE asHandle(void* h) { return static_cast<HANDLE>(h); }

// Writes and reads block until done or timed out; every call stops at its first failure and
// keeps the error for errorText().
constexpr DWORD kInputQueue = 1024;
constexpr DWORD kOutputQueue = 512;

// Windows' serial drivers refuse a second open with "access denied": the port is in use.
OpenFailure failureFor(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return OpenFailure::Busy;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return OpenFailure::Missing;
        default:
            return OpenFailure::Other;
    }
}

}  // namespace

bool SerialPort::open(const QString& name) {
    close();
    const std::wstring device = resolve_(name).toStdWString();
    // Exclusive and synchronous: no other program may talk to the radio meanwhile.
    HANDLE h = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error_ = GetLastError();
        failure_ = failureFor(error_);
        return false;
    }
    handle_ = h;
    error_ = 0;
    failure_ = OpenFailure::None;
    return true;
}

void SerialPort::configure(const PortTimeouts& timeouts) {
    if (!handle_) return;
    HANDLE h = asHandle(handle_);
    // Results are not checked: a port that does not take them fails the handshake anyway.
    SetupComm(h, kInputQueue, kOutputQueue);
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = static_cast<DWORD>(timeouts.readInterval);
    t.ReadTotalTimeoutMultiplier = static_cast<DWORD>(timeouts.readTotalPerByte);
    t.ReadTotalTimeoutConstant = static_cast<DWORD>(timeouts.readTotalConstant);
    t.WriteTotalTimeoutMultiplier = static_cast<DWORD>(timeouts.writeTotalPerByte);
    t.WriteTotalTimeoutConstant = static_cast<DWORD>(timeouts.writeTotalConstant);
    SetCommTimeouts(h, &t);
    // Only the line format changes; flow control and the modem lines stay as the driver has
    // them, since some cables power themselves from DTR/RTS.
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetCommState(h, &dcb)) {
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        SetCommState(h, &dcb);
    }
}

void SerialPort::purge(Purge what) {
    if (!handle_) return;
    const DWORD queues = PURGE_TXCLEAR | PURGE_RXCLEAR;
    PurgeComm(asHandle(handle_),
              what == Purge::Full ? queues | PURGE_TXABORT | PURGE_RXABORT : queues);
}

int SerialPort::write(const uint8_t* data, int count) {
    if (!handle_ || count <= 0) return 0;
    DWORD written = 0;
    if (!WriteFile(asHandle(handle_), data, static_cast<DWORD>(count), &written, nullptr))
        error_ = GetLastError();
    return static_cast<int>(written);
}

int SerialPort::read(uint8_t* data, int count) {
    if (!handle_ || count <= 0) return 0;
    DWORD got = 0;
    if (!ReadFile(asHandle(handle_), data, static_cast<DWORD>(count), &got, nullptr))
        error_ = GetLastError();
    return static_cast<int>(got);
}

void SerialPort::close() {
    if (handle_) {
        CloseHandle(asHandle(handle_));
        handle_ = nullptr;
    }
}

void SerialPort::pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

QString SerialPort::errorText() const {
    switch (error_) {
        case ERROR_SUCCESS:
            return QString();
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return QStringLiteral("The port is in use by another program");
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return QStringLiteral("There is no such port on this computer");
        default:
            break;
    }
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error_, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = text ? QString::fromWCharArray(text).trimmed() : QString();
    if (text) LocalFree(text);
    if (message.isEmpty()) message = QStringLiteral("Windows error");
    return QStringLiteral("%1 (error %2)").arg(message).arg(error_);
}

}  // namespace cps
