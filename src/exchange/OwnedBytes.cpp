#include "Exchange.h"
#include "Field.h"
#include "ServiceExchange.h"
#include "TwoToneFields.h"

namespace cps::exchange {

const std::array<uint8_t, kImageSize>& ownedBits() {
    static const std::array<uint8_t, kImageSize> map = [] {
        std::array<uint8_t, kImageSize> m{};
        for (const field::Table* t : field::registry()) {
            for (int r = 0; r < t->count; ++r) {
                for (const field::Field& f : t->fields) {
                    for (const field::Extra& bit : field::ownedBits(f)) {
                        const int at = t->recordOffset(r) + bit.offset;
                        if (at >= 0 && at < kImageSize) m[static_cast<size_t>(at)] |= bit.mask;
                    }
                }
            }
        }
        // The decode pages derive the timer form of their entries on every store; the
        // entries themselves own it, though their table lists only the tone form.
        const field::Table& entry = twotone::entryFields();
        for (int r = 0; r < entry.count; ++r) {
            const int timer = entry.recordOffset(r) + twotone::kTimerOffset;
            for (int i = 0; i < entry.stride && timer + i < kCalibrationStart; ++i)
                m[static_cast<size_t>(timer + i)] = 0xFF;
        }
        return m;
    }();
    return map;
}

}  // namespace cps::exchange
