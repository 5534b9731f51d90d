// The lighting window driven offscreen: lists and stored inputs, the norm and
// lamp selections, the checks with their focus, the result, the plan and its
// placing, and the inputs kept on every way out.
#include "TestSupport.h"
#include "app/AppContext.h"
#include "app/IniStore.h"
#include "app/frmMain.h"
#include "lighting/UpDownControl.h"
#include "lighting/frmLight.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

struct Fixture {
    TestAppDir app;
    AppContext context{app.path()};
    ScriptedPrompter prompter;
    Fixture() { app.writeFile(QStringLiteral("kabinor.ini"), QByteArray()); }
    QString setting(const QString &key) const
    {
        return ReadIniString(context.settingsPath(), QStringLiteral("Light"), key, QStringLiteral("<none>"));
    }
};

void select(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

void fill(frmLight &w, const QString &length, const QString &width, const QString &h1, const QString &h2,
          const QString &kz, const QString &power)
{
    w.txtLenght->setText(length);
    w.txtWidth->setText(width);
    w.txtH1->setText(h1);
    w.txtH2->setText(h2);
    w.txtKz->setText(kz);
    w.txtLampPower->setText(power);
}

const QString kOffice = QStringLiteral("Кабинеты, рабочие комнаты, офисы");
const QString kCfl = QStringLiteral("КЛЛ (компактные люминесцентные)");

} // namespace

class TstFrmLight : public QObject
{
    Q_OBJECT
private slots:
    void opensWithDefaults();
    void normLocksAndOtherUnlocks();
    void lampTypeSetsEfficacy();
    void lampCountLimits();
    void calculatesWithDeliveredData();
    void refusedFieldGetsFocus_data();
    void refusedFieldGetsFocus();
    void twelveInLongRoomPlan();
    void tooManyToDrawStillShown();
    void escapeStoresInputs();
    void storedInputsReadBack();
    void damagedSettingsAndLists();
    void openedFromMainWindow();
};

void TstFrmLight::opensWithDefaults()
{
    Fixture f;
    frmLight w(f.context, f.prompter);
    QCOMPARE(w.windowTitle(), QStringLiteral("Расчет осветительной установки"));
    QCOMPARE(w.txtLenght->text(), QStringLiteral("5,4"));
    QCOMPARE(w.txtWidth->text(), QStringLiteral("3,6"));
    QCOMPARE(w.txtH1->text(), QStringLiteral("3,0"));
    QCOMPARE(w.txtH2->text(), QStringLiteral("0,8"));
    QCOMPARE(w.txtKz->text(), QStringLiteral("1,5"));
    QCOMPARE(w.txtLampPower->text(), QStringLiteral("18"));
    QCOMPARE(w.txtNLamp->text(), QStringLiteral("4"));
    QVERIFY(w.txtNLamp->isReadOnly());
    // Lamp types in file order, the fourth selected; norms after "Другое".
    QCOMPARE(w.cmbLampType->count(), 9);
    QCOMPARE(w.cmbLampType->currentIndex(), 3);
    QCOMPARE(w.cmbLampType->currentText(), QStringLiteral("ЛБ (люминесцентные Т8)"));
    QCOMPARE(w.iEff, 75);
    QCOMPARE(w.cmbEn->itemText(0), QStringLiteral("Другое"));
    QCOMPARE(w.cmbEn->itemText(1), kOffice);
    QCOMPARE(w.cmbEn->currentIndex(), 0);
    QCOMPARE(w.txtEn->text(), QString());
    QVERIFY(!w.txtEn->isReadOnly());
    QCOMPARE(w.fraPlan->title(), QStringLiteral("План расположения светильников"));
    QCOMPARE(w.cmdCalc->text(), QStringLiteral("&Расчет"));
    QCOMPARE(w.cmdClose->text(), QStringLiteral("&Закрыть"));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstFrmLight::normLocksAndOtherUnlocks()
{
    Fixture f;
    frmLight w(f.context, f.prompter);
    const QColor editable = w.txtEn->palette().color(QPalette::Base);
    select(w.cmbEn, kOffice);
    QCOMPARE(w.txtEn->text(), QStringLiteral("300"));
    QVERIFY(w.txtEn->isReadOnly());
    QCOMPARE(w.txtEn->palette().color(QPalette::Base), w.palette().color(QPalette::Button));
    select(w.cmbEn, QStringLiteral("Шахты лифтов"));
    QCOMPARE(w.txtEn->text(), QStringLiteral("5"));

    w.cmbEn->setCurrentIndex(0);
    QCOMPARE(w.txtEn->text(), QString());
    QVERIFY(!w.txtEn->isReadOnly());
    QCOMPARE(w.txtEn->palette().color(QPalette::Base), editable);
    QTest::keyClicks(w.txtEn, QStringLiteral("250"));
    QCOMPARE(w.txtEn->text(), QStringLiteral("250"));
}

void TstFrmLight::lampTypeSetsEfficacy()
{
    Fixture f;
    frmLight w(f.context, f.prompter);
    select(w.cmbLampType, kCfl);
    QCOMPARE(w.iEff, 60);
    select(w.cmbLampType, QStringLiteral("ДНаТ (натриевые)"));
    QCOMPARE(w.iEff, 100);
}

void TstFrmLight::lampCountLimits()
{
    Fixture f;
    frmLight w(f.context, f.prompter);
    for (int k = 0; k < 12; ++k)
        w.updNLamp->upButton()->click();
    QCOMPARE(w.txtNLamp->text(), QStringLiteral("10"));
    for (int k = 0; k < 12; ++k)
        w.updNLamp->downButton()->click();
    // At least one lamp: a luminaire without lamps gives no light.
    QCOMPARE(w.txtNLamp->text(), QStringLiteral("1"));
    QTest::keyClick(w.txtNLamp, Qt::Key_Up);
    QTest::keyClick(w.txtNLamp, Qt::Key_Up);
    QCOMPARE(w.txtNLamp->text(), QStringLiteral("3"));
}

void TstFrmLight::calculatesWithDeliveredData()
{
    Fixture f;
    frmLight w(f.context, f.prompter);
    select(w.cmbLampType, kCfl);
    select(w.cmbEn, kOffice);
    w.cmdCalc->click();
    QVERIFY(f.prompter.messages.isEmpty());
    // The worked room with the delivered table: η = 31 %, 6,53 rounds to 7.
    QCOMPARE(w.lblN->text(), QStringLiteral("Колличество светильников: 7"));
    QCOMPARE(w.plan().grid.columns, 7);
    QCOMPARE(w.plan().grid.rows, 1);

    // Fewer lamps per luminaire need more luminaires.
    w.updNLamp->downButton()->click();
    w.updNLamp->downButton()->click();
    w.cmdCalc->click();
    QCOMPARE(w.lblN->text(), QStringLiteral("Колличество светильников: 13"));
}

void TstFrmLight::refusedFieldGetsFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("selected");
    QTest::newRow("plane at 0,9 H1") << "txtH2" << "2,7"
                                     << "Высота рабочей плоскости не может быть больше высоты комнаты!"
                                     << "Ошибка" << true;
    QTest::newRow("length 50,1") << "txtLenght" << "50,1" << "Слишком большая длина комнаты!" << "Ошибка" << true;
    QTest::newRow("empty width") << "txtWidth" << "" << "Укажите численное значение!" << "Ошибка ввода" << false;
    QTest::newRow("letters in Kz") << "txtKz" << "abc" << "Вводимое значение должно быть числовым!"
                                   << "Ошибка ввода" << true;
    QTest::newRow("own E empty") << "txtEn" << "" << "Укажите численное значение!" << "Ошибка ввода" << false;
}

void TstFrmLight::refusedFieldGetsFocus()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(bool, selected);
    Fixture f;
    frmLight w(f.context, f.prompter);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.txtEn->setText(QStringLiteral("300"));
    auto *edit = w.findChild<QLineEdit *>(field);
    QVERIFY(edit);
    edit->setText(text);
    w.cmdCalc->setFocus();
    w.cmdCalc->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages[0].text, message);
    QCOMPARE(f.prompter.messages[0].title, title);
    QCOMPARE(f.prompter.messages[0].icon, Prompter::Icon::Exclamation);
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), selected ? text : QString());
    QCOMPARE(w.lblN->text(), QStringLiteral("Колличество светильников: "));
}

void TstFrmLight::twelveInLongRoomPlan()
{
    Fixture f;
    frmLight w(f.context, f.prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fill(w, QStringLiteral("6"), QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("0,8"), QStringLiteral("1,5"),
         QStringLiteral("18"));
    w.txtEn->setText(QStringLiteral("744")); // ЛБ 75 lm/W × 18 W × 4, η 31 %: exactly 12
    w.cmdCalc->click();
    QVERIFY(f.prompter.messages.isEmpty());
    QCOMPARE(w.lblN->text(), QStringLiteral("Колличество светильников: 12"));
    QCOMPARE(w.plan().grid.columns, 3);
    QCOMPARE(w.plan().grid.rows, 4);

    // The picture is twice as wide as high and centred in its frame, the count below it.
    const QPixmap pixmap = w.picGraph->pixmap();
    QVERIFY(qAbs(pixmap.width() - 2 * pixmap.height()) <= 1);
    const QRect pic = w.picGraph->geometry();
    QVERIFY(qAbs(pic.left() - (w.fraPlan->width() - pic.width()) / 2) <= 1);
    QVERIFY(pic.top() < (w.fraPlan->height() - pic.height()) / 2);
    QCOMPARE(w.lblN->x(), pic.left());
    QVERIFY(w.lblN->y() > pic.bottom());
    QVERIFY(w.lblN->geometry().bottom() < w.fraPlan->height());

    // Red circles at the plan's centres: 3 across, 4 down.
    const QImage image = pixmap.toImage();
    const double scale = double(pixmap.width()) / w.plan().width;
    auto redNear = [&](QPointF c) {
        const double r = w.plan().radius * scale;
        for (int dx = -1; dx <= 1; ++dx) {
            const QColor px = image.pixelColor(qRound(c.x() * scale + r) + dx, qRound(c.y() * scale));
            if (px.red() > 200 && px.green() < 160)
                return true;
        }
        return false;
    };
    for (const QPointF &c : w.plan().centres())
        QVERIFY(redNear(c));
    QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::white));
}

void TstFrmLight::tooManyToDrawStillShown()
{
    Fixture f;
    frmLight w(f.context, f.prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fill(w, QStringLiteral("50"), QStringLiteral("50"), QStringLiteral("15"), QStringLiteral("1"), QStringLiteral("10"),
         QStringLiteral("0,001"));
    select(w.cmbLampType, QStringLiteral("ЛН (накаливания)"));
    w.txtEn->setText(QStringLiteral("10000"));
    for (int k = 0; k < 3; ++k)
        w.updNLamp->downButton()->click();
    w.cmdCalc->click();
    QVERIFY(f.prompter.messages.isEmpty());
    QCOMPARE(w.lblN->text(), QStringLiteral("Колличество светильников: 53418803419"));
    QVERIFY(!w.plan().drawable);
    QVERIFY(w.plan().centres().isEmpty());
    // The picture stays square with the note instead of circles.
    const QPixmap pixmap = w.picGraph->pixmap();
    QCOMPARE(pixmap.width(), pixmap.height());
}

void TstFrmLight::escapeStoresInputs()
{
    Fixture f;
    {
        frmLight w(f.context, f.prompter);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.txtLenght->setText(QStringLiteral("7,2"));
        w.txtH2->setText(QStringLiteral("не число"));
        select(w.cmbEn, QStringLiteral("Машинописные бюро"));
        select(w.cmbLampType, kCfl);
        w.txtLampPower->setText(QStringLiteral("36"));
        w.updNLamp->upButton()->click();
        w.updNLamp->upButton()->click();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
        // Written at the unload itself, not only when the instance goes.
        QCOMPARE(f.setting(QStringLiteral("Lenght")), QStringLiteral("7,2"));
    }
    QCOMPARE(f.setting(QStringLiteral("H2")), QStringLiteral("не число")); // stored as typed
    QCOMPARE(f.setting(QStringLiteral("EnListIdx")), QStringLiteral("3"));
    QCOMPARE(f.setting(QStringLiteral("LTListIdx")), QStringLiteral("2"));
    QCOMPARE(f.setting(QStringLiteral("LampPower")), QStringLiteral("36"));
    QCOMPARE(f.setting(QStringLiteral("NLamp")), QStringLiteral("6"));
    QCOMPARE(f.setting(QStringLiteral("Width")), QStringLiteral("3,6"));
    QCOMPARE(f.setting(QStringLiteral("Kz")), QStringLiteral("1,5"));

    // "&Закрыть" stores them as well.
    frmLight w(f.context, f.prompter);
    w.txtKz->setText(QStringLiteral("1,3"));
    w.cmdClose->click();
    QCOMPARE(f.setting(QStringLiteral("Kz")), QStringLiteral("1,3"));
}

void TstFrmLight::storedInputsReadBack()
{
    Fixture f;
    f.app.writeFile(QStringLiteral("kabinor.ini"),
                    cp1251(QStringLiteral("[Light]\r\nLenght=12\r\nWidth=8\r\nH1=4\r\nH2=1\r\nKz=1,2\r\n"
                                          "EnListIdx=3\r\nLTListIdx=2\r\nLampPower=36\r\nNLamp=2\r\n")));
    frmLight w(f.context, f.prompter);
    QCOMPARE(w.txtLenght->text(), QStringLiteral("12"));
    QCOMPARE(w.txtWidth->text(), QStringLiteral("8"));
    QCOMPARE(w.txtKz->text(), QStringLiteral("1,2"));
    // The stored selections run their rules: the norm fills and locks the field.
    QCOMPARE(w.cmbEn->currentText(), QStringLiteral("Машинописные бюро"));
    QCOMPARE(w.txtEn->text(), QStringLiteral("400"));
    QVERIFY(w.txtEn->isReadOnly());
    QCOMPARE(w.iEff, 60);
    QCOMPARE(w.txtLampPower->text(), QStringLiteral("36"));
    QCOMPARE(w.txtNLamp->text(), QStringLiteral("2"));
    QCOMPARE(w.updNLamp->value(), 2);
}

void TstFrmLight::damagedSettingsAndLists()
{
    Fixture f;
    // Indices beyond the lists and a count out of range open on usable values.
    f.app.writeFile(QStringLiteral("kabinor.ini"),
                    cp1251(QStringLiteral("[Light]\r\nEnListIdx=500\r\nLTListIdx=x\r\nNLamp=40\r\n")));
    {
        frmLight w(f.context, f.prompter);
        QCOMPARE(w.cmbEn->currentIndex(), 0);
        QCOMPARE(w.cmbLampType->currentIndex(), 0);
        QCOMPARE(w.iEff, 12);
        QCOMPARE(w.txtNLamp->text(), QStringLiteral("10"));
    }
    // Without the lamp-type list the window opens, says why, and refuses to calculate.
    QFile::remove(f.app.file(QStringLiteral("LampTypes.dat")));
    QFile::remove(f.app.file(QStringLiteral("UtilFactors.dat")));
    f.prompter.clear();
    frmLight w(f.context, f.prompter);
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.prompter.messages[0].text.startsWith(QStringLiteral("Файл ")));
    QVERIFY(f.prompter.messages[0].text.endsWith(QStringLiteral("LampTypes.dat не найден!")));
    QCOMPARE(w.cmbLampType->count(), 0);
    QCOMPARE(w.iEff, 0);
    w.txtEn->setText(QStringLiteral("300"));
    w.cmdCalc->click();
    QVERIFY(f.prompter.lastText().endsWith(QStringLiteral("UtilFactors.dat не найден!")));
    f.app.writeFile(QStringLiteral("UtilFactors.dat"), cp1251(QStringLiteral("\"5\",40\r\n")));
    w.cmdCalc->click();
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Не задана светоотдача лампы!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка"));
}

void TstFrmLight::openedFromMainWindow()
{
    Fixture f;
    frmMain::runStartupCheck(f.context, f.prompter);
    frmMain main(f.context, f.prompter);
    QAction *a = main.action(QStringLiteral("mnuCalcL"));
    QVERIFY(a);
    QCOMPARE(a->text(), QStringLiteral("Расчет &освещенности..."));
    QCOMPARE(a->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));

    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto *dialog = qobject_cast<frmLight *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = dialog->isModal();
        dialog->txtWidth->setText(QStringLiteral("4,4"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    main.toolButton(QStringLiteral("Light"))->trigger();
    QVERIFY(seen);
    QCOMPARE(f.setting(QStringLiteral("Width")), QStringLiteral("4,4"));
}

QTEST_MAIN(TstFrmLight)
#include "tst_frmlight.moc"
