#pragma once

#include <QByteArray>
#include <QString>

#include "Port.h"
#include "RadioImage.h"

namespace cps {

enum class LinkMode { Read, Write };

// How an exchange ended. Every outcome but Ok has already been shown through the prompt
// (except Cancelled, which the user chose).
enum class LinkResult {
    Ok,
    PortNotOpened,
    NoAnswer,  // the Retry box was answered Cancel
    WrongType,
    RangeRefused,  // the range box was answered Cancel
    BandMismatch,
    BandInvalid,
    PasswordError,
    Interrupted,  // a missing acknowledgement or a short reply
    Cancelled,
    VerifyFailed,  // the read-back after a write differs from what was sent
    // The write completed; the read-back that checks it broke off. The radio holds the new
    // data, unchecked.
    VerifyInterrupted,
};

enum class Buttons { Ok, OkCancel, RetryCancel };
enum class Answer { Ok, Cancel, Retry };

// What the protocol needs from whoever runs it: message boxes, progress and the pump step.
// The GUI answers with message boxes and the Process dialog, the command line from its
// options, tests from a script.
class LinkPrompt {
  public:
    virtual ~LinkPrompt() = default;
    // An empty caption means the application title.
    virtual Answer message(const QString& text, const QString& caption, Buttons buttons) = 0;
    virtual void setStatus(const QString& text) = 0;
    virtual void setProgressRange(int maximum) = 0;
    virtual void setProgress(int position) = 0;
    // One step of the message pump; returns true when the user asked to cancel.
    virtual bool pump() = 0;
};

struct TransferSettings {
    LinkMode mode = LinkMode::Read;
    QString portName;
    Bands bands;                   // the document's bands, checked against the radio's range
    bool sendCalibration = false;  // SQL writing allowed and service mode unlocked
    bool chinese = false;
    // Write only: read back every block sent and compare it with the image.
    bool verify = false;
};

// Calibration rows go to the radio only with the switch on in an unlocked session.
inline bool calibrationWritable(int sqlWritingAllowed, bool serviceUnlocked) {
    return sqlWritingAllowed != 0 && serviceUnlocked;
}

// The radio protocol: handshake, identification, block reads and writes. No widgets; it
// talks to a Port and a LinkPrompt only, and closes the port on every way out.
class RadioLink {
  public:
    RadioLink(Port& port, LinkPrompt& prompt) : port_(port), prompt_(prompt) {}

    // Whole-image read into document or write from it. A read changes document only once
    // all 256 rows have arrived; a write never changes it.
    LinkResult transfer(RadioImage& document, const TransferSettings& settings);
    // After VerifyFailed: the lowest image address whose read-back differs; else -1.
    int verifyMismatch() const { return mismatch_; }
    // The identification the radio gave in the last transfer's handshake (empty when none
    // arrived): its type letters and the frequency range it covers.
    QByteArray identification() const { return id_; }
    // After a write: whether any block was sent, so that a write that ended early has left
    // the radio holding part of the new configuration.
    bool dataSent() const { return dataSent_; }

    // Moves image bytes [start, end) to or from the radio, with its own time-outs and
    // messages and no progress; shows the success box at the end. A read changes image
    // only once every block has arrived in full.
    LinkResult serviceExchange(RadioImage& image, int start, int end, LinkMode mode,
                               const QString& portName, bool chinese);

    // The image blocks a write sends, in order, after the 500 row blocks.
    struct Block {
        int address;
        int length;
    };
    static const Block kFixedBlocks[6];

  private:
    class Run;
    Port& port_;
    LinkPrompt& prompt_;
    int mismatch_ = -1;
    QByteArray id_;
    bool dataSent_ = false;
};

// An identification as a person reads it: "U888 134-176 MHz"; empty for none.
QString describeIdentification(const QByteArray& id);

// The protocol's bytes.
namespace wire {
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kProgram[7] = {0x02, 'P', 'R', 'O', 'G', 'R', 'E'};
constexpr uint8_t kIdentify[2] = {'M', 0x02};
constexpr uint8_t kRead = 'R';
constexpr uint8_t kWrite = 'W';
constexpr int kIdLength = 8;
constexpr int kReplyHeader = 4;
}  // namespace wire

// The messages, in both languages.
namespace linktext {
QString portNotOpened(bool chinese);
// The line under a port-open failure: the port name and the device it leads to.
QString portDetail(const QString& port, const QString& device, bool chinese);
// Why device could not be opened and what to do about it; empty when the system gave no
// reason the user can act on. The Chinese texts come from the installed translation.
QString portReason(OpenFailure failure, const QString& device, bool chinese);
// The lines a port-open failure shows: first, the reason, then the port detail.
QString portNotOpenedLines(const QString& first, OpenFailure failure, const QString& port,
                           const QString& device, bool chinese);
QString commError(bool chinese);
QString interrupted(bool chinese);
QString wrongType(bool chinese);
QString caution(bool chinese);
QString outOfRange(bool chinese);
// The lines under the range question: the document's band limits, the radio's range and
// the channels (shown with bands) outside it.
QString rangeDetail(const RadioImage& document, const Bands& bands, const Band& radio,
                    bool chinese);
QString bandMismatch(bool chinese);
QString bandInvalid(bool chinese);
QString passwordError();
QString waiting(bool chinese);
QString serviceOpenFailed();
QString serviceCommError(bool chinese);
QString readOk(bool chinese);
QString writeOk(bool chinese);
QString verifying(bool chinese);
QString verifyFailed(bool chinese, int address);
QString verified(bool chinese);
// A write that ended before its end: what the radio holds now and how to mend it; backup
// names the file the radio was saved in before, when there is one.
QString partlyWritten(bool chinese, const QString& backup = QString());
// A read that ended before its end.
QString readLeftDocument(bool chinese);
QString verifyInterrupted(bool chinese);
}  // namespace linktext

}  // namespace cps
