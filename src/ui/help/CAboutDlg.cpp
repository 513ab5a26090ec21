#include "CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "HelpContext.h"
#include "Pick.h"
#include "ProfileStore.h"
#include "Version.h"

CAboutDlg::CAboutDlg(const cps::ProfileStore& settings, const QString& languageSection,
                     bool chinese, const QString& programDir, QWidget* parent)
    : QDialog(parent) {
    auto value = [&](const char* key) {
        return settings.get(languageSection, QString::fromLatin1(key), QString());
    };
    setWindowTitle(value("About Title"));

    icon_ = new QLabel(this);
    cps::setControlId(icon_, 1096);
    // "title.ico" at the size stored in the file; the built-in picture otherwise.
    const QIcon file(programDir + QStringLiteral("title.ico"));
    const QList<QSize> sizes = file.availableSizes();
    if (!sizes.isEmpty() && !file.pixmap(sizes.first()).isNull()) {
        icon_->setPixmap(file.pixmap(sizes.first()));
        iconFromFile_ = true;
    } else {
        icon_->setPixmap(QPixmap(QStringLiteral(":/images/title.png")));
    }

    QString version = value("Version");
    // Without a version in the settings the program says its own.
    if (version.isEmpty())
        version = cps::pick(chinese, "Version ", "版本 ") + QString::fromLatin1(cps::kVersion);
    version_ = new QLabel(version, this);
    copyright_ = new QLabel(value("Copyrights"), this);
    owner_ = new QLabel(value("Copyrights Owner"), this);
    cps::setControlId(version_, 1098);
    cps::setControlId(copyright_, 1099);
    cps::setControlId(owner_, 1100);
    auto* reserved = new QLabel(QStringLiteral("All Rights Reserved"), this);
    reserved->setObjectName(QStringLiteral("reserved"));
    for (QLabel* l : {version_, copyright_, owner_, reserved}) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // An empty line keeps its place, so "All Rights Reserved" stays the fourth.
        l->setMinimumHeight(l->fontMetrics().height());
    }

    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* grid = new QGridLayout(this);
    grid->addWidget(icon_, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(version_, 0, 1);
    grid->addWidget(copyright_, 1, 1);
    grid->addWidget(owner_, 2, 1);
    grid->addWidget(reserved, 3, 1);
    grid->addWidget(ok, 0, 2, 2, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(16);
    setMinimumWidth(380);
    cps::routeF1ToHelp(this, kTemplateId);
}

QLabel* CAboutDlg::line(int id) const {
    switch (id) {
        case 1098:
            return version_;
        case 1099:
            return copyright_;
        case 1100:
            return owner_;
        default:
            return nullptr;
    }
}
