#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

#include "Prompter.h"

namespace cps::test {

// Answers every message box and file dialog of the windows from a script, and keeps what
// they showed, so that a test can say what the user was told.
class ScriptedPrompter : public Prompter {
  public:
    struct Shown {
        QString caption;
        QString text;
        Icon icon = Icon::None;
        QMessageBox::StandardButtons buttons;
    };
    using Rule = std::function<QMessageBox::StandardButton(QMessageBox::StandardButtons)>;

    QList<Shown> shown;  // every message box, in order
    QStringList texts;   // their texts
    // Answers taken in turn; when none is left, the rule answers.
    QList<QMessageBox::StandardButton> answers;
    Rule otherwise = [](QMessageBox::StandardButtons) { return QMessageBox::Ok; };

    QString openPath;     // what the Open dialog returns (empty: cancelled)
    QStringList folders;  // the folder each Open dialog started in
    QString savePath;     // what the Save dialog returns (empty: cancelled)
    QString proposed;     // the name the last Save dialog proposed
    QString filter;       // and its filter

    // Yes where a question offers it, OK to the rest.
    static Rule yesToQuestions();
    // The same button to every box.
    static Rule always(QMessageBox::StandardButton button);

    QString lastText() const { return texts.isEmpty() ? QString() : texts.last(); }
    // Forgets the message boxes shown so far.
    void clearShown() {
        shown.clear();
        texts.clear();
    }

    QMessageBox::StandardButton message(QWidget* parent, const QString& caption,
                                        const QString& text, Icon icon,
                                        QMessageBox::StandardButtons buttons) override;
    QString openFileName(QWidget* parent, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& proposed, const QString& filter) override;
};

}  // namespace cps::test
