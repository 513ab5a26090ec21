#include "FeatureFields.h"

namespace cps {

namespace {

using field::Field;

field::Table buildKeyTable() {
    field::Table t;
    t.section = "key";
    t.title = {"Key Assignment", "按键定义"};
    // Option i stores 3 - i in bits 1-0; the other bits are not the side key's.
    t.fields = {
        Field::mapped("Side Key", {"Side Key", "侧键"}, feature::kSideKey, 0x03,
                      {{"Option Singalling Call", "可选信令呼叫"},
                       {"Emergency Call", "紧急呼叫"},
                       {"Send 1750Hz Singal", "发射1750Hz信号"},
                       {"Squelch Off Momentary", "瞬时静噪关闭"}},
                      {{0x03, 0}, {0x02, 1}, {0x01, 2}, {0x00, 3}})
            .newImage("Option Singalling Call"),
    };
    return t;
}

}  // namespace

const field::Table& keyFields() {
    static const field::Table table = buildKeyTable();
    return table;
}

}  // namespace cps
