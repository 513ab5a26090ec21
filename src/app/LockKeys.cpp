#include "LockKeys.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(CPS_HAVE_X11) && QT_CONFIG(xcb)
#define CPS_LOCKS_FROM_X11
// Last: the X11 headers define names (None, KeyPress, Bool) that Qt's use too.
#include <X11/XKBlib.h>
#endif

std::optional<std::array<bool, 3>> lockKeyStates() {
#if defined(Q_OS_WIN)
    return std::array<bool, 3>{(GetKeyState(VK_CAPITAL) & 1) != 0,
                               (GetKeyState(VK_NUMLOCK) & 1) != 0,
                               (GetKeyState(VK_SCROLL) & 1) != 0};
#elif defined(CPS_LOCKS_FROM_X11)
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return std::nullopt;
    std::array<bool, 3> on{};
    const char* const names[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    for (int i = 0; i < 3; ++i) {
        Bool state = False;
        const Atom atom = XInternAtom(display, names[i], True);
        if (atom != 0 && XkbGetNamedIndicator(display, atom, nullptr, &state, nullptr, nullptr))
            on[i] = state != False;
    }
    return on;
#else
    return std::nullopt;
#endif
}
