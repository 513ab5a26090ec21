#include "Commands.h"

// Placeholder until the radio link lands.
namespace cps::cli {

const char* const kReadHelp = "Usage: cps read --port PORT -o OUT\n\nNot available yet.\n";
const char* const kWriteHelp = "Usage: cps write --port PORT FILE\n\nNot available yet.\n";

int runRead(const QStringList&) {
    err() << "cps read: the radio link is not available in this build\n";
    return kFailed;
}
int runWrite(const QStringList&) {
    err() << "cps write: the radio link is not available in this build\n";
    return kFailed;
}

}  // namespace cps::cli
