#include "COptionalFeaturesDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "FeatureDialog.h"
#include "FeatureFields.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "Pick.h"

namespace {

struct Slot {
    const char* key;
    int id;
};

// Top to bottom, the two columns of lists (the password is an edit in the right column).
const Slot kLeft[] = {{"Back Light", 1115},   {"Back Light Color", 1116}, {"Power-on Style", 1121},
                      {"Key Lock", 1118},     {"Priority Channel", 1119}, {"Vox Gain Level", 1120},
                      {"Display Mode", 1117}, {"Battery Saver", 1128},    {"Beep", 1127},
                      {"Tail", 1130},         {"Tx Roger", 1140}};
const Slot kRight[] = {{"Scan Mode", 1122},  {"Squelch Level", 1123},          {"Step (k)", 1124},
                       {"TOT (s)", 1125},    {"TOT Pre-Alert (s)", 1126},      {"Password", 1133},
                       {"Stopwatch", 1129},  {"Short Press Orange Key", 1131}, {"STR Set", 1136},
                       {"Allow Reset", 1137}};
const Slot kMskType{"MSK Type", 1132};

}  // namespace

COptionalFeaturesDlg::COptionalFeaturesDlg(ImageSource image, bool chinese, QWidget* parent)
    : QDialog(parent), image_(std::move(image)), chinese_(chinese) {
    const cps::field::Table& table = cps::optionalFields();
    setWindowTitle(cps::pick(chinese, "Optional Features", "可选功能"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    int row = 0;
    for (const Slot& s : kLeft)
        lists_.insert(QString::fromUtf8(s.key),
                      cps::features::addList(grid, row++, 0, table, s.key, s.id, chinese));
    row = 0;
    for (const Slot& s : kRight) {
        if (QLatin1String(s.key) == QLatin1String("Password")) {
            password_ = cps::features::addEdit(grid, row++, 2, table, s.key, s.id, chinese);
        } else {
            lists_.insert(QString::fromUtf8(s.key),
                          cps::features::addList(grid, row++, 2, table, s.key, s.id, chinese));
        }
    }
    grid->setColumnMinimumWidth(1, 110);
    grid->setColumnMinimumWidth(3, 110);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(cps::features::okCancel(this, chinese));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // MSK Type and the two check boxes lie below the window's lower edge, out of the
    // layout: the radio's bits they hold are loaded and stored as they are. They take no
    // focus and no input, so nothing the user cannot see is changed by the keyboard.
    hidden_ = new QWidget(this);
    auto* row2 = new QHBoxLayout(hidden_);
    row2->setContentsMargins(11, 0, 11, 0);
    keypadLock_ = new QCheckBox(cps::features::label(table, "Keypad Lock", chinese));
    cps::setControlId(keypadLock_, 1134);
    repeaterInvert_ = new QCheckBox(cps::features::label(table, "Repeater Msk Invert", chinese));
    cps::setControlId(repeaterInvert_, 1135);
    auto* mskType = new QComboBox;
    cps::setControlId(mskType, kMskType.id);
    lists_.insert(QString::fromUtf8(kMskType.key), mskType);
    row2->addWidget(keypadLock_);
    row2->addWidget(repeaterInvert_);
    row2->addWidget(new QLabel(cps::features::label(table, kMskType.key, chinese)));
    row2->addWidget(mskType);
    hidden_->setEnabled(false);

    cps::routeF1ToHelp(this, kTemplateId);
}

COptionalFeaturesDlg::~COptionalFeaturesDlg() = default;

QComboBox* COptionalFeaturesDlg::list(const char* key) const {
    return lists_.value(QString::fromUtf8(key));
}

void COptionalFeaturesDlg::bindAll(cps::RadioImage& image) {
    cps::field::Env env;
    env.chinese = chinese_;
    binder_ = std::make_unique<cps::FieldBinder>(cps::optionalFields(), image, env);
    for (auto it = lists_.cbegin(); it != lists_.cend(); ++it)
        binder_->bind(it.value(), it.key().toUtf8().constData());
    binder_->bind(password_, "Password");
    binder_->bind(keypadLock_, "Keypad Lock");
    binder_->bind(repeaterInvert_, "Repeater Msk Invert");
}

int COptionalFeaturesDlg::exec() {
    cps::RadioImage* image = image_ ? image_() : nullptr;
    if (!image) return Rejected;
    bindAll(*image);
    layout()->activate();
    // The window ends one pixel above the MSK Type list.
    hidden_->adjustSize();
    hidden_->move(0, height() + 1);
    const int result = QDialog::exec();
    binder_.reset();
    return result;
}

void COptionalFeaturesDlg::accept() {
    if (binder_) binder_->store();
    QDialog::accept();
}
