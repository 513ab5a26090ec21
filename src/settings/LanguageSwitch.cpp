#include "LanguageSwitch.h"

namespace cps {

QString languageToWrite(bool runningChinese, bool chineseChosen) {
    if (runningChinese == chineseChosen) return QString();
    return chineseChosen ? QStringLiteral("Chinese") : QStringLiteral("English");
}

QStringList restartArguments(const QStringList& arguments) {
    QStringList kept;
    // The program knows one option; anything else on its command line is the file to open.
    for (const QString& a : arguments)
        if (a == QLatin1String("-nosplash") || a == QLatin1String("/nosplash")) kept.append(a);
    return kept;
}

}  // namespace cps
