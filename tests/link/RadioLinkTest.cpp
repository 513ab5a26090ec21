#include <gtest/gtest.h>

#include "ChannelCodec.h"
#include "FakeRadio.h"
#include "RadioLink.h"
#include "ScriptPrompt.h"

using namespace cps;
using cps::test::FakeRadio;
using cps::test::ScriptPrompt;
using cps::test::SentBlock;

namespace {

// A radio image that differs from the factory document in every row.
RadioImage patterned() {
    RadioImage img = RadioImage::factory();
    for (int i = 0; i < 0xFA0; ++i) img.set(i, static_cast<uint8_t>(i * 7 + 3));
    img.set(addr::kBandCode, 1);
    return img;
}

struct Fixture : ::testing::Test {
    FakeRadio radio;
    ScriptPrompt prompt;
    RadioImage doc = RadioImage::factory();
    TransferSettings settings;

    void SetUp() override {
        settings.portName = QStringLiteral("COM3");
        doc.set(addr::kBandCode, 1);
        settings.bands = unpackBands(doc);
        radio.memory = patterned();
    }
    LinkResult run(LinkMode mode) {
        settings.mode = mode;
        RadioLink link(radio, prompt);
        return link.transfer(doc, settings);
    }
    QString lastBox() const { return prompt.boxes.empty() ? QString() : prompt.boxes.back().text; }
};

using ReadTest = Fixture;
using WriteTest = Fixture;
using ServiceTest = Fixture;

TEST_F(ReadTest, FullReadCopiesTheRadioAndClosesThePort) {
    ASSERT_EQ(run(LinkMode::Read), LinkResult::Ok);
    EXPECT_EQ(doc, radio.memory);
    EXPECT_EQ(radio.openedName, QStringLiteral("COM3"));
    EXPECT_FALSE(radio.isOpen);
    EXPECT_EQ(radio.closes, 1);
    EXPECT_TRUE(prompt.boxes.empty());
    // Band check pass, then data pass; band code, password, then 512 rows in order.
    EXPECT_EQ(radio.programRequests, 2);
    ASSERT_EQ(radio.blocks.size(), 2u + 512u);
    EXPECT_EQ(radio.blocks[0], (SentBlock{'R', 0xFD0, 8}));
    EXPECT_EQ(radio.blocks[1], (SentBlock{'R', 0xFE0, 8}));
    for (int i = 0; i < 512; ++i) ASSERT_EQ(radio.blocks[2 + i], (SentBlock{'R', i * 8, 8}));
    EXPECT_EQ(prompt.progressMax, 256);
    ASSERT_EQ(prompt.progress.size(), 256u);
    EXPECT_EQ(prompt.progress.front(), 1);
    EXPECT_EQ(prompt.progress.back(), 256);
    EXPECT_EQ(prompt.statuses.back(), QStringLiteral("256"));
}

// A radio that answers every byte at once: nothing the program sends may be followed by a
// purge before its answer is read.
TEST_F(ReadTest, ARadioThatAnswersAtOnceIsHeard) {
    radio.replyDelayMs = 0;
    ASSERT_EQ(run(LinkMode::Read), LinkResult::Ok) << lastBox().toStdString();
    EXPECT_EQ(doc, radio.memory);
    EXPECT_TRUE(prompt.boxes.empty());

    RadioImage written = patterned();
    written.set(5, 0x42);
    doc = written;
    radio.memory = RadioImage::factory();
    radio.memory.set(addr::kBandCode, 1);
    ASSERT_EQ(run(LinkMode::Write), LinkResult::Ok) << lastBox().toStdString();
    for (int i = 0; i < 0xFA0; ++i) ASSERT_EQ(radio.memory.at(i), written.at(i)) << i;
}

TEST_F(ReadTest, RefusalsLeaveTheDocumentUntouched) {
    const RadioImage before = doc;
    struct Case {
        const char* name;
        void (*setup)(FakeRadio&, RadioImage&);
        LinkResult result;
        QString message;
    };
    const Case cases[] = {
        {"band code 3", [](FakeRadio& r, RadioImage&) { r.memory.set(0xFD1, 3); },
         LinkResult::BandInvalid, linktext::bandInvalid(false)},
        {"band code 4", [](FakeRadio& r, RadioImage&) { r.memory.set(0xFD1, 4); },
         LinkResult::BandInvalid, linktext::bandInvalid(false)},
        {"password", [](FakeRadio& r, RadioImage&) { r.memory.set(0xFE4, 0x31); },
         LinkResult::PasswordError, linktext::passwordError()},
        {"wrong type", [](FakeRadio& r, RadioImage&) { r.typeLetter = 'Q'; }, LinkResult::WrongType,
         linktext::wrongType(false)},
        {"NAK at row 100", [](FakeRadio& r, RadioImage&) { r.nakAt = 100 * 16 + 8; },
         LinkResult::Interrupted, linktext::interrupted(false)},
        {"silence at row 40", [](FakeRadio& r, RadioImage&) { r.silentAt = 40 * 16; },
         LinkResult::Interrupted, linktext::interrupted(false)},
        {"short block", [](FakeRadio& r, RadioImage&) { r.shortAt = 255 * 16 + 8; },
         LinkResult::Interrupted, linktext::interrupted(false)},
        {"short identification", [](FakeRadio& r, RadioImage&) { r.shortIdentification = 1; },
         LinkResult::Interrupted, linktext::interrupted(false)},
        {"port busy", [](FakeRadio& r, RadioImage&) { r.openFails = true; },
         LinkResult::PortNotOpened, linktext::portNotOpened(false) + "\nPort: COM3"},
        {"port busy, device named",
         [](FakeRadio& r, RadioImage&) {
             r.openFails = true;
             r.device = QStringLiteral("/dev/ttyUSB2");
         },
         LinkResult::PortNotOpened,
         linktext::portNotOpened(false) + "\nPort: COM3, device /dev/ttyUSB2"},
        // The reason the system gave, with what the user can do about it.
        {"permission denied",
         [](FakeRadio& r, RadioImage&) {
             r.openFails = true;
             r.failure = OpenFailure::Denied;
             r.device = QStringLiteral("/dev/ttyUSB2");
         },
         LinkResult::PortNotOpened,
         linktext::portNotOpened(false) +
             "\nYou may not open /dev/ttyUSB2. Add your user to the dialout group (sudo usermod "
             "-aG dialout $USER), then log in again.\nPort: COM3, device /dev/ttyUSB2"},
        {"in use",
         [](FakeRadio& r, RadioImage&) {
             r.openFails = true;
             r.failure = OpenFailure::Busy;
         },
         LinkResult::PortNotOpened,
         linktext::portNotOpened(false) + "\nCOM3 is in use by another program.\nPort: COM3"},
        {"missing",
         [](FakeRadio& r, RadioImage&) {
             r.openFails = true;
             r.failure = OpenFailure::Missing;
             r.device = QStringLiteral("/dev/ttyUSB0");
         },
         LinkResult::PortNotOpened,
         linktext::portNotOpened(false) +
             "\n/dev/ttyUSB0 is not present: is the cable plugged in?\nPort: COM3, device "
             "/dev/ttyUSB0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        radio = FakeRadio();
        radio.memory = patterned();
        prompt = ScriptPrompt();
        doc = before;
        c.setup(radio, doc);
        EXPECT_EQ(run(LinkMode::Read), c.result);
        ASSERT_EQ(prompt.boxes.size(), 1u);
        EXPECT_EQ(prompt.boxes[0].text, c.message);
        EXPECT_EQ(prompt.boxes[0].buttons, Buttons::Ok);
        EXPECT_EQ(doc, before);
        EXPECT_FALSE(radio.isOpen);
    }
}

TEST_F(ReadTest, WrongTypeBoxHasItsCaptionInBothLanguages) {
    radio.typeLetter = 'A';
    settings.chinese = true;
    EXPECT_EQ(run(LinkMode::Read), LinkResult::WrongType);
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, QString::fromUtf8("对讲机类型不匹配,无法通讯。"));
    EXPECT_EQ(prompt.boxes[0].caption, QString::fromUtf8("警告"));
}

TEST_F(ReadTest, CancelPartWayKeepsTheOldImage) {
    const RadioImage before = doc;
    prompt.cancelAtProgress = 101;
    EXPECT_EQ(run(LinkMode::Read), LinkResult::Cancelled);
    EXPECT_EQ(doc, before);
    EXPECT_TRUE(prompt.boxes.empty());
    EXPECT_FALSE(radio.isOpen);
    EXPECT_EQ(radio.blocks.back(), (SentBlock{'R', 100 * 16 + 8, 8}));
}

TEST_F(ReadTest, CancelDuringHandshakeSendsNothing) {
    prompt.cancelAtPump = 1;
    EXPECT_EQ(run(LinkMode::Read), LinkResult::Cancelled);
    EXPECT_EQ(radio.programRequests, 0);
    EXPECT_FALSE(radio.isOpen);
}

TEST_F(ReadTest, SilentRadioOffersRetryAfterFifteenPasses) {
    radio.neverAnswer = true;
    prompt.answers = {Answer::Retry};
    EXPECT_EQ(run(LinkMode::Read), LinkResult::NoAnswer);
    ASSERT_EQ(prompt.boxes.size(), 2u);
    for (const auto& box : prompt.boxes) {
        EXPECT_EQ(box.text, linktext::commError(false));
        EXPECT_EQ(box.buttons, Buttons::RetryCancel);
    }
    EXPECT_EQ(radio.programRequests, 30);  // each Retry allows fifteen more passes
    EXPECT_FALSE(radio.isOpen);
}

TEST_F(ReadTest, RetryReachesARadioThatWakesUp) {
    radio.silentProgramRequests = 16;
    prompt.answers = {Answer::Retry};
    EXPECT_EQ(run(LinkMode::Read), LinkResult::Ok);
    EXPECT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(doc, radio.memory);
}

TEST_F(ReadTest, MissingIdentificationAckAsksRetryWhileAttemptsAreFew) {
    radio.refuseIdAck = true;
    EXPECT_EQ(run(LinkMode::Read), LinkResult::NoAnswer);
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].buttons, Buttons::RetryCancel);

    // After five failed passes the same fault ends the read instead.
    radio = FakeRadio();
    radio.refuseIdAck = true;
    radio.silentProgramRequests = 5;
    prompt = ScriptPrompt();
    EXPECT_EQ(run(LinkMode::Read), LinkResult::Interrupted);
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, linktext::interrupted(false));
}

TEST_F(WriteTest, SendsRowsThenFixedBlocksAndNothingElse) {
    doc = patterned();
    doc.set(0xFA5, 0x11);  // calibration bytes differ from the radio's
    radio.memory = RadioImage::factory();
    radio.memory.set(addr::kBandCode, 1);
    const RadioImage radioBefore = radio.memory;
    const RadioImage docBefore = doc;
    ASSERT_EQ(run(LinkMode::Write), LinkResult::Ok);
    EXPECT_EQ(doc, docBefore);
    EXPECT_EQ(radio.programRequests, 3);  // range, band, data
    EXPECT_EQ(radio.identifications, 3);
    ASSERT_EQ(radio.blocks.size(), 1u + 500u + 6u);
    EXPECT_EQ(radio.blocks[0], (SentBlock{'R', 0xFD0, 8}));
    for (int i = 0; i < 500; ++i) ASSERT_EQ(radio.blocks[1 + i], (SentBlock{'W', i * 8, 8}));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(radio.blocks[501 + i], (SentBlock{'W', RadioLink::kFixedBlocks[i].address,
                                                    RadioLink::kFixedBlocks[i].length}));
    for (int a = 0; a < kImageSize; ++a) {
        const bool sent = a < 0xFA0 || (a >= 0xFD0 && a < 0xFEE);
        ASSERT_EQ(radio.memory.at(a), sent ? doc.at(a) : radioBefore.at(a)) << a;
    }
    EXPECT_EQ(prompt.progressMax, 250);
    EXPECT_EQ(prompt.progress.back(), 250);
    EXPECT_EQ(prompt.progress.size(), 250u);
    EXPECT_FALSE(radio.isOpen);
}

TEST_F(WriteTest, CalibrationRowsOnlyWhenAllowed) {
    EXPECT_FALSE(calibrationWritable(1, false));
    EXPECT_FALSE(calibrationWritable(0, true));
    EXPECT_TRUE(calibrationWritable(1, true));
    settings.sendCalibration = true;
    doc.set(0xFA5, 0x11);
    ASSERT_EQ(run(LinkMode::Write), LinkResult::Ok);
    ASSERT_EQ(radio.blocks.size(), 1u + 500u + 6u + 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(radio.blocks[507 + i], (SentBlock{'W', 0xFA0 + 8 * i, 8}));
    EXPECT_EQ(radio.memory.at(0xFA5), 0x11);
}

TEST_F(WriteTest, RangeBoxOkContinuesCancelEnds) {
    radio.rangeBytes[0] = 0x40;  // 400-470 MHz
    radio.rangeBytes[1] = 0x47;
    radio.rangeBytes[2] = 0x00;
    prompt.answers = {Answer::Ok};
    EXPECT_EQ(run(LinkMode::Write), LinkResult::Ok);
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_TRUE(prompt.boxes[0].text.startsWith(linktext::outOfRange(false)));
    EXPECT_EQ(prompt.boxes[0].caption, linktext::caution(false));
    EXPECT_EQ(prompt.boxes[0].buttons, Buttons::OkCancel);

    prompt = ScriptPrompt();
    radio.blocks.clear();
    EXPECT_EQ(run(LinkMode::Write), LinkResult::RangeRefused);
    EXPECT_TRUE(radio.blocks.empty());
    EXPECT_FALSE(radio.isOpen);
}

// The range question says what differs: the file's limits, the radio's range and the
// channels the radio would not take, in the user's language.
TEST_F(WriteTest, RangeQuestionNamesBothRangesAndTheChannelsOutside) {
    settings.bands = Bands{{134 * kPerMHz, 176 * kPerMHz}, {134 * kPerMHz, 176 * kPerMHz}};
    packBands(doc, settings.bands);
    packBand(Band{136 * kPerMHz, 174 * kPerMHz}, radio.rangeBytes[0], radio.rangeBytes[1],
             radio.rangeBytes[2]);
    const field::Table& t = channelFields();
    const field::Env env{false, settings.bands, false};
    auto channel = [&](int n, const char* rx, const char* tx) {
        uint8_t* r = doc.data() + recordOffset(n);
        field::store(t.fields[kColRx], r, QString::fromLatin1(rx), env);
        field::store(t.fields[kColTx], r, QString::fromLatin1(tx), env);
    };
    channel(4, "135.00000", "135.00000");
    channel(7, "150.00000", "150.00000");
    channel(kFrChannel, "150.00000", "175.99500");
    for (bool chinese : {false, true}) {
        prompt = ScriptPrompt();
        prompt.answers = {Answer::Cancel};
        settings.chinese = chinese;
        EXPECT_EQ(run(LinkMode::Write), LinkResult::RangeRefused);
        ASSERT_EQ(prompt.boxes.size(), 1u);
        const QString text = prompt.boxes[0].text;
        EXPECT_TRUE(text.startsWith(linktext::outOfRange(chinese))) << text.toStdString();
        EXPECT_TRUE(text.contains(chinese ? "此对讲机：136-174 MHz" : "This radio: 136-174 MHz"))
            << text.toStdString();
        EXPECT_TRUE(text.contains(chinese ? "频段 1 134-176 MHz" : "band 1 134-176 MHz"))
            << text.toStdString();
        EXPECT_TRUE(text.contains("4 (135.00000)")) << text.toStdString();
        EXPECT_TRUE(text.contains("Fr (150.00000)")) << text.toStdString();
        EXPECT_FALSE(text.contains("7 (150.00000)")) << text.toStdString();
    }
}

TEST_F(WriteTest, EitherBandInsideTheRangeIsEnough) {
    settings.bands.band1 = {400 * kPerMHz, 470 * kPerMHz};
    settings.bands.band2 = {140 * kPerMHz, 150 * kPerMHz};
    EXPECT_EQ(run(LinkMode::Write), LinkResult::Ok);
    EXPECT_TRUE(prompt.boxes.empty());
}

TEST_F(WriteTest, BandCodeAndAcknowledgeFailures) {
    radio.memory.set(0xFD1, 2);
    doc.set(0xFD1, 1);
    EXPECT_EQ(run(LinkMode::Write), LinkResult::BandMismatch);
    EXPECT_EQ(lastBox(), linktext::bandMismatch(false));
    EXPECT_EQ(radio.blockCount('W'), 0);

    radio = FakeRadio();
    prompt = ScriptPrompt();
    radio.nakAt = 0xFE8;
    EXPECT_EQ(run(LinkMode::Write), LinkResult::Interrupted);
    EXPECT_EQ(lastBox(), linktext::interrupted(false));
    EXPECT_EQ(radio.blocks.back(), (SentBlock{'W', 0xFE8, 6}));
    EXPECT_FALSE(radio.isOpen);
}

TEST_F(ServiceTest, ReadSplitsAtEightByteBoundaries) {
    RadioLink link(radio, prompt);
    const RadioImage before = doc;
    EXPECT_EQ(link.serviceExchange(doc, 0xFA3, 0xFB2, LinkMode::Read, "COM2", false),
              LinkResult::Ok);
    const std::vector<SentBlock> expected = {{'R', 0xFA3, 5}, {'R', 0xFA8, 8}, {'R', 0xFB0, 2}};
    EXPECT_EQ(radio.blocks, expected);
    for (int a = 0; a < kImageSize; ++a)
        ASSERT_EQ(doc.at(a), a >= 0xFA3 && a < 0xFB2 ? radio.memory.at(a) : before.at(a)) << a;
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, linktext::readOk(false));
    EXPECT_EQ(radio.programRequests, 1);
    EXPECT_FALSE(radio.isOpen);
}

TEST_F(ServiceTest, ABrokenReadLeavesTheImageAsItWas) {
    RadioLink link(radio, prompt);
    for (int a = 0xFA0; a < 0xFD0; ++a) radio.memory.set(a, static_cast<uint8_t>(a * 3));
    const RadioImage before = doc;
    radio.nakAt = 0xFC0;  // the blocks at 0xFB4 and 0xFB8 have already arrived
    EXPECT_EQ(link.serviceExchange(doc, 0xFB4, 0xFD0, LinkMode::Read, "COM2", false),
              LinkResult::Interrupted);
    EXPECT_TRUE(doc == before);
    EXPECT_EQ(lastBox(), linktext::serviceCommError(false));

    radio = FakeRadio();
    radio.shortAt = 0xFB8;  // one byte short, then the acknowledgement
    EXPECT_EQ(link.serviceExchange(doc, 0xFB4, 0xFD0, LinkMode::Read, "COM2", false),
              LinkResult::Interrupted);
    EXPECT_TRUE(doc == before);
}

TEST_F(ServiceTest, WriteSendsTheRangeAndReportsSuccess) {
    RadioLink link(radio, prompt);
    for (int a = 0xFA0; a < 0xFD0; ++a) doc.set(a, static_cast<uint8_t>(a));
    EXPECT_EQ(link.serviceExchange(doc, 0xFA0, 0xFD0, LinkMode::Write, "COM2", true),
              LinkResult::Ok);
    EXPECT_EQ(radio.blockCount('W'), 6);
    for (int a = 0xFA0; a < 0xFD0; ++a) ASSERT_EQ(radio.memory.at(a), doc.at(a));
    EXPECT_EQ(lastBox(), QString::fromUtf8("写数据成功"));
}

TEST_F(ServiceTest, FailuresShowTheirMessages) {
    radio.neverAnswer = true;
    RadioLink link(radio, prompt);
    EXPECT_EQ(link.serviceExchange(doc, 0xFA0, 0xFD0, LinkMode::Read, "COM2", false),
              LinkResult::Interrupted);
    EXPECT_EQ(radio.programRequests, 4);
    EXPECT_EQ(lastBox(), linktext::serviceCommError(false));
    EXPECT_FALSE(radio.isOpen);

    radio = FakeRadio();
    radio.nakAt = 0xFA8;
    EXPECT_EQ(link.serviceExchange(doc, 0xFA0, 0xFD0, LinkMode::Write, "COM2", false),
              LinkResult::Interrupted);
    EXPECT_EQ(radio.blocks.back(), (SentBlock{'W', 0xFA8, 8}));

    radio = FakeRadio();
    radio.openFails = true;
    radio.failure = OpenFailure::Busy;
    EXPECT_EQ(link.serviceExchange(doc, 0xFA0, 0xFD0, LinkMode::Read, "COM2", false),
              LinkResult::PortNotOpened);
    EXPECT_EQ(lastBox(), QStringLiteral("Open the serial port fails\nCOM2 is in use by another "
                                        "program.\nPort: COM2"));
    radio.failure = OpenFailure::Other;
    EXPECT_EQ(link.serviceExchange(doc, 0xFA0, 0xFD0, LinkMode::Write, "COM2", false),
              LinkResult::PortNotOpened);
    EXPECT_EQ(lastBox(), QStringLiteral("Open the serial port fails\nPort: COM2"));
    radio.device = QStringLiteral("/tmp/radio");
    EXPECT_EQ(link.serviceExchange(doc, 0xFA0, 0xFD0, LinkMode::Read, "COM2", true),
              LinkResult::PortNotOpened);
    EXPECT_EQ(lastBox(),
              QString::fromUtf8("Open the serial port fails\n串口：COM2，设备 /tmp/radio"));
}

}  // namespace
