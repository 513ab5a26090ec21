#include "RadioLink.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

#include "ChannelCodec.h"
#include "Pick.h"
#include "ServiceExchange.h"

namespace cps {

namespace linktext {

QString portNotOpened(bool chinese) {
    return pick(chinese,
                "Could not Open the Port, Please check whether the Port are occupied or the "
                "device are ok",
                "无法打开串口，请检查串口是否被占用或设备是否正常");
}
QString portDetail(const QString& port, const QString& device, bool chinese) {
    if (device.isEmpty() || device == port) return pick(chinese, "Port: %1", "串口：%1").arg(port);
    return pick(chinese, "Port: %1, device %2", "串口：%1，设备 %2").arg(port, device);
}
QString portReason(OpenFailure failure, const QString& device, bool chinese) {
    const char* text = nullptr;
    switch (failure) {
        case OpenFailure::Denied:
            text = QT_TRANSLATE_NOOP("PortReason",
                                     "You may not open %1. Add your user to the dialout group "
                                     "(sudo usermod -aG dialout $USER), then log in again.");
            break;
        case OpenFailure::Busy:
            text = QT_TRANSLATE_NOOP("PortReason", "%1 is in use by another program.");
            break;
        case OpenFailure::Missing:
            text = QT_TRANSLATE_NOOP("PortReason", "%1 is not present: is the cable plugged in?");
            break;
        case OpenFailure::None:
        case OpenFailure::Other:
            return QString();
    }
    const QString line =
        chinese ? QCoreApplication::translate("PortReason", text) : QString::fromLatin1(text);
    return line.arg(device);
}
QString portNotOpenedLines(const QString& first, OpenFailure failure, const QString& port,
                           const QString& device, bool chinese) {
    QString text = first;
    const QString reason = portReason(failure, device.isEmpty() ? port : device, chinese);
    if (!reason.isEmpty()) text += QLatin1Char('\n') + reason;
    return text + QLatin1Char('\n') + portDetail(port, device, chinese);
}
QString commError(bool chinese) {
    return pick(chinese,
                "Communication Error, Please check all the connections and the radio power",
                "通讯错误，请检查所有连接和对讲机电源");
}
QString interrupted(bool chinese) {
    return pick(chinese, "Program Interrupt, Please reset the radio and try again",
                "编程中断，请复位对讲机后重试");
}
QString wrongType(bool chinese) {
    return pick(chinese, "Becuase the type of radio does not match,\ncommunications is interrupt.",
                "对讲机类型不匹配,无法通讯。");
}
QString caution(bool chinese) { return pick(chinese, "Caution", "警告"); }
QString outOfRange(bool chinese) {
    return pick(chinese,
                "\n\nThe frequency band over the range of the radio.\nClick the OK button to "
                "continue, or click Cancel button to exit.",
                "\n\n频段超出对讲机的范围。\n按确定继续，按取消退出。");
}
QString rangeDetail(const RadioImage& document, const Bands& bands, const Band& radio,
                    bool chinese) {
    const QList<int> outside = channelsOutside(document, bands, radio);
    QString text =
        pick(chinese, "This file: %1\nThis radio: %2-%3 MHz\n", "此文件：%1\n此对讲机：%2-%3 MHz\n")
            .arg(msg::bandsText(bands, chinese))
            .arg(radio.low / kPerMHz)
            .arg(radio.high / kPerMHz);
    if (outside.isEmpty())
        return text + pick(chinese, "No channel lies outside the radio's range.",
                           "没有超出对讲机范围的信道。");
    return text +
           pick(chinese, "Channels outside the radio's range: %1", "超出对讲机范围的信道：%1")
               .arg(msg::channelList(document, outside, chinese));
}
QString bandMismatch(bool chinese) {
    return pick(chinese, "Frequency band is not match", "频段不匹配");
}
QString bandInvalid(bool chinese) { return pick(chinese, "Frequency band is invalid", "频段非法"); }
QString passwordError() { return QStringLiteral("Password Error!"); }
QString waiting(bool chinese) {
    return pick(chinese, "Waiting the response from radio....", "请等待对机讲响应....");
}
QString serviceOpenFailed() { return QStringLiteral("Open the serial port fails"); }
QString serviceCommError(bool chinese) { return pick(chinese, "Communication Error", "通讯出错"); }
QString readOk(bool chinese) { return pick(chinese, "Read Successfully", "读数据成功"); }
QString writeOk(bool chinese) { return pick(chinese, "Write Successfully", "写数据成功"); }
QString verifying(bool chinese) { return pick(chinese, "Verifying...", "正在校验..."); }
QString verifyFailed(bool chinese, int address) {
    return pick(chinese, "Verify failed: the radio holds different data at 0x%1",
                "校验失败：对讲机在 0x%1 处的数据与写入的不同")
        .arg(QStringLiteral("%1").arg(address, 4, 16, QLatin1Char('0')).toUpper());
}
QString verified(bool chinese) {
    return pick(chinese, "Write verified: the radio holds what was written",
                "写入已校验：对讲机中的数据与写入的一致");
}
QString partlyWritten(bool chinese, const QString& backup) {
    QString text =
        pick(chinese,
             "The write did not finish: the radio now holds a partly written "
             "configuration. Write again to complete it.",
             "写数据未完成：对讲机中现在是只写入了一部分的配置。请再次写数据以完成写入。");
    if (!backup.isEmpty())
        text += QLatin1Char('\n') + pick(chinese, "What the radio held before is saved in %1.",
                                         "对讲机原来的数据已保存在 %1。")
                                        .arg(backup);
    return text;
}
QString readLeftDocument(bool chinese) {
    return pick(chinese, "The read did not finish: the document was left unchanged.",
                "读数据未完成：文件内容保持不变。");
}
QString verifyInterrupted(bool chinese) {
    return pick(chinese,
                "The write completed; only the verify was interrupted, so the data in the radio "
                "is not checked",
                "写数据已完成，仅校验被中断，对讲机中的数据未经校验");
}
}  // namespace linktext

const RadioLink::Block RadioLink::kFixedBlocks[6] = {
    {0xFD0, 2}, {0xFE0, 8}, {0xFE8, 6}, {0xFD4, 8}, {0xFD2, 2}, {0xFDC, 4},
};

namespace {

constexpr int kWriteRows = 250;
constexpr int kMaxPasses = 15;
constexpr int kMaxIdAckAttempts = 5;
constexpr int kPumpsPerPass = 6;
constexpr int kPumpsPerRow = 5;

bool typeAccepted(const uint8_t* id) {
    const uint8_t t = id[0];
    return (t == 'U' || t == 'P' || t == 'X' || t == 'V') && id[1] == '8' && id[2] == '8' &&
           id[3] == '8';
}

bool inside(const Band& radio, const Band& band) {
    return radio.low <= band.low && band.high <= radio.high;
}

}  // namespace

// One whole-image transaction: its state lives only as long as the transaction.
class RadioLink::Run {
  public:
    Run(Port& port, LinkPrompt& prompt, const TransferSettings& s, int& mismatch, bool& sent,
        QByteArray& id)
        : port_(port),
          prompt_(prompt),
          s_(s),
          zh_(s.chinese),
          mismatch_(mismatch),
          sent_(sent),
          id_(id) {}

    LinkResult go(RadioImage& document) {
        if (!port_.open(s_.portName)) {
            prompt_.message(
                linktext::portNotOpenedLines(linktext::portNotOpened(zh_), port_.openFailure(),
                                             s_.portName, port_.deviceFor(s_.portName), zh_),
                QString(), Buttons::Ok);
            return LinkResult::PortNotOpened;
        }
        PortCloser closer(port_);
        port_.configure(kTransferTimeouts);
        prompt_.setProgressRange(writing() ? kWriteRows : kRowCount);

        LinkResult r = handshake(document);
        if (r != LinkResult::Ok) return r;
        return writing() ? writeImage(document) : readImage(document);
    }

  private:
    bool writing() const { return s_.mode == LinkMode::Write; }

    LinkResult fail(LinkResult r, const QString& text, const QString& caption = QString()) {
        prompt_.message(text, caption, Buttons::Ok);
        return r;
    }
    LinkResult interrupted() { return fail(LinkResult::Interrupted, linktext::interrupted(zh_)); }
    // Every block was written and acknowledged: saying "reset and try again" would suggest
    // the radio holds a half-written image.
    LinkResult verifyBroken() {
        return fail(LinkResult::VerifyInterrupted, linktext::verifyInterrupted(zh_));
    }

    void send(const uint8_t* data, int n) { port_.write(data, n); }
    void sendAck() { port_.writeByte(wire::kAck); }
    bool ackArrives() { return port_.readByte() == wire::kAck; }
    void sendHeader(uint8_t command, int address, int length) {
        const uint8_t h[4] = {command, static_cast<uint8_t>(address >> 8),
                              static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>(length)};
        send(h, 4);
    }

    // Program-mode request, identification and band check, repeated until the radio is
    // ready for the data phase: twice for a read, three times for a write.
    LinkResult handshake(const RadioImage& document) {
        int attempt = 1;
        bool firstId = true;
        bool bandVerified = false;
        for (;;) {
            for (int i = 0; i < kPumpsPerPass; ++i) {
                if (prompt_.pump()) return LinkResult::Cancelled;
                port_.pause(1);
            }
            prompt_.setStatus(linktext::waiting(zh_));
            port_.purge(Purge::Full);
            for (uint8_t b : wire::kProgram) {
                port_.pause(2);
                port_.purge(Purge::Queues);
                port_.writeByte(b);
            }
            int answer = port_.readByte();
            if (answer != wire::kAck) answer = port_.readByte();
            bool retryBox = false;
            if (answer != wire::kAck) {
                port_.pause(2);
                if (++attempt > kMaxPasses) retryBox = true;
            } else {
                port_.pause(1);
                port_.purge(Purge::Queues);
                send(wire::kIdentify, 2);
                uint8_t id[wire::kIdLength] = {};
                // A short identification would be judged on stale bytes: treat it as the
                // broken exchange it is.
                if (port_.read(id, wire::kIdLength) < wire::kIdLength) return interrupted();
                id_ = QByteArray(reinterpret_cast<const char*>(id), wire::kIdLength);
                if (!typeAccepted(id))
                    return fail(LinkResult::WrongType, linktext::wrongType(zh_),
                                linktext::caution(zh_));
                if (writing() && firstId) {
                    firstId = false;
                    const Band radio = unpackBand(id[5], id[6], id[7]);
                    if (!inside(radio, s_.bands.band1) && !inside(radio, s_.bands.band2) &&
                        prompt_.message(linktext::outOfRange(zh_) + QStringLiteral("\n\n") +
                                            linktext::rangeDetail(document, s_.bands, radio, zh_),
                                        linktext::caution(zh_), Buttons::OkCancel) != Answer::Ok)
                        return LinkResult::RangeRefused;
                    continue;  // the radio is asked for program mode again
                }
                // Purged before the ACK only: a radio may answer it at once, and a purge
                // between the ACK and its answer would throw the answer away.
                port_.purge(Purge::Queues);
                sendAck();
                port_.pause(1);
                if (!ackArrives()) {
                    if (attempt > kMaxIdAckAttempts) return interrupted();
                    ++attempt;
                    retryBox = true;
                } else if (bandVerified) {
                    return LinkResult::Ok;
                } else {
                    sendHeader(wire::kRead, addr::kModelIndex, 8);
                    uint8_t reply[12] = {};
                    if (port_.read(reply, 12) < 12) return interrupted();
                    const uint8_t band = reply[5];
                    sendAck();
                    if (!ackArrives()) return interrupted();
                    if (writing() && band != document.at(addr::kBandCode))
                        return fail(LinkResult::BandMismatch, linktext::bandMismatch(zh_));
                    if (!writing() && band != 1 && band != 2)
                        return fail(LinkResult::BandInvalid, linktext::bandInvalid(zh_));
                    bandVerified = true;
                    continue;
                }
            }
            if (retryBox) {
                if (prompt_.message(linktext::commError(zh_), QString(), Buttons::RetryCancel) !=
                    Answer::Retry)
                    return LinkResult::NoAnswer;
                attempt = 1;
            }
        }
    }

    bool writeBlock(const RadioImage& image, int address, int length) {
        sent_ = true;
        port_.purge(Purge::Queues);
        sendHeader(wire::kWrite, address, length);
        port_.pause(1);
        send(image.data() + address, length);
        return ackArrives();
    }

    // After each row: progress, its number as status text, and the pump steps.
    bool rowDone(int position) {
        prompt_.setProgress(position);
        prompt_.setStatus(QString::number(position));
        for (int i = 0; i < kPumpsPerRow; ++i)
            if (prompt_.pump()) return false;
        return true;
    }

    LinkResult writeImage(const RadioImage& image) {
        for (int row = 0; row < kWriteRows; ++row) {
            for (int half = 0; half < 2; ++half)
                if (!writeBlock(image, row * kRowSize + half * 8, 8)) return interrupted();
            if (!rowDone(row + 1)) return LinkResult::Cancelled;
        }
        for (const Block& b : kFixedBlocks)
            if (!writeBlock(image, b.address, b.length)) return interrupted();
        if (s_.sendCalibration)
            for (int a = kCalibrationStart; a < kCalibrationEnd; a += 8)
                if (!writeBlock(image, a, 8)) return interrupted();
        return s_.verify ? verifyImage(image) : LinkResult::Ok;
    }

    // Reads one block into data; false on a short reply or a missing acknowledgement.
    bool readBlock(int address, int length, uint8_t* data) {
        uint8_t reply[wire::kReplyHeader + 255] = {};
        port_.purge(Purge::Queues);
        sendHeader(wire::kRead, address, length);
        const int want = wire::kReplyHeader + length;
        if (port_.read(reply, want) < want) return false;
        std::memcpy(data, reply + wire::kReplyHeader, static_cast<size_t>(length));
        port_.purge(Purge::Queues);
        sendAck();
        return ackArrives();
    }

    // Reads back, in the same program-mode session, every block the write sent. All of
    // them are read so that the report names the lowest address that differs.
    LinkResult verifyImage(const RadioImage& image) {
        int lowest = -1;
        auto check = [&](int address, int length) {
            uint8_t got[8] = {};
            if (!readBlock(address, length, got)) return false;
            for (int i = 0; i < length; ++i)
                if (got[i] != image.at(address + i) && (lowest < 0 || address + i < lowest))
                    lowest = address + i;
            return true;
        };
        prompt_.setProgress(0);
        prompt_.setStatus(linktext::verifying(zh_));
        for (int row = 0; row < kWriteRows; ++row) {
            for (int half = 0; half < 2; ++half)
                if (!check(row * kRowSize + half * 8, 8)) return verifyBroken();
            if (!rowDone(row + 1)) return LinkResult::Cancelled;
        }
        for (const Block& b : kFixedBlocks)
            if (!check(b.address, b.length)) return verifyBroken();
        if (s_.sendCalibration)
            for (int a = kCalibrationStart; a < kCalibrationEnd; a += 8)
                if (!check(a, 8)) return verifyBroken();
        if (lowest < 0) return LinkResult::Ok;
        mismatch_ = lowest;
        return fail(LinkResult::VerifyFailed, linktext::verifyFailed(zh_, lowest));
    }

    LinkResult readImage(RadioImage& document) {
        sendHeader(wire::kRead, addr::kPassword - 2, 8);
        uint8_t reply[12] = {};
        if (port_.read(reply, 12) < 12) return interrupted();
        if (std::memcmp(reply + 6, document.data() + addr::kPassword, addr::kPasswordLength) != 0)
            return fail(LinkResult::PasswordError, linktext::passwordError());
        sendAck();
        if (!ackArrives()) return interrupted();

        // Rows land in a scratch image; the document changes only once all of them arrived,
        // so a broken or cancelled read never leaves two configurations mixed.
        RadioImage scratch = document;
        for (int row = 0; row < kRowCount; ++row) {
            for (int half = 0; half < 2; ++half) {
                const int address = row * kRowSize + half * 8;
                port_.purge(Purge::Queues);
                sendHeader(wire::kRead, address, 8);
                std::memset(reply, 0, sizeof reply);
                if (port_.read(reply, 12) < 12) return interrupted();
                std::memcpy(scratch.data() + address, reply + wire::kReplyHeader, 8);
                port_.purge(Purge::Queues);
                sendAck();
                if (!ackArrives()) return interrupted();
            }
            if (!rowDone(row + 1)) return LinkResult::Cancelled;
        }
        document = scratch;
        return LinkResult::Ok;
    }

    Port& port_;
    LinkPrompt& prompt_;
    const TransferSettings& s_;
    const bool zh_;
    int& mismatch_;
    bool& sent_;
    QByteArray& id_;
};

LinkResult RadioLink::transfer(RadioImage& document, const TransferSettings& settings) {
    mismatch_ = -1;
    dataSent_ = false;
    id_.clear();
    Run run(port_, prompt_, settings, mismatch_, dataSent_, id_);
    return run.go(document);
}

QString describeIdentification(const QByteArray& id) {
    if (id.size() < wire::kIdLength) return QString();
    QString letters;
    for (int i = 0; i < 4; ++i) {
        const char c = id.at(i);
        letters += c >= 0x20 && c < 0x7F ? QLatin1Char(c) : QLatin1Char('?');
    }
    const auto byte = [&id](int i) { return static_cast<uint8_t>(id.at(i)); };
    const Band range = unpackBand(byte(5), byte(6), byte(7));
    return QStringLiteral("%1 %2-%3 MHz")
        .arg(letters)
        .arg(range.low / kPerMHz)
        .arg(range.high / kPerMHz);
}

LinkResult RadioLink::serviceExchange(RadioImage& image, int start, int end, LinkMode mode,
                                      const QString& portName, bool chinese) {
    start = std::clamp(start, 0, kImageSize);
    end = std::clamp(end, start, kImageSize);
    auto commError = [&] {
        prompt_.message(linktext::serviceCommError(chinese), QString(), Buttons::Ok);
        return LinkResult::Interrupted;
    };
    if (!port_.open(portName)) {
        prompt_.message(
            linktext::portNotOpenedLines(linktext::serviceOpenFailed(), port_.openFailure(),
                                         portName, port_.deviceFor(portName), chinese),
            QString(), Buttons::Ok);
        return LinkResult::PortNotOpened;
    }
    {
        PortCloser closer(port_);
        port_.configure(kServiceTimeouts);
        port_.purge(Purge::Queues);
        bool ready = false;
        for (int pass = 0; pass < 4 && !ready; ++pass) {
            for (uint8_t b : wire::kProgram) {
                port_.pause(2);
                port_.writeByte(b);
            }
            port_.pause(2);
            ready = port_.readByte() == wire::kAck;
        }
        if (!ready) return commError();

        port_.purge(Purge::Queues);
        port_.write(wire::kIdentify, 2);
        uint8_t buf[32] = {};
        if (port_.read(buf, wire::kIdLength) < wire::kIdLength) return commError();
        port_.purge(Purge::Queues);
        port_.writeByte(wire::kAck);
        if (port_.readByte() != wire::kAck) return commError();

        // Blocks land in a scratch image and reach the caller's only when all of them
        // arrived, so a read that breaks off never leaves old and new calibration mixed.
        RadioImage scratch = image;
        for (int a = start; a < end;) {
            const int length = std::min(8 - a % 8, end - a);
            const uint8_t h[4] = {mode == LinkMode::Read ? wire::kRead : wire::kWrite,
                                  static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a & 0xFF),
                                  static_cast<uint8_t>(length)};
            port_.purge(Purge::Queues);
            port_.write(h, 4);
            if (mode == LinkMode::Read) {
                port_.read(buf, wire::kReplyHeader);
                std::memset(buf, 0, sizeof buf);
                // A short block is a broken exchange, not a success with stale bytes.
                if (port_.read(buf, length) < length) return commError();
                std::memcpy(scratch.data() + a, buf, static_cast<size_t>(length));
                port_.purge(Purge::Queues);
                port_.writeByte(wire::kAck);
            } else {
                port_.write(image.data() + a, length);
            }
            if (port_.readByte() != wire::kAck) return commError();
            a += length;
        }
        if (mode == LinkMode::Read) image = scratch;
    }
    prompt_.message(mode == LinkMode::Read ? linktext::readOk(chinese) : linktext::writeOk(chinese),
                    QString(), Buttons::Ok);
    return LinkResult::Ok;
}

}  // namespace cps
