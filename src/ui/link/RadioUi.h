#pragma once

#include <functional>

#include "PortNames.h"
#include "RadioImage.h"

class QWidget;

namespace cps {

// The program's values a radio command uses, asked for each time it runs: the language,
// the caption of the link's message boxes, the current port and where port names lead,
// and whether the calibration rows go out.
struct RadioContext {
    bool chinese = false;
    QString caption;
    QString portName;
    PortResolver resolve;
    bool sendCalibration = false;
    bool verifyAfterWrite = false;  // read back what a write sent, report it in the status bar
    // The devices the user assigned to COM numbers, and where a new assignment is kept.
    DeviceMap assigned;
    std::function<void(int portNumber, const QString& device)> assign;
    // Around a transfer that runs outside the Process window (the service dialogs' Read and
    // Write): the document is busy, as during Program > Read and Write.
    std::function<void(bool busy)> setBusy;
};

// What the channel window offers the radio commands: its document's image, the band
// limits in use and the grid operations the transfer needs before and after moving it.
class RadioViewHost {
  public:
    virtual ~RadioViewHost() = default;
    virtual QWidget* hostWidget() = 0;
    virtual RadioImage& documentImage() = 0;
    virtual RadioContext radioContext() = 0;
    virtual Bands bandsInUse() = 0;
    virtual void commitPendingEdit() = 0;   // leave-cell check on the cell being edited
    virtual void storeGridIntoImage() = 0;  // band limits and the 129 rows into the image
    virtual void imageReadFromRadio() = 0;  // the image was replaced: new-image flag, refill
    // Around one transfer, from Start to its end (ok: it completed); the host may lock the
    // commands that would disturb it meanwhile.
    virtual void transferStarted(bool write) { (void)write; }
    virtual void transferEnded(bool write, bool ok) { (void)write, (void)ok; }
    // A line for the main window's status bar (the verify result).
    virtual void reportStatus(const QString& text) { (void)text; }
};

namespace radioui {
// Program > Read (0x8005), Program > Write (0x8006): open the Process dialog (146); its
// Start runs the transaction against the current port.
void read(RadioViewHost& host);
void write(RadioViewHost& host);
// Setup > Com Setup (0x8009): the Port Setting dialog (204). Returns the port number chosen
// with OK, or 0; the caller makes it current and remembers it.
int comSetup(QWidget* parent, const RadioContext& context);
// Whether the view's Process window is open (a transfer may be about to start or running).
bool processWindowOpen(const QWidget* view);
}  // namespace radioui

}  // namespace cps
