#include <deque>
#include <string>

#include "FeatureFields.h"

namespace cps {

namespace {

using field::Code;
using field::Field;
using field::kNormalises;
using field::Text;

const char* kept(const std::string& s) {
    static std::deque<std::string> pool;
    pool.push_back(s);
    return pool.back().c_str();
}

// The code time list: 80 to 300 ms in steps of 10, stored as the value / 10. A byte that is
// no item opens as the first item that begins with its "%d" of byte x 10 (1, 2 and 3 open as
// 100, 200 and 300), else as 100; the exact values come first so each item stores its own.
constexpr int kFirstTime = 80;
constexpr int kLastTime = 300;
constexpr int kDefaultTime = 100;

Field codeTime() {
    std::vector<Text> items;
    std::vector<Code> codes;
    for (int ms = kFirstTime; ms <= kLastTime; ms += 10) {
        const char* t = kept(std::to_string(ms));
        codes.push_back({static_cast<uint8_t>(ms / 10), static_cast<int>(items.size())});
        items.push_back({t, t});
    }
    for (int raw = 0; raw <= 0xFF; ++raw) {
        const int exact = raw * 10;
        if (exact >= kFirstTime && exact <= kLastTime) continue;
        const std::string prefix = std::to_string(exact);
        for (size_t i = 0; i < items.size(); ++i) {
            if (std::string(items[i].en).rfind(prefix, 0) == 0) {
                codes.push_back({static_cast<uint8_t>(raw), static_cast<int>(i)});
                break;
            }
        }
    }
    return Field::mapped("Dtmf Code Time", {"Dtmf Code Time", "DTMF码时间"}, feature::kCodeTime,
                         0xFF, items, codes)
        .withFallback((kDefaultTime - kFirstTime) / 10)
        .withNoMatch(kDefaultTime / 10)
        .with(kNormalises)
        .newImage("100");
}

// BOT, EOT, the local ID: up to seven DTMF symbols typed in capitals; a store clears the
// bytes after the text, so what followed a gap does not survive it.
Field dtmfCode(const char* key, Text label, int offset) {
    return Field::ascii(key, label, offset, feature::kPtt, QString::fromLatin1(dtmfDigits()))
        .with(field::kUpper | field::kNormalises)
        .newImage("");
}

// BOT and EOT clear the eighth byte of their area as well.
void clearPttTails(const field::Form&, RadioImage& image) {
    for (int area : {feature::kBot, feature::kEot}) image.set(area + feature::kPtt, 0xFF);
}

field::Table buildDtmfTable() {
    using namespace feature;
    field::Table t;
    t.section = "dtmf";
    t.title = {"DTMF", "DTMF"};
    std::vector<Text> groups;
    for (const char* g :
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "*", "#"})
        groups.push_back({g, g});
    t.fields = {
        codeTime(),
        Field::list("Turnking", {"Turnking", "集群"}, kModes, 0x20, {{"Off", "关"}, {"On", "开"}})
            .newImage("Off"),
        Field::mapped("Work Status", {"Work Status", "工作状态"}, kWorkStatus, 0xFF,
                      {{"Stun", "遥晕"}, {"Normal", "正常"}}, {{0xA5, 0}, {0xFF, 1}})
            .withFallback(1)
            .with(kNormalises)
            .newImage("Normal"),
        // A byte of 16 or more leaves the list without selection, which stores 0xFF.
        Field::list("Group Code", {"Group Code", "组码"}, kGroupCode, 0xFF, groups)
            .withNoMatch(0xFF)
            .with(kNormalises)
            .newImage("*"),
        dtmfCode("BOT", {"BOT", "发射开始码"}, kBot).withExtra({{kBot + kPtt, 0xFF}}),
        dtmfCode("EOT", {"EOT", "发射结束码"}, kEot).withExtra({{kEot + kPtt, 0xFF}}),
        // The local ID ends at the first byte that is no DTMF symbol.
        dtmfCode("Local ID", {"Local ID", "本机ID"}, kLocalId).with(field::kEndsAtForeign),
    };
    t.afterStore = clearPttTails;
    return t;
}

}  // namespace

const field::Table& dtmfFields() {
    static const field::Table table = buildDtmfTable();
    return table;
}

}  // namespace cps
