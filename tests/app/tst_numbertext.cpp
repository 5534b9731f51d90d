#include <QtTest>
#include "app/NumberText.h"
class TstNumberText : public QObject { Q_OBJECT
private slots:
    void basic() { QCOMPARE(NumberText::format(712), QStringLiteral("712")); }
};
QTEST_GUILESS_MAIN(TstNumberText)
#include "tst_numbertext.moc"
