#include "vrelErrors.h"
#include "vrelHash.h"

#include <QThread>
#include <QtTest>
#include <atomic>
#include <memory>
#include <vector>

class TestHash : public QObject {
    Q_OBJECT
private slots:
    void nearPrime_data()
    {
        QTest::addColumn<quint32>("requested");
        QTest::addColumn<quint32>("buckets");
        const struct {
            quint32 from, to, buckets;
        } rows[] = {{0, 1, 7},     {2, 2, 2},     {3, 3, 3},         {4, 5, 5},
                    {6, 10, 7},    {11, 11, 11},  {12, 16, 13},      {100, 100, 97},
                    {256, 256, 251}, {1000, 1000, 997}, {10000, 10000, 10009},
                    {20000, 20000, 19997}, {4294967291u, 4294967291u, 4294967291u},
                    {4294967295u, 4294967295u, 7}};
        for (const auto &r : rows)
            for (quint32 n = r.from;; ++n) {
                QTest::addRow("%u", n) << n << r.buckets;
                if (n == r.to)
                    break;
            }
    }
    void nearPrime()
    {
        QFETCH(quint32, requested);
        QFETCH(quint32, buckets);
        QCOMPARE(NearPrime(requested), buckets);
    }

    void isPrimeAgreesWithTrialDivision()
    {
        for (quint32 n = 0; n < 3000; ++n) {
            bool prime = n >= 2;
            for (quint32 d = 2; d * d <= n && prime; ++d)
                prime = n % d != 0;
            QVERIFY2(IsPrime(n) == prime, qPrintable(QString::number(n)));
        }
        QVERIFY(!IsPrime(4294967295u));
        QVERIFY(!IsPrime(65537u * 65521u)); // product of the two primes nearest 2^16
    }

    void sizeOfTable_data()
    {
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("size");
        QTest::newRow("menu manager") << 20000 << 19997;
        QTest::newRow("module table") << 10000 << 10009;
        QTest::newRow("zero") << 0 << 7;
        QTest::newRow("eight") << 8 << 7;
    }
    void sizeOfTable()
    {
        QFETCH(int, requested);
        QFETCH(int, size);
        QCOMPARE(TVrelHashList(requested).Size(), size);
    }

    void negativeSizeIsARangeError()
    {
        QVERIFY_THROWS_EXCEPTION(ERangeError, TVrelHashList(-1));
    }

    void hashOfFollowsTheCodeUnits()
    {
        TVrelHashList list(20000);
        // h = ((('1' * 43) ^ '0') * 43 ^ '0') * 43 ^ '0' over UTF-16 code units.
        quint32 h = 0;
        for (char16_t c : u"1000")
            if (c)
                h = h * 43u ^ c;
        QCOMPARE(list.HashOf(u"1000"), int(h % 19997u));
        // A character outside the basic plane counts as its two code units.
        const QString wide = QString::fromUcs4(U"\U0001F600");
        QCOMPARE(list.HashOf(wide), int(((0xD83Du * 43u) ^ 0xDE00u) % 19997u));
    }

    void firstAddKeepsTheKey()
    {
        TVrelHashList list(100);
        int first = 1, second = 2;
        QVERIFY(list.Add("1000", "A", &first));
        QVERIFY(!list.Add("1000", "B", &second));
        PHashData p = list.Search(u"1000");
        QVERIFY(p);
        QCOMPARE(p->Value, "A");
        QCOMPARE(p->Data, &first);
        QCOMPARE(list.Count(), 1);
    }

    void keysAreCaseSensitive()
    {
        TVrelHashList list(100);
        QVERIFY(list.Add("abc", {}, nullptr));
        QVERIFY(list.Add("ABC", {}, nullptr));
        QCOMPARE(list.Count(), 2);
        QVERIFY(!list.Search(u"Abc"));
    }

    void keysOfTheSameHashStayApart()
    {
        // "AD8" and "AFR" hash alike to the last bit, not only to one bucket.
        TVrelHashList list(100);
        QCOMPARE(list.HashOf(u"AD8"), list.HashOf(u"AFR"));
        int first = 1, second = 2;
        QVERIFY(list.Add("AD8", {}, &first));
        QVERIFY(list.Add("AFR", {}, &second));
        QCOMPARE(list.Search(u"AFR")->Data, &second);
        QVERIFY(list.Delete(u"AD8"));
        QVERIFY(!list.Search(u"AD8"));
        QCOMPARE(list.Search(u"AFR")->Data, &second);
    }

    void missingKey()
    {
        TVrelHashList list(100);
        list.Add("x", {}, nullptr);
        QVERIFY(!list.Search(u"y"));
        QVERIFY(!list.Delete(u"y"));
        QCOMPARE(list.Count(), 1);
    }

    void countPerBucket()
    {
        // With two buckets, one-character keys go to the bucket of their parity.
        TVrelHashList list(2);
        QCOMPARE(list.Size(), 2);
        for (const char *k : {"b", "d", "f", "h", "a"})
            list.Add(k, {}, nullptr);
        QCOMPARE(list.Count(0), 4);
        QCOMPARE(list.Count(1), 1);
        list.Delete(u"d");
        QCOMPARE(list.Count(0), 3);
    }

    void countAddsUpAddsAndDeletes()
    {
        TVrelHashList list(13);
        for (int i = 0; i < 100; ++i)
            QVERIFY(list.Add(QString::number(i), {}, nullptr));
        for (int i = 0; i < 100; i += 3)
            QVERIFY(list.Delete(QString::number(i)));
        QCOMPARE(list.Count(-1), 100 - 34);
        qsizetype sum = 0;
        for (int b = 0; b < list.Size(); ++b)
            sum += list.Count(b);
        QCOMPARE(sum, 100 - 34);
        QVERIFY_THROWS_EXCEPTION(ERangeError, list.Count(list.Size()));
        list.Clear();
        QCOMPARE(list.Count(-7), 0);
        QCOMPARE(list.Size(), 13);
        QVERIFY(list.Add("0", {}, nullptr));
    }

    void emptyKeyIsARangeErrorAndReleasesTheLock_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("Add") << 0;
        QTest::newRow("Search") << 1;
        QTest::newRow("Delete") << 2;
        QTest::newRow("Count past the end") << 3;
    }
    void emptyKeyIsARangeErrorAndReleasesTheLock()
    {
        QFETCH(int, operation);
        TVrelHashList list(100);
        list.Add("k", {}, nullptr);
        switch (operation) {
        case 0: QVERIFY_THROWS_EXCEPTION(ERangeError, list.Add(QString(), {}, nullptr)); break;
        case 1: QVERIFY_THROWS_EXCEPTION(ERangeError, list.Search(u"")); break;
        case 2: QVERIFY_THROWS_EXCEPTION(ERangeError, list.Delete(u"")); break;
        case 3: QVERIFY_THROWS_EXCEPTION(ERangeError, list.Count(100)); break;
        }
        QCOMPARE(list.Count(), 1);
        // Another thread can still take the lock.
        std::atomic<bool> added{false};
        std::unique_ptr<QThread> other(QThread::create([&] { added = list.Add("m", {}, nullptr); }));
        other->start();
        QVERIFY(other->wait(5000));
        QVERIFY(added);
    }

    void dataIsNeverFreed()
    {
        // A guard that would report its own destruction.
        struct Probe {
            bool *Freed;
            ~Probe() { *Freed = true; }
        };
        bool freed = false;
        Probe probe{&freed};
        {
            TVrelHashList list(7);
            list.Add("a", {}, &probe);
            list.Add("b", {}, &probe);
            list.Delete(u"a");
            list.Clear();
            list.Add("c", {}, &probe);
        }
        QVERIFY(!freed);
    }

    void lockIsReentrantAndHeldAcrossOperations()
    {
        TVrelHashList list(100);
        list.Lock();
        QVERIFY(list.Add("k", "v", nullptr)); // same thread takes the lock again
        PHashData p = list.Search(u"k");
        std::unique_ptr<QThread> other(QThread::create([&] { list.Delete(u"k"); }));
        other->start();
        QVERIFY(!other->wait(100)); // waits for our lock
        QCOMPARE(p->Value, "v");   // the record is still ours to use
        list.UnLock();
        QVERIFY(other->wait(5000));
        QVERIFY(!list.Search(u"k"));
    }

    void threadsAddSearchAndDeleteAtOnce()
    {
        TVrelHashList list(997);
        constexpr int kThreads = 4;
        constexpr int kKeys = 2000;
        std::atomic<int> sharedWins{0};
        std::atomic<int> faults{0};
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back(QThread::create([&, t] {
                for (int i = 0; i < kKeys; ++i) {
                    const QString own = QStringLiteral("t%1-%2").arg(t).arg(i);
                    if (!list.Add(own, own, nullptr))
                        ++faults;
                    // Every thread races for the same shared keys.
                    if (list.Add(QStringLiteral("shared-%1").arg(i), QString::number(t), nullptr))
                        ++sharedWins;
                    list.Lock();
                    PHashData p = list.Search(own);
                    if (!p || p->Value != own)
                        ++faults;
                    list.UnLock();
                    if (i % 2 == 0 && !list.Delete(own))
                        ++faults;
                }
            }));
            threads.back()->start();
        }
        for (auto &thread : threads)
            QVERIFY(thread->wait(60000));
        QCOMPARE(faults.load(), 0);
        QCOMPARE(sharedWins.load(), kKeys);
        QCOMPARE(list.Count(), kThreads * kKeys / 2 + kKeys);
    }

    void maskRoutines()
    {
        quint16 m = 0;
        SetBit(m, 3);
        QCOMPARE(m, quint16(8));
        m = 65535;
        ClearBit(m, 0);
        QCOMPARE(m, quint16(65534));
        QVERIFY(TestBit(65535, 15));
        QVERIFY(!TestBit(65534, 0));
        QVERIFY(!TestBit(65535, 16));
        m = 5;
        QVERIFY_THROWS_EXCEPTION(ERangeError, SetBit(m, 16));
        QVERIFY_THROWS_EXCEPTION(ERangeError, SetBit(m, -1));
        QCOMPARE(m, quint16(5));
        ClearBit(m, 16);
        QCOMPARE(m, quint16(5));
    }
};

QTEST_GUILESS_MAIN(TestHash)
#include "tst_hash.moc"
