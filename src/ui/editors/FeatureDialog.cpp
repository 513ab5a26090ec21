#include "FeatureDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FieldBinder.h"
#include "HelpContext.h"
#include "OkCancel.h"
#include "Pick.h"

namespace cps::features {

namespace {

class KeyDiscarder : public QObject {
  public:
    KeyDiscarder(QDialog* dialog, KeyTest discard)
        : QObject(dialog), dialog_(dialog), discard_(std::move(discard)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (widget != dialog_ && !dialog_->isAncestorOf(widget))) return false;
        if (!discard_(*static_cast<QKeyEvent*>(event))) return false;
        // Accepting the override keeps the key from acting as a shortcut as well.
        event->accept();
        return true;
    }

  private:
    QDialog* dialog_;
    KeyTest discard_;
};

QLabel* rightLabel(const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(buddy);
    return l;
}

}  // namespace

QString label(const field::Table& table, const char* key, bool chinese) {
    const field::Field* f = table.find(QString::fromUtf8(key));
    return f ? f->label.get(chinese) : QString::fromUtf8(key);
}

QComboBox* addList(QGridLayout* grid, int row, int column, const field::Table& table,
                   const char* key, int id, bool chinese) {
    auto* box = new QComboBox;
    setControlId(box, id);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    grid->addWidget(rightLabel(label(table, key, chinese), box), row, column);
    grid->addWidget(box, row, column + 1);
    return box;
}

QLineEdit* addEdit(QGridLayout* grid, int row, int column, const field::Table& table,
                   const char* key, int id, bool chinese) {
    auto* edit = new QLineEdit;
    setControlId(edit, id);
    grid->addWidget(rightLabel(label(table, key, chinese), edit), row, column);
    grid->addWidget(edit, row, column + 1);
    return edit;
}

QDialogButtonBox* okCancel(QDialog* dialog, bool chinese) {
    return okCancelBox(dialog, chinese, OkCancelIds::Windows);
}

void discardKeys(QDialog* dialog, KeyTest discard) {
    // Watching the application sees the key whichever control has the focus.
    qApp->installEventFilter(new KeyDiscarder(dialog, std::move(discard)));
}

bool isEnterOrEscape(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Escape;
}

BoundDialog::BoundDialog(RadioImage& image, const field::Table& table, bool chinese,
                         QWidget* parent)
    : QDialog(parent), table_(table), chinese_(chinese) {
    field::Env env;
    env.chinese = chinese;
    binder_ = new FieldBinder(table, image, env, this);
}

QComboBox* BoundDialog::addList(QGridLayout* grid, int row, const char* key, int id) {
    QComboBox* box = features::addList(grid, row, 0, table_, key, id, chinese_);
    binder_->bind(box, key);
    return box;
}

QLineEdit* BoundDialog::addEdit(QGridLayout* grid, int row, const char* key, int id) {
    QLineEdit* edit = features::addEdit(grid, row, 0, table_, key, id, chinese_);
    binder_->bind(edit, key);
    return edit;
}

void BoundDialog::finish(QLayout* body) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    endLayout(layout);
}

void BoundDialog::finish(QWidget* body) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(body);
    endLayout(layout);
}

void BoundDialog::finishForm(QGridLayout* rows, int templateId) {
    rows->setColumnMinimumWidth(1, 120);
    finish(rows);
    discardKeys(this, isEnterOrEscape);
    routeF1ToHelp(this, templateId);
}

void BoundDialog::endLayout(QVBoxLayout* layout) {
    layout->addWidget(okCancel(this, chinese_));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void BoundDialog::accept() {
    binder_->store();
    QDialog::accept();
}

}  // namespace cps::features
