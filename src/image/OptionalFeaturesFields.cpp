#include <QByteArray>
#include <deque>
#include <string>

#include "FeatureFields.h"
#include "Pick.h"
#include "RadioImage.h"

namespace cps {

namespace {

using field::Code;
using field::Env;
using field::Field;
using field::kNormalises;
using field::Parsed;
using field::Text;

// Generated item texts need storage that lives as long as the table.
const char* kept(const std::string& s) {
    static std::deque<std::string> pool;
    pool.push_back(s);
    return pool.back().c_str();
}

// "first" (in both languages) followed by the numbers from..to in steps.
std::vector<Text> numbered(Text first, int from, int to, int step = 1) {
    std::vector<Text> out{first};
    for (int n = from; n <= to; n += step) {
        const char* t = kept(std::to_string(n));
        out.push_back({t, t});
    }
    return out;
}

const Text kOn{"On", "开"};
const Text kOff{"Off", "关"};

// One bit that means "On" when set, listed as "On", "Off".
Field onOff(const char* key, Text label, int offset, uint8_t bit) {
    return Field::mapped(key, label, offset, bit, {kOn, kOff}, {{bit, 0}, {0x00, 1}});
}

// The radio password: six bytes of which the dialog shows the leading digits. What the
// dialog cannot show is kept as it is unless a new password is typed, so confirming the
// dialog for some other option does not cut a stored password short (the radio read
// compares all six bytes).
QString showPassword(const Field& f, const uint8_t* base, const Env&) {
    QString digits;
    for (int i = 0; i < f.width; ++i) {
        const uint8_t c = base[f.offset + i];
        if (c < '0' || c > '9') break;
        digits.append(QLatin1Char(static_cast<char>(c)));
    }
    return digits;
}

void storePassword(const Field& f, uint8_t* base, const QString& text, const Env& env) {
    if (text == showPassword(f, base, env)) return;
    const QByteArray bytes = text.toLatin1();
    for (int i = 0; i < f.width; ++i)
        base[f.offset + i] = i < bytes.size() ? static_cast<uint8_t>(bytes[i]) : 0xFF;
}

// Digits only, six at most: what can be typed is what is stored and shown again.
Parsed parsePassword(const Field& f, const QString& typed, const Env& env) {
    QString digits;
    bool altered = false;
    for (QChar c : typed) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits.append(c);
        } else {
            if (env.strict)
                return Parsed::refuse(
                    pick(env.chinese, "the password takes digits only", "密码只能是数字"));
            altered = true;
        }
    }
    if (digits.size() > f.width) {
        if (env.strict)
            return Parsed::refuse(pick(env.chinese, "longer than 6 digits", "超过 6 位数字"));
        digits.truncate(f.width);
        altered = true;
    }
    return Parsed::accept(digits, altered);
}

const field::Codec kPasswordCodec{showPassword, storePassword, parsePassword, nullptr};

field::Table buildOptionalTable() {
    using namespace feature;
    field::Table t;
    t.section = "optional";
    t.title = {"Optional Features", "可选功能"};
    Field password = Field::custom("Password", {"Password", "密码"}, addr::kPassword,
                                   addr::kPasswordLength, &kPasswordCodec)
                         .newImage("");
    password.charset = QStringLiteral("0123456789");
    t.fields = {
        Field::list("Back Light", {"Back Light", "背光"}, kDisplay, 0x30,
                    {{"Off", "关闭"}, {"Auto", "自动"}, {"On", "打开"}})
            .withFallback(0)
            .with(kNormalises)
            .newImage("Auto"),
        Field::list("Back Light Color", {"Back Light Color", "背光颜色"}, kDisplay, 0xC0,
                    {{"Light 1", "颜色1"}, {"Light 2", "颜色2"}, {"Light 3", "颜色3"}})
            .withFallback(0)
            .with(kNormalises)
            .newImage("Light 1"),
        Field::list("Power-on Style", {"Power-on Style", "开机显示"}, kDisplay, 0x0C,
                    {{"Off", "关闭"}, {"Voltage", "电压值"}, {"Message", "欢迎信息"}})
            .withFallback(0)
            .with(kNormalises)
            .newImage("Off"),
        Field::list("Key Lock", {"Key Lock", "锁键方式"}, kKeys, 0x04,
                    {{"Auto", "自动"}, {"Manual", "手动"}})
            .newImage("Manual"),
        Field::list("Priority Channel", {"Priority Channel", "优先信道"}, kPriority, 0xFF,
                    numbered({"None", "无"}, 1, 128))
            .withFallback(0)
            .with(kNormalises)
            .newImage("None"),
        Field::list("Vox Gain Level", {"Vox Gain Level", "声控等级"}, kVox, 0xFF,
                    numbered({"Off", "关"}, 1, 9))
            .withFallback(0)
            .with(kNormalises)
            .newImage("Off"),
        Field::list("Display Mode", {"Display Mode", "显示模式"}, kModes, 0x03,
                    {{"CHANNEL", "纯信道"},
                     {"NAME", "信道名称"},
                     {"FREQ.CH", "频率信道"},
                     {"FREQ", "频率"}})
            .newImage("FREQ.CH"),
        onOff("Battery Saver", {"Battery Saver", "省电模式"}, kSaver, 0x01).newImage("On"),
        onOff("Beep", {"Beep", "按键音"}, kKeys, 0x08).newImage("On"),
        Field::list("Tail", {"Tail", "尾音消除"}, kKeys, 0x80, {kOff, kOn}).newImage("On"),
        Field::list("Tx Roger", {"Tx Roger", "发射提示音"}, kSignalling, 0x20, {kOff, kOn})
            .newImage("Off"),
        Field::list("Scan Mode", {"Scan Mode", "扫描模式"}, kKeys, 0x60,
                    {{"TO", "时间"}, {"CO", "载波"}, {"SE", "搜索"}})
            .withFallback(0)
            .with(kNormalises)
            .newImage("CO"),
        Field::list("Squelch Level", {"Squelch Level", "静噪等级"}, kSquelch, 0xFF,
                    numbered({"0", "0"}, 1, 9))
            .withFallback(0)
            .with(kNormalises)
            .newImage("4"),
        Field::list("Step (k)", {"Step (k)", "步进(k)"}, kStep, 0xFF,
                    {{"5", "5"}, {"6.25", "6.25"}, {"10", "10"}, {"12.5", "12.5"}, {"25", "25"}})
            .withFallback(0)
            .with(kNormalises)
            .newImage("5"),
        Field::list("TOT (s)", {"TOT (s)", "发射限时(s)"}, kTot, 0xFF,
                    numbered({"Off", "关闭"}, 30, 270, 30))
            .withFallback(0)
            .with(kNormalises)
            .newImage("30"),
        Field::list("TOT Pre-Alert (s)", {"TOT Pre-Alert (s)", "限时预警(s)"}, kPreAlert, 0xFF,
                    numbered({"Off", "关闭"}, 1, 9))
            .withFallback(0)
            .with(kNormalises)
            .newImage("Off"),
        password,
        onOff("Stopwatch", {"Stopwatch", "秒表"}, kKeys, 0x10).newImage("On"),
        // Raw 3 shows as the emergency call and is stored as 2 from then on.
        Field::mapped("Short Press Orange Key", {"Short Press Orange Key", "短按橙色键"}, kKeys,
                      0x03,
                      {{"Send 1750 Singal", "发射1750信号"},
                       {"Emergency Call", "发射报警信号"},
                       {"Off", "关闭"}},
                      {{0x01, 0}, {0x02, 1}, {0x03, 1}, {0x00, 2}})
            .with(kNormalises)
            .newImage("Emergency Call"),
        Field::list("STR Set", {"STR Set", "STR设置"}, kDisplay, 0x01,
                    {{"Auto", "自动"}, {"Manual", "手动"}})
            .newImage("Manual"),
        Field::mapped("Allow Reset", {"Allow Reset", "允许复位"}, kSignalling, 0x10,
                      {{"Enable", "允许"}, {"Disable", "禁止"}}, {{0x10, 0}, {0x00, 1}})
            .newImage("Disable"),
        // These three lie below the dialog's visible part; they keep what they loaded.
        Field::flag("Keypad Lock", {"Keypad Lock", "键盘锁"}, kSaver, 0x80, true).newImage("Off"),
        Field::flag("Repeater Msk Invert", {"Repeater Msk Invert", "中继MSK反相"}, kSignalling,
                    0x02)
            .newImage("Off"),
        Field::mapped("MSK Type", {"MSK Type", "MSK类型"}, kSignalling, 0x01,
                      {{"MSK-I", "MSK-I"}, {"MSK-II", "MSK-II"}}, {{0x01, 0}, {0x00, 1}})
            .newImage("MSK-I"),
    };
    return t;
}

}  // namespace

const field::Table& optionalFields() {
    static const field::Table table = buildOptionalTable();
    return table;
}

}  // namespace cps
