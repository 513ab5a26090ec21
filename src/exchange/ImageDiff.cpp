// Two images compared as the editors show them, then byte by byte for the rest.
#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "Exchange.h"
#include "Field.h"
#include "Pick.h"

namespace cps::exchange {

Comparison compare(const RadioImage& before, const RadioImage& after, bool chinese) {
    Comparison c;
    c.equal = before == after;
    if (c.equal) return c;

    // Bits a listed change accounts for.
    std::array<uint8_t, kImageSize> covered{};
    auto cover = [&covered](const field::Field& f, int base) {
        for (const field::Extra& bit : field::ownedBits(f)) {
            const int at = base + bit.offset;
            if (at >= 0 && at < kImageSize) covered[static_cast<size_t>(at)] |= bit.mask;
        }
    };

    const field::Table& ch = channelFields();
    const Bands bandsBefore = loadBandsInUse(before).bands,
                bandsAfter = loadBandsInUse(after).bands;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRow a = decodeChannel(before.data() + recordOffset(n), bandsBefore, chinese);
        const ChannelRow b = decodeChannel(after.data() + recordOffset(n), bandsAfter, chinese);
        for (int col = 0; col < kColumnCount; ++col) {
            if (a[col] == b[col]) continue;
            c.fields.append({pick(chinese, "Channel ", "信道 ") + channelLabel(n) +
                                 QStringLiteral(", ") +
                                 ChannelTable::heading(col + 1, chinese).trimmed(),
                             a[col], b[col]});
            cover(ch.fields[col], recordOffset(n));
        }
        // A row that appears or goes accounts for its whole record.
        if (a[kColRx].isEmpty() != b[kColRx].isEmpty())
            for (int i = 0; i < kRecordSize; ++i) covered[recordOffset(n) + i] = 0xFF;
    }

    for (const field::Table* t : field::registry()) {
        if (t->count != 1) continue;
        field::Env envBefore, envAfter;
        envBefore.chinese = envAfter.chinese = chinese;
        envBefore.bands = bandsBefore;
        envAfter.bands = bandsAfter;
        const field::Form a = field::load(*t, before, envBefore);
        const field::Form b = field::load(*t, after, envAfter);
        for (size_t i = 0; i < t->fields.size(); ++i) {
            const field::Field& f = t->fields[i];
            if (f.flags & field::kHidden) continue;
            const QString& va = a.values[static_cast<int>(i)];
            const QString& vb = b.values[static_cast<int>(i)];
            if (va == vb) continue;
            c.fields.append({t->title.get(chinese) + QStringLiteral(", ") + f.label.get(chinese),
                             va.trimmed(), vb.trimmed()});
            cover(f, t->base);
        }
    }

    const auto& owned = ownedBits();
    for (int at = 0; at < kImageSize; ++at) {
        const uint8_t diff = before.at(at) ^ after.at(at);
        const uint8_t rest = diff & ~covered[static_cast<size_t>(at)];
        if (!rest) continue;
        const bool isOwned = (rest & owned[static_cast<size_t>(at)]) != 0;
        if (!c.bytes.isEmpty() && c.bytes.last().last == at - 1 &&
            c.bytes.last().owned == isOwned) {
            c.bytes.last().last = at;
        } else {
            c.bytes.append({at, at, isOwned});
        }
    }
    return c;
}

QStringList describe(const Comparison& c, const RadioImage& before, const RadioImage& after,
                     bool chinese) {
    QStringList lines;
    auto quoted = [](const QString& s) { return QStringLiteral("\"%1\"").arg(s); };
    for (const FieldChange& f : c.fields)
        lines << QStringLiteral("%1: %2 -> %3").arg(f.where, quoted(f.before), quoted(f.after));
    auto hex = [](const RadioImage& image, const ByteRange& r) {
        QStringList bytes;
        const int shown = qMin(r.last, r.first + 15);
        for (int at = r.first; at <= shown; ++at)
            bytes << QStringLiteral("%1").arg(image.at(at), 2, 16, QLatin1Char('0')).toUpper();
        if (shown < r.last) bytes << QStringLiteral("...");
        return bytes.join(QLatin1Char(' '));
    };
    for (const ByteRange& r : c.bytes) {
        const QString range = r.first == r.last
                                  ? QStringLiteral("0x%1").arg(r.first, 3, 16, QLatin1Char('0'))
                                  : QStringLiteral("0x%1-0x%2")
                                        .arg(r.first, 3, 16, QLatin1Char('0'))
                                        .arg(r.last, 3, 16, QLatin1Char('0'));
        const QString what =
            r.owned
                ? pick(chinese, "Bytes %1 (same text): %2 -> %3", "字节 %1 (显示相同): %2 -> %3")
                : pick(chinese, "Bytes %1 (no field): %2 -> %3", "字节 %1 (无字段): %2 -> %3");
        lines << what.arg(range.toUpper().replace(QLatin1String("0X"), QLatin1String("0x")),
                          hex(before, r), hex(after, r));
    }
    return lines;
}

}  // namespace cps::exchange
