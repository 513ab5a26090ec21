#pragma once

#include "RadioImage.h"

class QWidget;

namespace cps {

// What the channel view offers the radio commands: its document's image and the grid
// operations the transfer needs before and after moving the image.
class RadioViewHost {
  public:
    virtual ~RadioViewHost() = default;
    virtual QWidget* hostWidget() = 0;
    virtual RadioImage& documentImage() = 0;
    virtual void commitPendingEdit() = 0;   // leave-cell check on the cell being edited
    virtual void storeGridIntoImage() = 0;  // band limits and the 129 rows into the image
    virtual void fillGridFromImage() = 0;   // after a successful read
};

namespace radioui {
// Program > Read (0x8005), Program > Write (0x8006): open the Process dialog (146); its
// Start runs the transaction against the current port.
void read(RadioViewHost& host);
void write(RadioViewHost& host);
// Setup > Com Setup (0x8009): the Port Setting dialog (204).
void comSetup(QWidget* parent);
}  // namespace radioui

}  // namespace cps
