#include <windows.h>
// After windows.h, which it needs.
#include <setupapi.h>

#include <QMap>
#include <algorithm>

#include "PortList.h"
#include "PortNames.h"

namespace cps {

namespace {

// The "Ports (COM & LPT)" device class; spelt out so no GUID library has to be linked.
const GUID kPortsClass = {
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

QString deviceProperty(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD property) {
    wchar_t buffer[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &dev, property, &type,
                                           reinterpret_cast<BYTE*>(buffer), sizeof buffer - 2,
                                           nullptr))
        return QString();
    // A multi-string (the hardware ids) is read up to its first entry.
    return QString::fromWCharArray(buffer);
}

QString registryText(HKEY key, const wchar_t* name) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer - 2;
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return QString();
    return QString::fromWCharArray(buffer);
}

// What Device Manager knows of each present port, by its COM name: the friendly name, the
// maker and the USB ids. Ports without a driver entry (wine's, some virtual ones) are not
// here and keep only their name.
QMap<QString, SystemPort> devicePorts() {
    QMap<QString, SystemPort> found;
    HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return found;
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof dev;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &dev); ++i) {
        HKEY key = SetupDiOpenDevRegKey(set, &dev, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        const QString name = registryText(key, L"PortName");
        RegCloseKey(key);
        if (!name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) continue;  // LPT
        SystemPort p;
        p.description = deviceProperty(set, dev, SPDRP_FRIENDLYNAME);
        if (p.description.isEmpty()) p.description = deviceProperty(set, dev, SPDRP_DEVICEDESC);
        p.manufacturer = deviceProperty(set, dev, SPDRP_MFG);
        usbIdsFromHardwareId(deviceProperty(set, dev, SPDRP_HARDWAREID), p.vendorId, p.productId);
        wchar_t instance[512] = {};
        if (p.vendorId >= 0 && SetupDiGetDeviceInstanceIdW(set, &dev, instance, 511, nullptr)) {
            // USB\VID_xxxx&PID_yyyy\SERIAL: the last part is the serial number unless
            // Windows made one up (those hold '&').
            const QString id = QString::fromWCharArray(instance);
            const QString last = id.section(QLatin1Char('\\'), -1);
            if (!last.contains(QLatin1Char('&'))) p.serialNumber = last;
        }
        found.insert(name.toUpper(), p);
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

}  // namespace

// The serial ports are the values of HARDWARE\DEVICEMAP\SERIALCOMM, each holding a COM name;
// every serial driver registers its ports there.
QList<SystemPort> systemPorts() {
    QList<SystemPort> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    const QMap<QString, SystemPort> known = devicePorts();
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[256] = {};
        DWORD nameLength = 255;
        wchar_t data[64] = {};
        DWORD size = sizeof data - 2;
        DWORD type = 0;
        const LONG r = RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type,
                                     reinterpret_cast<BYTE*>(data), &size);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        const QString name = QString::fromWCharArray(data).trimmed().toUpper();
        const int n = portNumberFromName(name);
        if (n <= 0) continue;
        SystemPort p = known.value(name);
        p.name = name;
        p.device = QStringLiteral("\\\\.\\%1").arg(name);
        ports << p;
    }
    RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const SystemPort& a, const SystemPort& b) {
        return portNumberFromName(a.name) < portNumberFromName(b.name);
    });
    return ports;
}

}  // namespace cps
