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
    // Empty when cancelled. The dialog starts in the folder last given to setOpenFolder.
    virtual QString openFileName(QWidget* parent, const QString& filter);
    void setOpenFolder(const QString& folder) { openFolder_ = folder; }
    QString openFolder() const { return openFolder_; }
    virtual QString saveFileName(QWidget* parent, const QString& proposed, const QString& filter);

    // Shared default, used where no other prompter was set.
    static Prompter& standard();

  private:
    QString openFolder_;
};
