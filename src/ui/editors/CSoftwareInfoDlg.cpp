#include "CSoftwareInfoDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "FieldBinder.h"
#include "HelpContext.h"
#include "OkCancel.h"
#include "Pick.h"
#include "ServiceDialog.h"
#include "SoftwareInfoFields.h"

namespace cps {

namespace {
const char* const kLimitKeys[4] = {"Low Freq 1", "High Freq 1", "Low Freq 2", "High Freq 2"};
const int kLimitIds[4] = {CSoftwareInfoDlg::kLow1Id, CSoftwareInfoDlg::kHigh1Id,
                          CSoftwareInfoDlg::kLow2Id, CSoftwareInfoDlg::kHigh2Id};
}  // namespace

CSoftwareInfoDlg::CSoftwareInfoDlg(RadioImage& image, bool chinese, Bands* bandsInUse,
                                   QWidget* parent)
    : QDialog(parent), image_(image), bandsInUse_(bandsInUse) {
    setControlId(this, kTemplateId);
    setWindowTitle(pick(chinese, "Software Infomation", "软件信息"));
    const field::Table& table = softwareInfoFields();
    field::Env env;
    env.chinese = chinese;
    // The limits in use follow the image's packed ranges before the load check.
    if (bandsInUse_) *bandsInUse_ = unpackBands(image_);
    binder_ = new FieldBinder(table, image_, env, this);

    auto label = [&](const char* key, QWidget* buddy) {
        auto* l = new QLabel(table.find(QLatin1String(key))->label.get(chinese), this);
        l->setBuddy(buddy);
        return l;
    };
    company_ = new QComboBox(this);
    setControlId(company_, kCompanyId);
    binder_->bind(company_, "Company");
    band_ = new QComboBox(this);
    setControlId(band_, kBandId);
    binder_->bind(band_, "Freq Band");

    auto* form = new QGridLayout;
    form->addWidget(label("Company", company_), 0, 0);
    form->addWidget(company_, 0, 1, 1, 3);
    form->addWidget(label("Freq Band", band_), 1, 0);
    form->addWidget(band_, 1, 1, 1, 3);
    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (int i = 0; i < 4; ++i) {
        edits_[i] = new QLineEdit(this);
        setControlId(edits_[i], kLimitIds[i]);
        edits_[i]->setValidator(new QRegularExpressionValidator(digits, edits_[i]));
        binder_->bind(edits_[i], kLimitKeys[i]);
        // Every loss of focus applies the band's rule, changed or not.
        edits_[i]->installEventFilter(this);
        form->addWidget(label(kLimitKeys[i], edits_[i]), 2 + i / 2, (i % 2) * 2);
        form->addWidget(edits_[i], 2 + i / 2, (i % 2) * 2 + 1);
    }
    connect(binder_, &FieldBinder::changed, this, &CSoftwareInfoDlg::followBand);

    // Read and Write exist in the template but are never shown.
    const ReadWriteButtons readWrite = readWriteButtons(this, chinese);
    readWrite.read->hide();
    readWrite.write->hide();
    const OkCancel okCancel = okCancelButtons(this, chinese);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okCancel.ok);
    buttons->addWidget(okCancel.cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    followBand();
    routeF1ToHelp(this, kTemplateId);
}

CSoftwareInfoDlg::~CSoftwareInfoDlg() = default;

QLineEdit* CSoftwareInfoDlg::edit(int id) const {
    for (int i = 0; i < 4; ++i)
        if (kLimitIds[i] == id) return edits_[i];
    return nullptr;
}

void CSoftwareInfoDlg::followBand() {
    const bool freq1 = freq1Editable(bandOf(binder_->form()));
    for (int i = 0; i < 4; ++i) edits_[i]->setEnabled((i < 2) == freq1);
}

bool CSoftwareInfoDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (int i = 0; i < 4; ++i)
            if (watched == edits_[i]) binder_->set(kLimitKeys[i], edits_[i]->text());
    }
    return QDialog::eventFilter(watched, event);
}

void CSoftwareInfoDlg::accept() {
    binder_->store();
    if (bandsInUse_) *bandsInUse_ = formBands(binder_->form());
    QDialog::accept();
}

}  // namespace cps
