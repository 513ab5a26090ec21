#pragma once

#include <QString>

namespace cps {

// Every text built into the program exists in English and in Chinese; the language flag
// picks one where it is shown.
inline QString pick(bool chinese, const char* english, const char* chineseText) {
    return QString::fromUtf8(chinese ? chineseText : english);
}

}  // namespace cps
