#include "FeatureFields.h"

namespace cps {

namespace {

using field::Field;

// A stun code: up to seven DTMF symbols in capitals; it ends at the first byte that is no
// DTMF symbol. The bytes after the seventh belong to the printout's longer reading.
Field stunCode(const char* key, field::Text label, int offset) {
    return Field::ascii(key, label, offset, feature::kPtt, QString::fromLatin1(dtmfDigits()))
        .with(field::kUpper | field::kEndsAtForeign | field::kNormalises)
        .newImage("");
}

field::Table buildStunTable() {
    field::Table t;
    t.section = "stun";
    t.title = {"Stun", "遥晕"};
    t.needsAccessCode = true;
    t.fields = {
        Field::list("Stun Type", {"Stun Type", "遥毙类型"}, feature::kSignalling, 0x40,
                    {{"Kill", "遥毙"}, {"Stun", "遥晕"}})
            .newImage("Stun"),
        stunCode("Stun/Kill Code", {"Stun/Kill Code", "遥毙/遥晕码"}, feature::kStunCode),
        stunCode("Remove Stun/Kill code", {"Remove Stun/Kill code", "解除遥毙/遥晕码"},
                 feature::kRemoveStunCode),
    };
    return t;
}

}  // namespace

const field::Table& stunFields() {
    static const field::Table table = buildStunTable();
    return table;
}

}  // namespace cps
