#include "FieldBinder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

namespace cps {

namespace {

// Drops what the field's character set does not allow and capitalises where the field says,
// as the typing filter of the edit does.
class FieldValidator : public QValidator {
  public:
    FieldValidator(const field::Field& f, QObject* parent) : QValidator(parent), field_(f) {}
    State validate(QString& input, int& pos) const override {
        QString out;
        int newPos = pos;
        for (int i = 0; i < input.size(); ++i) {
            QChar c = input[i];
            if (field_.flags & field::kUpper) c = c.toUpper();
            const bool ok = field_.charset.isEmpty() ? (c.unicode() >= 0x20 && c.unicode() < 0x7F)
                                                     : field_.charset.contains(c);
            if (ok) {
                out.append(c);
            } else if (i < pos) {
                --newPos;
            }
        }
        input = out;
        pos = newPos;
        return Acceptable;
    }

  private:
    const field::Field& field_;
};

}  // namespace

QValidator* makeFieldValidator(const field::Field& f, QObject* parent) {
    return new FieldValidator(f, parent);
}

FieldBinder::FieldBinder(const field::Table& table, RadioImage& image, const field::Env& env,
                         QObject* parent, int record)
    : QObject(parent), table_(table), image_(image) {
    form_ = field::load(table_, image_, env, record);
}

int FieldBinder::indexOf(const char* key) const {
    const int i = table_.indexOf(QString::fromUtf8(key));
    Q_ASSERT_X(i >= 0, "FieldBinder", key);
    return i;
}

void FieldBinder::bind(QComboBox* box, const char* key) {
    const int i = indexOf(key);
    box->clear();
    box->addItems(field::items(table_.fields[static_cast<size_t>(i)], form_.env.chinese));
    bindings_.push_back({i, box, nullptr});
    connect(box, QOverload<int>::of(&QComboBox::activated), this, [this, i, box](int) {
        if (!refreshing_) set(table_.fields[static_cast<size_t>(i)].key, box->currentText());
    });
    refresh();
}

void FieldBinder::bind(QLineEdit* edit, const char* key) {
    const int i = indexOf(key);
    const field::Field& f = table_.fields[static_cast<size_t>(i)];
    // Texts, and codecs that declare a character set, filter what is typed.
    if (f.kind == field::Kind::Ascii || (f.kind == field::Kind::Custom && !f.charset.isEmpty())) {
        edit->setMaxLength(f.width);
        const QValidator* previous = edit->validator();
        edit->setValidator(new FieldValidator(f, edit));
        // A dialog that binds again at each opening replaces its own filter.
        if (dynamic_cast<const FieldValidator*>(previous)) delete previous;
    }
    bindings_.push_back({i, edit, nullptr});
    connect(edit, &QLineEdit::editingFinished, this, [this, i, edit] {
        if (!refreshing_) leave({i, edit, nullptr});
    });
    refresh();
}

void FieldBinder::bind(QCheckBox* box, const char* key) {
    const int i = indexOf(key);
    bindings_.push_back({i, box, nullptr});
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
        if (!refreshing_)
            set(table_.fields[static_cast<size_t>(i)].key,
                on ? QStringLiteral("On") : QStringLiteral("Off"));
    });
    refresh();
}

void FieldBinder::bind(QButtonGroup* group, const char* key) {
    const int i = indexOf(key);
    bindings_.push_back({i, nullptr, group});
    connect(group, &QButtonGroup::idClicked, this, [this, i](int id) {
        if (refreshing_) return;
        const field::Field& f = table_.fields[static_cast<size_t>(i)];
        set(f.key, field::items(f, form_.env.chinese).value(id));
    });
    refresh();
}

void FieldBinder::leave(const Binding& b) {
    auto* edit = qobject_cast<QLineEdit*>(b.widget);
    if (!edit) return;
    set(table_.fields[static_cast<size_t>(b.index)].key, edit->text());
    // The edit just left shows what its field now holds: the entry normalised, a value a
    // rule put back, or the previous value when the entry was refused.
    const QString& value = form_.values[b.index];
    if (edit->text() != value) {
        refreshing_ = true;
        edit->setText(value);
        refreshing_ = false;
    }
}

field::Parsed FieldBinder::set(const char* key, const QString& text) {
    const int i = indexOf(key);
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
                edit->setText(value);
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
