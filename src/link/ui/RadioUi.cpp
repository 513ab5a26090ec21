#include "RadioUi.h"

// Placeholder until the radio link lands: the commands do nothing yet.
namespace cps::radioui {
void read(RadioViewHost&) {}
void write(RadioViewHost&) {}
void comSetup(QWidget*) {}
}  // namespace cps::radioui
