// A long session must not grow the program: after 20,000 mixed searches, listings and
// window switches through the real window, resident memory is within 1 MiB of what it
// was after the first 1,000. The figures themselves are printed by the benchmark.

#include "soak.h"

#include <QtTest>

class SoakTest : public QObject
{
    Q_OBJECT

private slots:
    void memoryStaysFlat();
};

void SoakTest::memoryStaysFlat()
{
#ifdef ZARYAJ_SANITIZED
    QSKIP("AddressSanitizer holds freed memory back in quarantine, so resident memory "
          "says nothing about our own use; the fuzzer runs the actions there");
#endif
    constexpr int Actions = 20000;
    constexpr int WarmUp = 1000;
    constexpr long BoundKiB = 1024;
    const RunningForms forms;
    const Soak::Figures figures = Soak::Session().run(Actions, WarmUp);
    QVERIFY(figures.residentAfterWarmUpKiB > 0 && figures.residentAtEndKiB > 0);
    const long grownKiB = figures.residentAtEndKiB - figures.residentAfterWarmUpKiB;
    QVERIFY2(grownKiB <= BoundKiB,
             qPrintable(QStringLiteral("resident memory grew by %1 KiB (%2 KiB after %3 actions, "
                                       "%4 KiB after %5)")
                            .arg(grownKiB)
                            .arg(figures.residentAfterWarmUpKiB)
                            .arg(WarmUp)
                            .arg(figures.residentAtEndKiB)
                            .arg(Actions)));
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
