// "Выбор ТП" and "Расчет токов короткого замыкания" driven offscreen, and the
// main window's two commands that open them.
#include "TestSupport.h"
#include "app/AppContext.h"
#include "app/frmMain.h"
#include "shortcircuit/frmKZ.h"
#include "shortcircuit/frmTP.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

namespace {

CableLine line(const QString &voltage, bool checked, const QString &resistance = QStringLiteral("20"),
               const QString &cores = QString())
{
    CableLine l;
    l.name = QStringLiteral("Линия");
    l.cells[CableLine::Cores] = !cores.isEmpty()                     ? cores
                                : voltage == QLatin1String("220") ? QStringLiteral("3x2,5")
                                                                  : QStringLiteral("4x16");
    l.cells[CableLine::Material] = QStringLiteral("Медь");
    l.cells[CableLine::Length] = QStringLiteral("10");
    l.cells[CableLine::Resistance] = resistance;
    l.cells[CableLine::Voltage] = voltage;
    l.checked = checked;
    return l;
}

struct TpFixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    Project project;
};

QStringList texts(frmKZ &w)
{
    return {w.txtIk[0]->text(), w.txtIk[1]->text(), w.txtIk[2]->text(), w.txtIk[3]->text()};
}

QStringList units(frmKZ &w)
{
    return {w.lblIk[0]->text(), w.lblIk[1]->text(), w.lblIk[2]->text(), w.lblIk[3]->text()};
}

const QString kKiloAmpere = QStringLiteral("к") + QLatin1Char('A');
const QString kInitialUnit = QStringLiteral("кА");

// Runs `action` as soon as a modal window is up, and records its name.
void onModal(QString *name, const std::function<void(QWidget *)> &action)
{
    QTimer::singleShot(0, [name, action] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w)
            return;
        *name = w->objectName();
        action(w);
    });
}

} // namespace

class TstShortCircuitWindows : public QObject
{
    Q_OBJECT
private slots:
    void tpLayoutAndCaptions();
    void tpNewProjectOffers400();
    void tpEnablingRule();
    void tpApplySupplyLine();
    void tpApplyWithoutSupplyLineClearsIt();
    void tpOkChecksSectionFirst();
    void tpEscDiscardsEdits();
    void tpCloseBoxAppliesOrStays();
    void tpStoredSupplyLineChecksTheBox();
    void tpMissingFileOpensEmpty();
    void tpUnknownStoredPowerIsKept();
    void kzOpening();
    void kzWorkedExample();
    void kzSinglePhaseEnd();
    void kzEscCloses();
    void mainCalcKZWithoutPowerWarnsThenOpensTP();
    void mainCalcKZOpensKZ();
    void mainRefreshTransformerValues();
};

void TstShortCircuitWindows::tpLayoutAndCaptions()
{
    TpFixture f;
    frmTP w(f.project, f.context, f.prompter);
    QCOMPARE(w.windowTitle(), QStringLiteral("Выбор ТП"));
    QCOMPARE(w.fraTransformer->title(), QStringLiteral("Выбор трансформатора 10(6)/0,4 кВ"));
    QCOMPARE(w.fraTP->title(), QStringLiteral("Данные ТП"));
    QCOMPARE(w.chkHSide->text(), QStringLiteral("Учитывать высокую сторну"));
    QCOMPARE(w.fraHS->title(), QStringLiteral("Данные питающий линии"));
    QCOMPARE(w.cmdApp->text(), QStringLiteral("&Применить"));
    QCOMPARE(w.cmdOk->text(), QStringLiteral("&OK"));
    QStringList labels;
    for (QLabel *l : w.findChildren<QLabel *>())
        labels << l->text();
    for (const char *caption : {"Мощность трансформатора ", "кВА", "Активное сопротивление", "Индуктивное сопротивление",
                                "Полное сопротивление однофазному КЗ", "мОм", "Длина   ", "км", "Сечение", "Материал"})
        QVERIFY2(labels.contains(QString::fromUtf8(caption)), caption);
    QCOMPARE(w.cmbMaterialHS->count(), 2);
    QCOMPARE(w.cmbMaterialHS->itemText(0), QStringLiteral("Алюминий"));
    QCOMPARE(w.cmbMaterialHS->itemText(1), QStringLiteral("Медь"));
    QVERIFY(w.txtRt->isReadOnly() && w.txtXt->isReadOnly() && w.txtZt->isReadOnly());
}

void TstShortCircuitWindows::tpNewProjectOffers400()
{
    TpFixture f;
    frmTP w(f.project, f.context, f.prompter);
    QCOMPARE(w.cmbStran->count(), 10);
    QCOMPARE(w.cmbStran->currentText(), QStringLiteral("400"));
    QCOMPARE(w.txtRt->text(), QStringLiteral("5,4"));
    QCOMPARE(w.txtXt->text(), QStringLiteral("17,2"));
    QCOMPARE(w.txtZt->text(), QStringLiteral("195"));
    QCOMPARE(w.cmbMaterialHS->currentText(), QStringLiteral("Алюминий"));
    QVERIFY(!w.chkHSide->isChecked());
    QVERIFY(w.cmdApp->isEnabled());
    // Offered, not yet chosen.
    QCOMPARE(f.project.sSTP, QStringLiteral("0"));

    w.cmdOk->click();
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(f.project.sSTP, QStringLiteral("400"));
    QCOMPARE(f.project.hs, 0);
    QCOMPARE(f.project.Rt, 5.4);
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstShortCircuitWindows::tpEnablingRule()
{
    TpFixture f;
    frmTP w(f.project, f.context, f.prompter);
    const QList<QWidget *> supply{w.fraHS, w.lblLength, w.lblKm, w.lblSection, w.lblMaterial,
                                  w.txtLenghtHS, w.txtSectHS, w.cmbMaterialHS};
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QColor window = QApplication::palette().color(QPalette::Base);
    for (QWidget *c : supply)
        QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
    QCOMPARE(w.txtSectHS->palette().color(QPalette::Base), face);

    w.cmdApp->click();
    QVERIFY(!w.cmdApp->isEnabled());
    w.chkHSide->click();
    for (QWidget *c : supply)
        QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
    QCOMPARE(w.txtLenghtHS->palette().color(QPalette::Base), window);
    QCOMPARE(w.cmbMaterialHS->palette().color(QPalette::Base), window);
    QVERIFY(w.cmdApp->isEnabled());

    w.chkHSide->click();
    QVERIFY(!w.txtLenghtHS->isEnabled());
    QCOMPARE(w.txtLenghtHS->palette().color(QPalette::Base), face);
}

void TstShortCircuitWindows::tpApplySupplyLine()
{
    TpFixture f;
    frmTP w(f.project, f.context, f.prompter);
    w.chkHSide->click();
    QTest::keyClicks(w.txtLenghtHS, QStringLiteral("0,5"));
    QTest::keyClicks(w.txtSectHS, QStringLiteral("35"));
    w.cmbStran->setCurrentIndex(w.cmbStran->findText(QStringLiteral("630")));
    w.cmdApp->click();

    QCOMPARE(f.project.sSTP, QStringLiteral("630"));
    QCOMPARE(f.project.hs, 1);
    QCOMPARE(f.project.sNMat, QStringLiteral("Алюминий"));
    QCOMPARE(f.project.sNLen, QStringLiteral("0,5"));
    QCOMPARE(f.project.sNSec, QStringLiteral("35"));
    QCOMPARE(qRound(f.project.Rnet * 1000), 617);
    QCOMPARE(f.project.Rt, 3.0);
    QCOMPARE(w.txtXt->text(), QStringLiteral("12,3"));
    QCOMPARE(w.cmbStran->currentText(), QStringLiteral("630"));
    QVERIFY(!w.cmdApp->isEnabled());

    // Every kind of edit makes the apply button available again.
    QTest::keyClicks(w.txtSectHS, QStringLiteral("0"));
    QVERIFY(w.cmdApp->isEnabled());
    w.cmdApp->click();
    w.cmbMaterialHS->setCurrentIndex(1);
    QVERIFY(w.cmdApp->isEnabled());
    w.cmdApp->click();
    QCOMPARE(f.project.sNMat, QStringLiteral("Медь"));
    QCOMPARE(f.project.sNSec, QStringLiteral("350"));
    w.cmbStran->setCurrentIndex(0);
    QVERIFY(w.cmdApp->isEnabled());
}

void TstShortCircuitWindows::tpApplyWithoutSupplyLineClearsIt()
{
    TpFixture f;
    f.project.sSTP = QStringLiteral("400");
    f.project.hs = 1;
    f.project.sNMat = QStringLiteral("Медь");
    f.project.sNLen = QStringLiteral("1");
    f.project.sNSec = QStringLiteral("50");
    f.project.Rnet = 0.5;
    frmTP w(f.project, f.context, f.prompter);
    QVERIFY(w.chkHSide->isChecked());
    w.chkHSide->click();
    w.cmdOk->click();
    QCOMPARE(f.project.hs, 0);
    QCOMPARE(f.project.Rnet, 0.0);
    QVERIFY(f.project.sNMat.isEmpty() && f.project.sNLen.isEmpty() && f.project.sNSec.isEmpty());
}

void TstShortCircuitWindows::tpOkChecksSectionFirst()
{
    TpFixture f;
    frmTP w(f.project, f.context, f.prompter);
    w.show();
    w.chkHSide->click();
    QTest::keyClicks(w.txtLenghtHS, QStringLiteral("abc"));
    w.cmdOk->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().text, QStringLiteral("Укажите численное значение!"));
    QCOMPARE(f.prompter.messages.first().title, QStringLiteral("Ошибка ввода"));
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.txtSectHS));
    QVERIFY(w.isVisible());
    QCOMPARE(f.project.sSTP, QStringLiteral("0"));
    QCOMPARE(f.project.hs, 0);

    // The section passes; now the length is examined.
    QTest::keyClicks(w.txtSectHS, QStringLiteral("35"));
    w.cmdOk->click();
    QCOMPARE(f.prompter.messages.size(), 2);
    QCOMPARE(f.prompter.messages.last().text, QStringLiteral("Вводимое значение должно быть числовым!"));
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.txtLenghtHS));
    QCOMPARE(w.txtLenghtHS->selectedText(), QStringLiteral("abc"));
    QVERIFY(w.isVisible());
    QCOMPARE(f.project.sSTP, QStringLiteral("0"));

    w.txtLenghtHS->setText(QStringLiteral("2"));
    w.cmdOk->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(f.project.sSTP, QStringLiteral("400"));
    QCOMPARE(f.project.sNLen, QStringLiteral("2"));
}

void TstShortCircuitWindows::tpEscDiscardsEdits()
{
    TpFixture f;
    f.project.sSTP = QStringLiteral("630");
    f.project.Rt = 3;
    f.project.Xt = 12.3;
    f.project.Zt = 129;
    f.project.Rnet = 0.25;
    f.project.hs = 1;
    f.project.sNMat = QStringLiteral("Алюминий");
    f.project.sNLen = QStringLiteral("0,5");
    f.project.sNSec = QStringLiteral("35");
    const Project before = f.project;

    frmTP w(f.project, f.context, f.prompter);
    w.show();
    w.cmbStran->setCurrentIndex(w.cmbStran->findText(QStringLiteral("400")));
    w.txtSectHS->setText(QStringLiteral("70"));
    w.chkHSide->click();
    QTest::keyClick(w.cmbMaterialHS, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(f.project.sSTP, before.sSTP);
    QCOMPARE(f.project.Rt, before.Rt);
    QCOMPARE(f.project.Xt, before.Xt);
    QCOMPARE(f.project.Zt, before.Zt);
    QCOMPARE(f.project.Rnet, before.Rnet);
    QCOMPARE(f.project.hs, 1);
    QCOMPARE(f.project.sNSec, QStringLiteral("35"));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstShortCircuitWindows::tpCloseBoxAppliesOrStays()
{
    TpFixture f;
    frmTP w(f.project, f.context, f.prompter);
    w.show();
    w.chkHSide->click();
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Укажите численное значение!"));
    QCOMPARE(f.project.sSTP, QStringLiteral("0"));

    w.chkHSide->click();
    QVERIFY(w.close());
    QCOMPARE(f.project.sSTP, QStringLiteral("400"));
    QCOMPARE(f.prompter.messages.size(), 1);
}

void TstShortCircuitWindows::tpStoredSupplyLineChecksTheBox()
{
    TpFixture f;
    f.project.sSTP = QStringLiteral("1000");
    f.project.sNMat = QStringLiteral("Медь");
    f.project.sNSec = QStringLiteral("50");
    frmTP w(f.project, f.context, f.prompter);
    QCOMPARE(w.cmbStran->currentText(), QStringLiteral("1000"));
    QCOMPARE(w.txtRt->text(), QStringLiteral("1,73"));
    QVERIFY(w.chkHSide->isChecked());
    QVERIFY(w.txtSectHS->isEnabled());
    QCOMPARE(w.cmbMaterialHS->currentText(), QStringLiteral("Медь"));
    QCOMPARE(w.txtSectHS->text(), QStringLiteral("50"));
    QCOMPARE(w.txtLenghtHS->text(), QString());
}

void TstShortCircuitWindows::tpMissingFileOpensEmpty()
{
    TpFixture f;
    QVERIFY(QFile::remove(f.app.file(QStringLiteral("Transformers.dat"))));
    frmTP w(f.project, f.context, f.prompter);
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.prompter.lastText().endsWith(QStringLiteral("Transformers.dat не найден!")));
    QCOMPARE(f.prompter.messages.first().icon, Prompter::Icon::Critical);
    QCOMPARE(w.cmbStran->count(), 0);
    QCOMPARE(w.txtRt->text(), QStringLiteral("0"));
    w.cmdOk->click();
    QCOMPARE(f.project.sSTP, QStringLiteral("0"));
    // Apply reads the file again but does not repeat the message.
    QCOMPARE(f.prompter.messages.size(), 1);
}

void TstShortCircuitWindows::tpUnknownStoredPowerIsKept()
{
    TpFixture f;
    f.project.sSTP = QStringLiteral("500");
    f.project.Rt = 8;
    frmTP w(f.project, f.context, f.prompter);
    QCOMPARE(w.cmbStran->currentIndex(), -1);
    QCOMPARE(w.txtRt->text(), QStringLiteral("8"));
    w.cmdApp->click();
    QCOMPARE(f.project.sSTP, QStringLiteral("500"));
    QCOMPARE(f.project.Rt, 8.0);
    // Choosing a listed power replaces it.
    w.cmbStran->setCurrentIndex(0);
    w.cmdApp->click();
    QCOMPARE(f.project.sSTP, QStringLiteral("25"));
    QCOMPARE(f.project.Rt, 153.6);
}

void TstShortCircuitWindows::kzOpening()
{
    Project p;
    p.sSTP = QStringLiteral("400");
    p.lines = {line("380", true), line("220", true), line("380", true), line("380", false)};
    CalcValues calc;
    frmKZ w(p, calc);
    QCOMPARE(w.windowTitle(), QStringLiteral("Расчет токов короткого замыкания"));
    QCOMPARE(w.updNs->value(), 3);
    QCOMPARE(w.updNs->maximum(), 5);
    QCOMPARE(w.updNs->minimum(), 0);
    QCOMPARE(w.txtSTP->text(), QStringLiteral("400"));
    QCOMPARE(texts(w), (QStringList{"", "", "", ""}));
    QCOMPARE(units(w), (QStringList{kInitialUnit, kInitialUnit, kInitialUnit, kInitialUnit}));
    QCOMPARE(w.cmdKZ->text(), QStringLiteral("&Вычислить"));
    QCOMPARE(w.cmdClose->text(), QStringLiteral("&Закрыть"));
}

void TstShortCircuitWindows::kzWorkedExample()
{
    Project p;
    p.sSTP = QStringLiteral("400");
    p.Rt = 15;
    p.Xt = 40;
    p.Zt = 300;
    CalcValues calc;
    frmKZ w(p, calc);
    QCOMPARE(w.updNs->value(), 1);
    w.cmdKZ->click();
    QCOMPARE(texts(w), (QStringList{"4,39", "3,8", "1,91", "6,21"}));
    QCOMPARE(units(w), (QStringList{kKiloAmpere, kKiloAmpere, kKiloAmpere, kKiloAmpere}));

    // The project is read again on every calculation: a long path brings
    // Ik(1) under 0,1 kA, shown in amperes. 220 / (300 / 3 + 2650) = 0,08 kA;
    // a notation without a section has no neutral resistance.
    p.lines = {line("380", true, "2650", QStringLiteral("25"))};
    w.updNs->setValue(0);
    w.cmdKZ->click();
    QCOMPARE(w.txtIk[2]->text(), QStringLiteral("80"));
    QCOMPARE(w.lblIk[2]->text(), QStringLiteral("A"));
}

void TstShortCircuitWindows::kzSinglePhaseEnd()
{
    Project p;
    p.sSTP = QStringLiteral("400");
    p.Rt = 15;
    p.Xt = 40;
    p.Zt = 300;
    p.lines = {line("380", true), line("220", true)};
    CalcValues calc;
    frmKZ w(p, calc);
    w.cmdKZ->click();
    const QStringList t = texts(w);
    QCOMPARE(t[0], QStringLiteral("-"));
    QCOMPARE(t[1], QStringLiteral("-"));
    QCOMPARE(t[3], QStringLiteral("-"));
    QVERIFY(t[2] != QLatin1String("-") && !t[2].isEmpty());
    QCOMPARE(units(w), (QStringList{kInitialUnit, kInitialUnit, kKiloAmpere, kInitialUnit}));

    // An unchecked three-phase line at the end of the list: all four
    // currents, and the unchecked line adds nothing to the path.
    p.lines.append(line("380", false, "999"));
    w.cmdKZ->click();
    const QStringList all = texts(w);
    for (const QString &text : all)
        QVERIFY(text != QLatin1String("-"));
    QCOMPARE(all[2], t[2]);
    QCOMPARE(units(w), (QStringList{kKiloAmpere, kKiloAmpere, kKiloAmpere, kKiloAmpere}));
}

void TstShortCircuitWindows::kzEscCloses()
{
    Project p;
    p.sSTP = QStringLiteral("400");
    CalcValues calc;
    frmKZ w(p, calc);
    w.show();
    QTest::keyClick(w.updNs, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void TstShortCircuitWindows::mainCalcKZWithoutPowerWarnsThenOpensTP()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    frmMain::runStartupCheck(context, prompter);
    frmMain window(context, prompter);
    QString opened;
    onModal(&opened, [](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    window.action(QStringLiteral("mnuCalcKZ"))->trigger();
    QCOMPARE(opened, QStringLiteral("frmTP"));
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.first().text, QStringLiteral("Укажите мощность трансформатора и данные питающей линии!"));
    QCOMPARE(prompter.messages.first().title, QStringLiteral("Кабинор"));
    QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Exclamation);
    QCOMPARE(window.project().sSTP, QStringLiteral("0"));

    // "&Выбрать..." opens the same dialog; OK keeps the offered power.
    onModal(&opened, [](QWidget *w) { static_cast<frmTP *>(w)->cmdOk->click(); });
    window.action(QStringLiteral("mnuSelTP"))->trigger();
    QCOMPARE(opened, QStringLiteral("frmTP"));
    QCOMPARE(window.project().sSTP, QStringLiteral("400"));
}

void TstShortCircuitWindows::mainCalcKZOpensKZ()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    frmMain::runStartupCheck(context, prompter);
    frmMain window(context, prompter);
    window.project().sSTP = QStringLiteral("400");
    window.refreshTransformerValues();
    QString opened;
    QStringList shown;
    onModal(&opened, [&shown](QWidget *w) {
        auto *kz = static_cast<frmKZ *>(w);
        kz->cmdKZ->click();
        shown = texts(*kz);
        kz->cmdClose->click();
    });
    window.action(QStringLiteral("mnuCalcKZ"))->trigger();
    QCOMPARE(opened, QStringLiteral("frmKZ"));
    QVERIFY(prompter.messages.isEmpty());
    // 400 kVA: Rt 5,4, Xt 17,2, Zt 195, one stage of 15 mOhm.
    QCOMPARE(shown, (QStringList{"8,22", "7,12", "2,75", "11,63"}));
}

void TstShortCircuitWindows::mainRefreshTransformerValues()
{
    TestAppDir app;
    AppContext context(app.path());
    ScriptedPrompter prompter;
    frmMain::runStartupCheck(context, prompter);
    frmMain window(context, prompter);
    Project &p = window.project();
    p.sSTP = QStringLiteral("630");
    p.sNMat = QStringLiteral("Алюминий");
    p.sNLen = QStringLiteral("0,5");
    p.sNSec = QStringLiteral("35");
    window.refreshTransformerValues();
    QCOMPARE(p.Rt, 3.0);
    QCOMPARE(p.Zt, 129.0);
    QCOMPARE(qRound(p.Rnet * 1000), 617);
    QVERIFY(prompter.messages.isEmpty());

    app.writeFile(QStringLiteral("Transformers.dat"), "630,3,12.3\n");
    window.refreshTransformerValues();
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Critical);
    QVERIFY(prompter.lastText().contains(QStringLiteral("поврежден")));
}

QTEST_MAIN(TstShortCircuitWindows)
#include "tst_shortcircuitwindows.moc"
