#include "HelpMap.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace cps {

namespace {

bool readNumber(const QString& text, int* out) {
    bool ok = false;
    const int v = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                      ? text.mid(2).toInt(&ok, 16)
                      : text.toInt(&ok, 10);
    if (ok) *out = v;
    return ok && v >= 0;
}

// "N" or "N-M".
bool readRange(const QString& text, int* first, int* last) {
    const int dash = text.indexOf(QLatin1Char('-'));
    if (dash < 0) return readNumber(text, first) && readNumber(text, last);
    return readNumber(text.left(dash), first) && readNumber(text.mid(dash + 1), last) &&
           *first <= *last && *last - *first < 256;
}

}  // namespace

const QString& HelpMap::contentsPage() {
    static const QString page = QStringLiteral("index.html");
    return page;
}

bool HelpMap::parse(const QString& text, QString* error) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        // A comment starts with a '#' after white space; inside the page column a '#'
        // names a place on the page.
        static const QRegularExpression comment(QStringLiteral("(^|\\s)#.*$"));
        line.remove(comment);
        const QStringList f = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.isEmpty()) continue;
        auto fail = [&] {
            if (error) *error = QStringLiteral("line %1: %2").arg(n + 1).arg(lines[n].trimmed());
            return false;
        };
        int first = 0, last = 0;
        if (f[0] == QLatin1String("dialog")) {
            if (f.size() != 3 || !readRange(f[1], &first, &last)) return fail();
            for (int d = first; d <= last; ++d) dialogs_.insert(d, f[2]);
            continue;
        }
        if (f.size() != 2) return fail();
        const int colon = f[0].indexOf(QLatin1Char(':'));
        int context = 0;
        if (colon < 0) {
            if (!readNumber(f[0], &context)) return fail();
            controls_.insert(key(0, context), f[1]);
            continue;
        }
        if (!readRange(f[0].left(colon), &first, &last) ||
            !readNumber(f[0].mid(colon + 1), &context))
            return fail();
        for (int d = first; d <= last; ++d) controls_.insert(key(d, context), f[1]);
    }
    return true;
}

bool HelpMap::hasOwnTopic(int context, int dialog) const {
    return controls_.contains(key(dialog, context));
}

QString HelpMap::resolve(int context, const QVector<int>& hosts) const {
    if (context >= kDialogBase && context < 2 * kDialogBase) context -= kDialogBase;
    for (int host : hosts) {
        if (!dialogs_.contains(host)) continue;
        // Inside a dialog its own lines decide; a control without one shows the dialog's page.
        const auto it = controls_.constFind(key(host, context));
        return it != controls_.constEnd() ? *it : dialogs_.value(host);
    }
    const auto it = controls_.constFind(key(0, context));
    if (it != controls_.constEnd()) return *it;
    if (dialogs_.contains(context)) return dialogs_.value(context);
    return contentsPage();
}

QVector<QString> HelpMap::topics() const {
    QVector<QString> all;
    for (const QString& t : dialogs_) all.append(t);
    for (const QString& t : controls_) all.append(t);
    all.append(contentsPage());
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

}  // namespace cps
