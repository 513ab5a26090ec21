#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "Field.h"
#include "RadioImage.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

#include <QValidator>
#include <functional>

namespace cps {

// The typing filter of an edit: what is typed loses the characters the edit does not take,
// becomes capitals where asked, and never makes the text longer than the limit. Text the
// program shows (a value loaded from the image) stays as it is, even where typing could not
// have given it, so that opening and leaving an edit never changes a value. The program
// shows text through showText(), which tells the filter.
class TypingFilter : public QValidator {
  public:
    using Allowed = std::function<bool(QChar)>;
    TypingFilter(int maxLength, Allowed allowed, bool upper, QObject* parent);
    // The text the edit is about to show as it is.
    void shown(const QString& text) { last_ = text; }
    State validate(QString& input, int& pos) const override;

  private:
    int maxLength_;
    Allowed allowed_;
    bool upper_;
    mutable QString last_;  // the text as it stood before the change being validated
};

// Shows text in edit as it is, past its typing filter (if it has one).
void showText(QLineEdit* edit, const QString& text);

// The typing filter of a text field: its character set, its capitals and its width. For
// editors that serve several fields (grid cells).
QValidator* makeFieldValidator(const field::Field& f, QObject* parent);

// Binds a dialog's controls to the fields of one table: the dialog lays out its controls and
// names the field of each; loading, the character filters, the rules on leaving a field and
// the store on OK all come from the table.
class FieldBinder : public QObject {
    Q_OBJECT
  public:
    FieldBinder(const field::Table& table, RadioImage& image, const field::Env& env,
                QObject* parent = nullptr, int record = 0);

    // Each bind is false, with the control disabled and a critical line in the log, when the
    // table has no field named key.
    // A list: its items in the dialog's language, the selection following the field.
    bool bind(QComboBox* box, const char* key);
    // An edit: the field's character set (and capitals), its length, its rules on leaving.
    bool bind(QLineEdit* edit, const char* key);
    // A check box: "On" / "Off".
    bool bind(QCheckBox* box, const char* key);
    // Option buttons: button i selects the field's item i.
    bool bind(QButtonGroup* group, const char* key);

    // Reads the fields from the image and shows them (the dialog's opening).
    void load();
    // Takes what the controls hold (an edit typed in but not yet left is left first) and stores
    // the table into the image (OK).
    void store();

    field::Form& form() { return form_; }
    const field::Form& form() const { return form_; }
    const field::Table& table() const { return table_; }
    // Sets a field as leaving its control would, and refreshes every bound control. Refused
    // when the table has no such field.
    field::Parsed set(const char* key, const QString& text);
    // The same for the text of edit, whose typing filter has already filtered what was
    // typed: a text field takes it as it stands, loaded characters and all.
    field::Parsed setTyped(const char* key, const QString& text, const QLineEdit* edit);

  signals:
    void changed(int index);

  private:
    struct Binding {
        int index;
        QWidget* widget;
        QButtonGroup* group;
        QString shown = {};  // an edit's field value when it was last shown
        bool synced = false;
    };
    int indexOf(const char* key) const;  // -1, said in the log, when absent
    static field::Parsed noField(const char* key);
    // Shows the fields in their controls; an edit only when its field changed (or force), so
    // what is typed into one and not yet left survives a change made elsewhere.
    void refresh(bool force = false);
    void leave(const Binding& b);

    const field::Table& table_;
    RadioImage& image_;
    field::Form form_;
    std::vector<Binding> bindings_;
    bool refreshing_ = false;
};

}  // namespace cps
