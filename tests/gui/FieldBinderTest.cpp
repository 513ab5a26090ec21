// The binder of a dialog's controls to a field table, when the dialog names a field the table
// does not have.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>
#include <algorithm>

#include "FeatureFields.h"
#include "FieldBinder.h"
#include "RadioImage.h"

class FieldBinderTest : public QObject {
    Q_OBJECT

    static void expectLogged(const char* key) {
        QTest::ignoreMessage(QtCriticalMsg,
                             QRegularExpression(QStringLiteral("no field \"%1\"").arg(key)));
    }

  private slots:
    void anUnknownFieldLeavesItsControlUnboundInEveryBuild() {
        cps::RadioImage image = cps::RadioImage::factory();
        const cps::RadioImage before = image;
        cps::FieldBinder binder(cps::dtmfFields(), image, {});
        QSignalSpy changed(&binder, &cps::FieldBinder::changed);

        QLineEdit bot;
        QVERIFY(binder.bind(&bot, "BOT"));
        QVERIFY(bot.isEnabled());

        QLineEdit edit;
        edit.setText(QStringLiteral("as the dialog made it"));
        expectLogged("No Such Edit");
        QVERIFY(!binder.bind(&edit, "No Such Edit"));
        QVERIFY(!edit.isEnabled());
        QCOMPARE(edit.text(), QStringLiteral("as the dialog made it"));

        QComboBox list;
        expectLogged("No Such List");
        QVERIFY(!binder.bind(&list, "No Such List"));
        QVERIFY(!list.isEnabled());

        QCheckBox check;
        expectLogged("No Such Switch");
        QVERIFY(!binder.bind(&check, "No Such Switch"));
        QVERIFY(!check.isEnabled());

        QButtonGroup group;
        QRadioButton one, two;
        group.addButton(&one, 0);
        group.addButton(&two, 1);
        expectLogged("No Such Option");
        QVERIFY(!binder.bind(&group, "No Such Option"));
        QVERIFY(!one.isEnabled() && !two.isEnabled());

        expectLogged("No Such Field");
        cps::field::Parsed p = binder.set("No Such Field", QStringLiteral("1"));
        QVERIFY(!p.ok);
        QVERIFY2(p.why.contains(QStringLiteral("No Such Field")), qPrintable(p.why));
        expectLogged("No Such Field");
        p = binder.setTyped("No Such Field", QStringLiteral("1"), &edit);
        QVERIFY(!p.ok);
        QCOMPARE(changed.count(), 0);

        // OK stores the fields it has, and nothing else.
        binder.store();
        QVERIFY(std::equal(image.data(), image.data() + cps::kImageSize, before.data()));
    }
};

QTEST_MAIN(FieldBinderTest)
#include "FieldBinderTest.moc"
