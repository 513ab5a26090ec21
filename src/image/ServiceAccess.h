#pragma once

#include <QString>

namespace cps {

// The fixed service access code that guards the service tools and the stun settings.
inline const char* serviceAccessCode() { return "527KTM"; }

// Compared ignoring letter case; nothing more and nothing less than the code.
inline bool accessCodeMatches(const QString& typed) {
    return typed.compare(QLatin1String(serviceAccessCode()), Qt::CaseInsensitive) == 0;
}

}  // namespace cps
