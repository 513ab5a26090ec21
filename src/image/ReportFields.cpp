#include "ReportFields.h"

namespace cps {

namespace {

using field::Field;
using field::Text;

const Text kOff{"Off", "关"};
const Text kOn{"On", "开"};

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
    return t;
}

}  // namespace

const field::Table& reportFields() {
    static const field::Table table = buildReportFields();
    return table;
}

}  // namespace cps
