#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Every message box and file dialog of the windows goes through one of these, so that the
// tests can answer them. The windows use the plain implementation unless told otherwise.
class Prompter {
  public:
    enum class Icon { None, Information, Exclamation, Stop, Question };

    virtual ~Prompter() = default;
    // Returns the button pressed.
    virtual QMessageBox::StandardButton message(QWidget* parent, const QString& caption,
                                                const QString& text, Icon icon,
                                                QMessageBox::StandardButtons buttons);
    // Empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter);
    virtual QString saveFileName(QWidget* parent, const QString& proposed, const QString& filter);

    // Shared default, used where no other prompter was set.
    static Prompter& standard();
};
