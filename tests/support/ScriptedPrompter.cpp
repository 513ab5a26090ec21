#include "ScriptedPrompter.h"

namespace cps::test {

ScriptedPrompter::Rule ScriptedPrompter::yesToQuestions() {
    return [](QMessageBox::StandardButtons buttons) {
        return buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    };
}

ScriptedPrompter::Rule ScriptedPrompter::always(QMessageBox::StandardButton button) {
    return [button](QMessageBox::StandardButtons) { return button; };
}

QMessageBox::StandardButton ScriptedPrompter::message(QWidget*, const QString& caption,
                                                      const QString& text, Icon icon,
                                                      QMessageBox::StandardButtons buttons) {
    shown.append({caption, text, icon, buttons});
    texts.append(text);
    return answers.isEmpty() ? otherwise(buttons) : answers.takeFirst();
}

QString ScriptedPrompter::openFileName(QWidget*, const QString&) {
    folders.append(openFolder());
    return openPath;
}

QString ScriptedPrompter::saveFileName(QWidget*, const QString& name, const QString& f) {
    proposed = name;
    filter = f;
    return savePath;
}

}  // namespace cps::test
