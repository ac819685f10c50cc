// A long session must not grow the program: after 20,000 mixed searches, listings and
// window switches through the real window, resident memory is within 1 MiB of what it
// was after the first 1,000. The figures themselves are printed by the benchmark.
// ZARYAJ_SOAK_ACTIONS sets a shorter session for the everyday test run; it warms up
// for a tenth of it, so that the 1 MiB is still spread over nine tenths of the actions.

#include "soak.h"

#include <QtTest>

#include <algorithm>

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
    const int actions = qEnvironmentVariableIsSet("ZARYAJ_SOAK_ACTIONS")
                            ? qEnvironmentVariableIntValue("ZARYAJ_SOAK_ACTIONS")
                            : 20000;
    QVERIFY2(actions >= 10, "ZARYAJ_SOAK_ACTIONS is not a number of at least 10");
    const int warmUp = std::min(1000, actions / 10);
    constexpr long BoundKiB = 1024;
    const RunningForms forms;
    const Soak::Figures figures = Soak::Session().run(actions, warmUp);
    QVERIFY(figures.residentAfterWarmUpKiB > 0 && figures.residentAtEndKiB > 0);
    const long grownKiB = figures.residentAtEndKiB - figures.residentAfterWarmUpKiB;
    QVERIFY2(grownKiB <= BoundKiB,
             qPrintable(QStringLiteral("resident memory grew by %1 KiB (%2 KiB after %3 actions, "
                                       "%4 KiB after %5)")
                            .arg(grownKiB)
                            .arg(figures.residentAfterWarmUpKiB)
                            .arg(warmUp)
                            .arg(figures.residentAtEndKiB)
                            .arg(actions)));
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
