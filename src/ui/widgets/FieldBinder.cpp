#include "FieldBinder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace cps {

TypingFilter::TypingFilter(int maxLength, Allowed allowed, bool upper, QObject* parent)
    : QValidator(parent), maxLength_(maxLength), allowed_(std::move(allowed)), upper_(upper) {}

QValidator::State TypingFilter::validate(QString& input, int& pos) const {
    if (input == last_) return Acceptable;
    // The typed part is what lies between the text kept at either end.
    int head = 0;
    const int shorter = static_cast<int>(std::min(input.size(), last_.size()));
    while (head < shorter && input[head] == last_[head]) ++head;
    int tail = 0;
    while (tail < shorter - head &&
           input[input.size() - 1 - tail] == last_[last_.size() - 1 - tail])
        ++tail;
    const int typedEnd = static_cast<int>(input.size()) - tail;
    // Typing adds characters only up to the limit; what was there before may be longer.
    const int room = std::max(maxLength_, head + tail) - head - tail;
    QString typed;
    int newPos = pos;
    for (int i = head; i < typedEnd; ++i) {
        QChar c = input[i];
        if (upper_) c = c.toUpper();
        if (allowed_(c) && typed.size() < room) {
            typed.append(c);
        } else if (i < pos) {
            --newPos;
        }
    }
    input = input.left(head) + typed + input.right(tail);
    pos = std::clamp(newPos, 0, static_cast<int>(input.size()));
    last_ = input;
    return Acceptable;
}

void showText(QLineEdit* edit, const QString& text) {
    if (auto* filter = dynamic_cast<const TypingFilter*>(edit->validator()))
        const_cast<TypingFilter*>(filter)->shown(text);
    edit->setText(text);
}

namespace {

TypingFilter* fieldFilter(const field::Field& f, QObject* parent) {
    const QString charset = f.charset;
    return new TypingFilter(
        f.width,
        [charset](QChar c) {
            return charset.isEmpty() ? (c.unicode() >= 0x20 && c.unicode() < 0x7F)
                                     : charset.contains(c);
        },
        (f.flags & field::kUpper) != 0, parent);
}

}  // namespace

QValidator* makeFieldValidator(const field::Field& f, QObject* parent) {
    return fieldFilter(f, parent);
}

FieldBinder::FieldBinder(const field::Table& table, RadioImage& image, const field::Env& env,
                         QObject* parent, int record)
    : QObject(parent), table_(table), image_(image) {
    form_ = field::load(table_, image_, env, record);
}

int FieldBinder::indexOf(const char* key) const {
    const int i = table_.indexOf(QString::fromUtf8(key));
    // A dialog out of step with its table: said in the log, in every build, instead of
    // reading past the table's end.
    if (i < 0) qCritical("FieldBinder: section %s has no field \"%s\"", table_.section, key);
    return i;
}

field::Parsed FieldBinder::noField(const char* key) {
    return field::Parsed::refuse(QStringLiteral("no field \"%1\"").arg(QString::fromUtf8(key)));
}

bool FieldBinder::bind(QComboBox* box, const char* key) {
    const int i = indexOf(key);
    if (i < 0) {
        box->setEnabled(false);  // left as it is: it holds no field
        return false;
    }
    box->clear();
    box->addItems(field::items(table_.fields[static_cast<size_t>(i)], form_.env.chinese));
    bindings_.push_back({i, box, nullptr});
    connect(box, QOverload<int>::of(&QComboBox::activated), this, [this, i, box](int) {
        if (!refreshing_) set(table_.fields[static_cast<size_t>(i)].key, box->currentText());
    });
    refresh();
    return true;
}

bool FieldBinder::bind(QLineEdit* edit, const char* key) {
    const int i = indexOf(key);
    if (i < 0) {
        edit->setEnabled(false);  // left as it is: it holds no field
        return false;
    }
    const field::Field& f = table_.fields[static_cast<size_t>(i)];
    // Texts, and codecs that declare a character set, filter what is typed.
    // The filter holds the width, for typing only: a loaded value is shown in full.
    if (f.kind == field::Kind::Ascii || (f.kind == field::Kind::Custom && !f.charset.isEmpty())) {
        const QValidator* previous = edit->validator();
        edit->setValidator(fieldFilter(f, edit));
        // A dialog that binds again at each opening replaces its own filter.
        if (dynamic_cast<const TypingFilter*>(previous)) delete previous;
    }
    bindings_.push_back({i, edit, nullptr});
    connect(edit, &QLineEdit::editingFinished, this, [this, i, edit] {
        if (!refreshing_) leave({i, edit, nullptr});
    });
    refresh();
    return true;
}

bool FieldBinder::bind(QCheckBox* box, const char* key) {
    const int i = indexOf(key);
    if (i < 0) {
        box->setEnabled(false);  // left as it is: it holds no field
        return false;
    }
    bindings_.push_back({i, box, nullptr});
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
        if (!refreshing_)
            set(table_.fields[static_cast<size_t>(i)].key,
                on ? QStringLiteral("On") : QStringLiteral("Off"));
    });
    refresh();
    return true;
}

bool FieldBinder::bind(QButtonGroup* group, const char* key) {
    const int i = indexOf(key);
    if (i < 0) {
        for (QAbstractButton* b : group->buttons()) b->setEnabled(false);
        return false;
    }
    bindings_.push_back({i, nullptr, group});
    connect(group, &QButtonGroup::idClicked, this, [this, i](int id) {
        if (refreshing_) return;
        const field::Field& f = table_.fields[static_cast<size_t>(i)];
        set(f.key, field::items(f, form_.env.chinese).value(id));
    });
    refresh();
    return true;
}

void FieldBinder::leave(const Binding& b) {
    auto* edit = qobject_cast<QLineEdit*>(b.widget);
    if (!edit) return;
    // Leaving an edit that shows its field's value unchanged is no entry.
    if (edit->text() == form_.values[b.index]) return;
    setTyped(table_.fields[static_cast<size_t>(b.index)].key, edit->text(), edit);
    // The edit just left shows what its field now holds: the entry normalised, a value a
    // rule put back, or the previous value when the entry was refused.
    const QString& value = form_.values[b.index];
    if (edit->text() != value) {
        refreshing_ = true;
        showText(edit, value);
        refreshing_ = false;
    }
}

field::Parsed FieldBinder::setTyped(const char* key, const QString& text, const QLineEdit* edit) {
    const int i = indexOf(key);
    if (i < 0) return noField(key);
    const field::Field& f = table_.fields[static_cast<size_t>(i)];
    // A text field's typing filter has already taken what was typed through the field's
    // characters and length; what it kept of the loaded text stays, which the field's own
    // parse of the whole text would drop.
    if (f.kind != field::Kind::Ascii || !edit ||
        !dynamic_cast<const TypingFilter*>(edit->validator()))
        return set(key, text);
    form_.values[i] = text;
    if (table_.afterSet) table_.afterSet(form_, i);
    refresh();
    emit changed(i);
    return field::Parsed::accept(text);
}

field::Parsed FieldBinder::set(const char* key, const QString& text) {
    const int i = indexOf(key);
    if (i < 0) return noField(key);
    const field::Parsed p = field::set(form_, i, text);
    refresh();
    if (p.ok) emit changed(i);
    return p;
}

void FieldBinder::refresh(bool force) {
    refreshing_ = true;
    for (Binding& b : bindings_) {
        const QString& value = form_.values[b.index];
        if (b.group) {
            const field::Field& f = table_.fields[static_cast<size_t>(b.index)];
            const int item = field::itemIndex(f, value);
            if (QAbstractButton* button = b.group->button(item)) {
                button->setChecked(true);
            } else {
                // No item: no option is selected.
                const bool exclusive = b.group->exclusive();
                b.group->setExclusive(false);
                for (QAbstractButton* other : b.group->buttons()) other->setChecked(false);
                b.group->setExclusive(exclusive);
            }
        } else if (auto* box = qobject_cast<QComboBox*>(b.widget)) {
            box->setCurrentIndex(box->findText(value));  // -1: no selection
        } else if (auto* edit = qobject_cast<QLineEdit*>(b.widget)) {
            if ((force || !b.synced || value != b.shown) && edit->text() != value)
                showText(edit, value);
            b.shown = value;
            b.synced = true;
        } else if (auto* check = qobject_cast<QCheckBox*>(b.widget)) {
            check->setChecked(value == QLatin1String("On"));
        }
    }
    refreshing_ = false;
}

void FieldBinder::load() {
    form_ = field::load(table_, image_, form_.env, form_.record);
    refresh(true);
}

void FieldBinder::store() {
    for (const Binding& b : bindings_)
        if (auto* edit = qobject_cast<QLineEdit*>(b.widget);
            edit && edit->text() != form_.values[b.index])
            leave(b);
    field::store(form_, image_);
}

}  // namespace cps
