#pragma once

#include <QString>
#include <QStringList>

namespace cps {

// The [Setup] Language value to write when the user picks chineseChosen while the program
// runs in the language runningChinese says; empty when it is the language in use, which
// changes nothing and restarts nothing.
QString languageToWrite(bool runningChinese, bool chineseChosen);

// The arguments of the restarted program: the same as this run's (without the program
// itself) but without a data file, so the new instance starts with a new image.
QStringList restartArguments(const QStringList& arguments);

}  // namespace cps
