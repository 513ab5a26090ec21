#include "ReportFields.h"

#include <deque>
#include <string>

#include "FeatureFields.h"
#include "TwoTone.h"
#include "TwoToneFields.h"

namespace cps {

namespace {

using field::Env;
using field::Field;
using field::Text;

const Text kOff{"Off", "关"};
const Text kOn{"On", "开"};

const char* kept(const std::string& s) {
    static std::deque<std::string> pool;
    pool.push_back(s);
    return pool.back().c_str();
}

// "first" then the numbers from..from + 14 * step: one item for each value of four bits.
std::vector<Text> fourBits(Text first, int from, int step) {
    std::vector<Text> out{first};
    for (int n = 1; n < 16; ++n) {
        const char* t = kept(std::to_string(from + (n - 1) * step));
        out.push_back({t, t});
    }
    return out;
}

// The DTMF group code: 0xFF is off, any other byte prints as the character it is. Bytes 0
// to 15 are how the DTMF editor stores its list items, and as characters they would be
// control codes: they print as the item.
QString showGroupCode(const Field& f, const uint8_t* base, const Env&) {
    const uint8_t b = base[f.offset];
    if (b == 0xFF) return QStringLiteral("Off");
    if (b < 16) return QString(QLatin1Char(dtmfDigits()[b]));
    return QString(QChar(b));
}
const field::Codec kGroupCodeCodec{showGroupCode, nullptr, nullptr, nullptr};

// An encode code-table tone: blank when its first byte is 0xFF, else tenths of a hertz.
QString showEncodeTone(const Field& f, const uint8_t* base, const Env&) {
    const uint8_t* p = base + f.offset;
    if (p[0] == 0xFF) return {};
    return twotone::fixed((unsigned(p[0]) << 8) | p[1], 1, 4);
}
const field::Codec kEncodeToneCodec{showEncodeTone, nullptr, nullptr, nullptr};

field::Table buildReportFields() {
    field::Table t;
    t.section = "report";
    t.title = {"Report", "报表"};
    auto& f = t.fields;
    // DTMF encode timing: a speed code and three times in 50 ms units.
    f.push_back(Field::mapped("DTMF Speed", {"DTMF Speed", "DTMF 速率"}, 0xCB0, 0xFF,
                              {{"6", "6"}, {"8", "8"}, {"10", "10"}, {"15", "15"}},
                              {{0, 0}, {1, 1}, {2, 2}})
                    .withFallback(3));
    f.push_back(Field::number("First Digit Delay Time(ms)",
                              {"First Digit Delay Time(ms)", "首位数码持续时间 (毫秒)"}, 0xCB1, 1,
                              0, 255)
                    .scaled(50, 1, 0));
    f.push_back(Field::number("First Digit Time(ms)",
                              {"First Digit Time(ms)", "首位数码时间 (毫秒)"}, 0xCB2, 1, 0, 255)
                    .scaled(50, 1, 0));
    f.push_back(Field::number("* and # Digit Time(ms)",
                              {"* and # Digit Time(ms)", "* 和 # 数码时间 (毫秒)"}, 0xCB3, 1, 0,
                              255)
                    .scaled(50, 1, 0));
    f.push_back(
        Field::list("Side Tone", {"Side Tone", "侧音"}, 0xC70, 0x40, {{"×", "×"}, {"√", "√"}}));
    f.push_back(Field::ascii("ID Code", {"ID Code", "身份码"}, 0xCC0, 11));
    f.push_back(
        Field::list("Stun Activation", {"Stun Activation", "遥毙激活"}, 0xC70, 0x10, {kOff, kOn}));
    f.push_back(Field::ascii("Stun Code", {"Stun Code", "遥毙码"}, 0xCD0, 11));
    f.push_back(Field::list("Stun Code Response", {"Stun Code Response", "遥毙码回应"}, 0xC70, 0x20,
                            {{"Transceiver inhibit", "禁止收发"}, {"Tx inbibit", "禁止发射"}}));
    static const char* const kFastCall[9] = {"FastCallList 1", "FastCallList 2", "FastCallList 3",
                                             "FastCallList 4", "FastCallList 5", "FastCallList 6",
                                             "FastCallList 7", "FastCallList 8", "FastCallList 9"};
    for (int i = 0; i < 9; ++i)
        f.push_back(Field::ascii(kFastCall[i], {kFastCall[i], kFastCall[i]}, 0xD00 + 16 * i, 16));
    // Optional features the editor has no field for.
    f.push_back(
        Field::list("Frequency Mode", {"Frequency Mode", "频率模式"}, 0xC70, 0x08, {kOff, kOn}));
    f.push_back(Field::list("PTT ID type", {"PTT ID type", "PTT ID 类型"}, 0xC70, 0x04,
                            {{"MSK", "MSK"}, {"DTMF", "DTMF"}}));
    f.push_back(
        Field::ascii("Beginning of Trasmit", {"Beginning of Trasmit", "发射开始"}, 0xC50, 16));
    f.push_back(Field::ascii("End of transmit", {"End of transmit", "发射结束"}, 0xC60, 16));
    // The optional features page decodes these bytes by rules of its own, which differ from
    // the editor's lists for values the editor would not store.
    using namespace feature;
    f.push_back(Field::list("Key lock", {"Key lock", "键盘锁定"}, kKeys, 0x04,
                            {{"Auto", "自动"}, {"Manual", "手动"}}));
    f.push_back(
        Field::number("Priority channel", {"Priority channel", "优先信道"}, kPriority, 1, 0, 255));
    f.push_back(Field::list("Squelch level", {"Squelch level", "静噪电平"}, kSquelch, 0x0F,
                            fourBits({"0", "0"}, 1, 1)));
    f.push_back(
        Field::list(
            "Step", {"Step", "步进"}, kStep, 0x07,
            {{"5k", "5k"}, {"6.25k", "6.25k"}, {"10k", "10k"}, {"12.5k", "12.5k"}, {"25k", "25k"}})
            .withFallback(4));
    f.push_back(Field::list("Time-out Timer", {"Time-out Timer", "超时定时器"}, kTot, 0x0F,
                            fourBits({"Off", "无"}, 30, 30)));
    f.push_back(Field::list("Vox Gain Level", {"Vox Gain Level", "声控增益电平"}, kVox, 0x0F,
                            fourBits(kOff, 1, 1)));
    f.push_back(
        Field::list("Battery saver", {"Battery saver", "电池省电"}, kSaver, 0x01, {kOff, kOn}));
    f.push_back(
        Field::list("Keypad Lock", {"Keypad Lock", "数字功能键锁定"}, kSaver, 0x80, {kOn, kOff}));
    f.push_back(
        Field::custom("Group Code", {"Group Code", "组呼码"}, kGroupCode, 1, &kGroupCodeCodec));
    // The 2-Tone encode page.
    f.push_back(Field::list("Short beep tone", {"Short beep tone", "短哔音"}, twotone::kCommon + 7,
                            0x01, {kOff, {"ON", "开"}}));
    for (int n = 1; n <= twotone::kCodeEntries; ++n)
        for (int tone = 0; tone < 2; ++tone)
            f.push_back(Field::custom(twotone::cellKey(n, tone), {twotone::cellKey(n, tone), ""},
                                      twotone::kCodeTable + 4 * (n - 1) + 2 * tone, 2,
                                      &kEncodeToneCodec));
    return t;
}

}  // namespace

const field::Table& reportFields() {
    static const field::Table table = buildReportFields();
    return table;
}

}  // namespace cps
