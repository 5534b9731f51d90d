// The lighting window driven offscreen: lists and stored inputs, the norm and
// lamp selections, the checks with their focus, the result, the plan and its
// placing, and the inputs kept on every way out.
#include "TestSupport.h"
#include "base/AppContext.h"
#include "base/IniStore.h"
#include "ui/lighting/LightingWindow.h"
#include "shell/MainWindow.h"
#include "ui/widgets/UpDownControl.h"

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
        return iniValue(context.settingsPath(), QStringLiteral("Light"), key, QStringLiteral("<none>"));
    }
};

void select(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

void fill(LightingWindow &w, const QString &length, const QString &width, const QString &h1, const QString &h2,
          const QString &kz, const QString &power)
{
    w.lengthEdit->setText(length);
    w.widthEdit->setText(width);
    w.heightEdit->setText(h1);
    w.workingPlaneEdit->setText(h2);
    w.safetyFactorEdit->setText(kz);
    w.lampPowerEdit->setText(power);
}

const QString kOffice = QStringLiteral("Кабинеты, рабочие комнаты, офисы");
const QString kCfl = QStringLiteral("КЛЛ (компактные люминесцентные)");

} // namespace

class TstLightingWindow : public QObject
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

void TstLightingWindow::opensWithDefaults()
{
    Fixture f;
    LightingWindow w(f.context, f.prompter);
    QCOMPARE(w.windowTitle(), QStringLiteral("Расчет осветительной установки"));
    QCOMPARE(w.lengthEdit->text(), QStringLiteral("5,4"));
    QCOMPARE(w.widthEdit->text(), QStringLiteral("3,6"));
    QCOMPARE(w.heightEdit->text(), QStringLiteral("3,0"));
    QCOMPARE(w.workingPlaneEdit->text(), QStringLiteral("0,8"));
    QCOMPARE(w.safetyFactorEdit->text(), QStringLiteral("1,5"));
    QCOMPARE(w.lampPowerEdit->text(), QStringLiteral("18"));
    QCOMPARE(w.lampCountEdit->text(), QStringLiteral("4"));
    QVERIFY(w.lampCountEdit->isReadOnly());
    // Lamp types in file order, the fourth selected; norms after "Другое".
    QCOMPARE(w.lampTypeList->count(), 9);
    QCOMPARE(w.lampTypeList->currentIndex(), 3);
    QCOMPARE(w.lampTypeList->currentText(), QStringLiteral("ЛБ (люминесцентные Т8)"));
    QCOMPARE(w.selectedLampEfficacy, 75);
    QCOMPARE(w.normList->itemText(0), QStringLiteral("Другое"));
    QCOMPARE(w.normList->itemText(1), kOffice);
    QCOMPARE(w.normList->currentIndex(), 0);
    QCOMPARE(w.illuminanceEdit->text(), QString());
    QVERIFY(!w.illuminanceEdit->isReadOnly());
    QCOMPARE(w.planFrame->title(), QStringLiteral("План расположения светильников"));
    QCOMPARE(w.calculateButton->text(), QStringLiteral("&Расчет"));
    QCOMPARE(w.closeButton->text(), QStringLiteral("&Закрыть"));
    QVERIFY(f.prompter.messages.isEmpty());
}

void TstLightingWindow::normLocksAndOtherUnlocks()
{
    Fixture f;
    LightingWindow w(f.context, f.prompter);
    const QColor editable = w.illuminanceEdit->palette().color(QPalette::Base);
    select(w.normList, kOffice);
    QCOMPARE(w.illuminanceEdit->text(), QStringLiteral("300"));
    QVERIFY(w.illuminanceEdit->isReadOnly());
    QCOMPARE(w.illuminanceEdit->palette().color(QPalette::Base), w.palette().color(QPalette::Button));
    select(w.normList, QStringLiteral("Шахты лифтов"));
    QCOMPARE(w.illuminanceEdit->text(), QStringLiteral("5"));

    w.normList->setCurrentIndex(0);
    QCOMPARE(w.illuminanceEdit->text(), QString());
    QVERIFY(!w.illuminanceEdit->isReadOnly());
    QCOMPARE(w.illuminanceEdit->palette().color(QPalette::Base), editable);
    QTest::keyClicks(w.illuminanceEdit, QStringLiteral("250"));
    QCOMPARE(w.illuminanceEdit->text(), QStringLiteral("250"));
}

void TstLightingWindow::lampTypeSetsEfficacy()
{
    Fixture f;
    LightingWindow w(f.context, f.prompter);
    select(w.lampTypeList, kCfl);
    QCOMPARE(w.selectedLampEfficacy, 60);
    select(w.lampTypeList, QStringLiteral("ДНаТ (натриевые)"));
    QCOMPARE(w.selectedLampEfficacy, 100);
}

void TstLightingWindow::lampCountLimits()
{
    Fixture f;
    LightingWindow w(f.context, f.prompter);
    for (int k = 0; k < 12; ++k)
        w.lampCountUpDown->upButton()->click();
    QCOMPARE(w.lampCountEdit->text(), QStringLiteral("10"));
    for (int k = 0; k < 12; ++k)
        w.lampCountUpDown->downButton()->click();
    // At least one lamp: a luminaire without lamps gives no light.
    QCOMPARE(w.lampCountEdit->text(), QStringLiteral("1"));
    QTest::keyClick(w.lampCountEdit, Qt::Key_Up);
    QTest::keyClick(w.lampCountEdit, Qt::Key_Up);
    QCOMPARE(w.lampCountEdit->text(), QStringLiteral("3"));
}

void TstLightingWindow::calculatesWithDeliveredData()
{
    Fixture f;
    LightingWindow w(f.context, f.prompter);
    select(w.lampTypeList, kCfl);
    select(w.normList, kOffice);
    w.calculateButton->click();
    QVERIFY(f.prompter.messages.isEmpty());
    // The worked room with the delivered table: η = 31 %, 6,53 rounds to 7.
    QCOMPARE(w.countLabel->text(), QStringLiteral("Количество светильников: 7"));
    QCOMPARE(w.plan().grid.columns, 7);
    QCOMPARE(w.plan().grid.rows, 1);

    // Fewer lamps per luminaire need more luminaires.
    w.lampCountUpDown->downButton()->click();
    w.lampCountUpDown->downButton()->click();
    w.calculateButton->click();
    QCOMPARE(w.countLabel->text(), QStringLiteral("Количество светильников: 13"));
}

void TstLightingWindow::refusedFieldGetsFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("selected");
    QTest::newRow("plane at 0,9 H1") << "workingPlaneEdit" << "2,7"
                                     << "Высота рабочей плоскости не может быть больше высоты комнаты!"
                                     << "Ошибка" << true;
    QTest::newRow("length 50,1") << "lengthEdit" << "50,1" << "Слишком большая длина комнаты!" << "Ошибка" << true;
    QTest::newRow("empty width") << "widthEdit" << "" << "Укажите численное значение!" << "Ошибка ввода" << false;
    QTest::newRow("letters in Kz") << "safetyFactorEdit" << "abc" << "Вводимое значение должно быть числовым!"
                                   << "Ошибка ввода" << true;
    QTest::newRow("own E empty") << "illuminanceEdit" << "" << "Укажите численное значение!" << "Ошибка ввода" << false;
}

void TstLightingWindow::refusedFieldGetsFocus()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(bool, selected);
    Fixture f;
    LightingWindow w(f.context, f.prompter);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.illuminanceEdit->setText(QStringLiteral("300"));
    auto *edit = w.findChild<QLineEdit *>(field);
    QVERIFY(edit);
    edit->setText(text);
    w.calculateButton->setFocus();
    w.calculateButton->click();
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages[0].text, message);
    QCOMPARE(f.prompter.messages[0].title, title);
    QCOMPARE(f.prompter.messages[0].icon, Prompter::Icon::Exclamation);
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), selected ? text : QString());
    QCOMPARE(w.countLabel->text(), QStringLiteral("Количество светильников: "));
}

void TstLightingWindow::twelveInLongRoomPlan()
{
    Fixture f;
    LightingWindow w(f.context, f.prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fill(w, QStringLiteral("6"), QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("0,8"), QStringLiteral("1,5"),
         QStringLiteral("18"));
    w.illuminanceEdit->setText(QStringLiteral("744")); // ЛБ 75 lm/W × 18 W × 4, η 31 %: exactly 12
    w.calculateButton->click();
    QVERIFY(f.prompter.messages.isEmpty());
    QCOMPARE(w.countLabel->text(), QStringLiteral("Количество светильников: 12"));
    QCOMPARE(w.plan().grid.columns, 4);
    QCOMPARE(w.plan().grid.rows, 3);

    // The picture is twice as wide as high and centred in its frame, the count below it.
    const QPixmap pixmap = w.planPicture->pixmap();
    QVERIFY(qAbs(pixmap.width() - 2 * pixmap.height()) <= 1);
    const QRect pic = w.planPicture->geometry();
    QVERIFY(qAbs(pic.left() - (w.planFrame->width() - pic.width()) / 2) <= 1);
    QVERIFY(pic.top() < (w.planFrame->height() - pic.height()) / 2);
    QCOMPARE(w.countLabel->x(), pic.left());
    QVERIFY(w.countLabel->y() > pic.bottom());
    QVERIFY(w.countLabel->geometry().bottom() < w.planFrame->height());

    // Red circles at the plan's centres: 4 across, 3 down.
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

void TstLightingWindow::tooManyToDrawStillShown()
{
    Fixture f;
    LightingWindow w(f.context, f.prompter);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fill(w, QStringLiteral("50"), QStringLiteral("50"), QStringLiteral("15"), QStringLiteral("1"), QStringLiteral("10"),
         QStringLiteral("0,001"));
    select(w.lampTypeList, QStringLiteral("ЛН (накаливания)"));
    w.illuminanceEdit->setText(QStringLiteral("10000"));
    for (int k = 0; k < 3; ++k)
        w.lampCountUpDown->downButton()->click();
    w.calculateButton->click();
    QVERIFY(f.prompter.messages.isEmpty());
    QCOMPARE(w.countLabel->text(), QStringLiteral("Количество светильников: 53418803419"));
    QVERIFY(!w.plan().drawable);
    QVERIFY(w.plan().centres().isEmpty());
    // The picture stays square with the note instead of circles.
    const QPixmap pixmap = w.planPicture->pixmap();
    QCOMPARE(pixmap.width(), pixmap.height());
}

void TstLightingWindow::escapeStoresInputs()
{
    Fixture f;
    {
        LightingWindow w(f.context, f.prompter);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.lengthEdit->setText(QStringLiteral("7,2"));
        w.workingPlaneEdit->setText(QStringLiteral("не число"));
        select(w.normList, QStringLiteral("Машинописные бюро"));
        select(w.lampTypeList, kCfl);
        w.lampPowerEdit->setText(QStringLiteral("36"));
        w.lampCountUpDown->upButton()->click();
        w.lampCountUpDown->upButton()->click();
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
    LightingWindow w(f.context, f.prompter);
    w.safetyFactorEdit->setText(QStringLiteral("1,3"));
    w.closeButton->click();
    QCOMPARE(f.setting(QStringLiteral("Kz")), QStringLiteral("1,3"));
}

void TstLightingWindow::storedInputsReadBack()
{
    Fixture f;
    f.app.writeFile(QStringLiteral("kabinor.ini"),
                    cp1251(QStringLiteral("[Light]\r\nLenght=12\r\nWidth=8\r\nH1=4\r\nH2=1\r\nKz=1,2\r\n"
                                          "EnListIdx=3\r\nLTListIdx=2\r\nLampPower=36\r\nNLamp=2\r\n")));
    LightingWindow w(f.context, f.prompter);
    QCOMPARE(w.lengthEdit->text(), QStringLiteral("12"));
    QCOMPARE(w.widthEdit->text(), QStringLiteral("8"));
    QCOMPARE(w.safetyFactorEdit->text(), QStringLiteral("1,2"));
    // The stored selections run their rules: the norm fills and locks the field.
    QCOMPARE(w.normList->currentText(), QStringLiteral("Машинописные бюро"));
    QCOMPARE(w.illuminanceEdit->text(), QStringLiteral("400"));
    QVERIFY(w.illuminanceEdit->isReadOnly());
    QCOMPARE(w.selectedLampEfficacy, 60);
    QCOMPARE(w.lampPowerEdit->text(), QStringLiteral("36"));
    QCOMPARE(w.lampCountEdit->text(), QStringLiteral("2"));
    QCOMPARE(w.lampCountUpDown->value(), 2);
}

void TstLightingWindow::damagedSettingsAndLists()
{
    Fixture f;
    // Indices beyond the lists and a count out of range open on usable values.
    f.app.writeFile(QStringLiteral("kabinor.ini"),
                    cp1251(QStringLiteral("[Light]\r\nEnListIdx=500\r\nLTListIdx=x\r\nNLamp=40\r\n")));
    {
        LightingWindow w(f.context, f.prompter);
        QCOMPARE(w.normList->currentIndex(), 0);
        QCOMPARE(w.lampTypeList->currentIndex(), 0);
        QCOMPARE(w.selectedLampEfficacy, 12);
        QCOMPARE(w.lampCountEdit->text(), QStringLiteral("10"));
    }
    // Without the lamp-type list the window opens, says why, and refuses to calculate.
    QFile::remove(f.app.file(QStringLiteral("LampTypes.dat")));
    QFile::remove(f.app.file(QStringLiteral("UtilFactors.dat")));
    f.prompter.clear();
    LightingWindow w(f.context, f.prompter);
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.prompter.messages[0].text.startsWith(QStringLiteral("Файл ")));
    QVERIFY(f.prompter.messages[0].text.endsWith(QStringLiteral("LampTypes.dat не найден!")));
    QCOMPARE(w.lampTypeList->count(), 0);
    QCOMPARE(w.selectedLampEfficacy, 0);
    w.illuminanceEdit->setText(QStringLiteral("300"));
    w.calculateButton->click();
    QVERIFY(f.prompter.lastText().endsWith(QStringLiteral("UtilFactors.dat не найден!")));
    f.app.writeFile(QStringLiteral("UtilFactors.dat"), cp1251(QStringLiteral("\"5\",40\r\n")));
    w.calculateButton->click();
    QCOMPARE(f.prompter.lastText(), QStringLiteral("Не задана светоотдача лампы!"));
    QCOMPARE(f.prompter.messages.last().title, QStringLiteral("Ошибка"));
}

void TstLightingWindow::openedFromMainWindow()
{
    Fixture f;
    MainWindow::runStartupCheck(f.context, f.prompter);
    MainWindow main(f.context, f.prompter);
    QAction *a = main.action(QStringLiteral("actionLighting"));
    QVERIFY(a);
    QCOMPARE(a->text(), QStringLiteral("Расчет &освещенности..."));
    QCOMPARE(a->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));

    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto *dialog = qobject_cast<LightingWindow *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = dialog->isModal();
        dialog->widthEdit->setText(QStringLiteral("4,4"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    main.toolButton(QStringLiteral("Light"))->trigger();
    QVERIFY(seen);
    QCOMPARE(f.setting(QStringLiteral("Width")), QStringLiteral("4,4"));
}

QTEST_MAIN(TstLightingWindow)
#include "tst_lightingwindow.moc"
