#include "vrelHash.h"

#include "vrelErrors.h"

#include <QMutexLocker>
#include <cmath>

// ---------------------------------------------------------------------------
// THashSubList

quint32 KeyHash(QStringView AKey)
{
    quint32 h = 0;
    for (QChar c : AKey)
        h = (h * 43u) ^ c.unicode();
    return h;
}

bool THashSubList::Add(const QString &AKey, const QString &AValue, void *AData)
{
    return add(KeyHash(AKey), AKey, AValue, AData);
}

PHashData THashSubList::Search(QStringView AKey) const
{
    return search(KeyHash(AKey), AKey);
}

bool THashSubList::add(quint32 hash, const QString &AKey, const QString &AValue, void *AData)
{
    if (search(hash, AKey))
        return false;
    try {
        FList.push_back({hash, std::make_unique<THashData>(THashData{AKey, AValue, AData})});
    } catch (...) {
        return false;
    }
    return true;
}

PHashData THashSubList::search(quint32 hash, QStringView AKey) const
{
    for (const TRecord &record : FList)
        if (record.Hash == hash && record.Data->Key == AKey)
            return record.Data.get();
    return nullptr;
}

bool THashSubList::Delete(PHashData p)
{
    for (auto it = FList.begin(); it != FList.end(); ++it) {
        if (it->Data.get() == p) {
            p->Data = nullptr;
            FList.erase(it);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// TVrelHashList

namespace {
int checkedSize(int HashSize)
{
    if (HashSize < 0)
        throw ERangeError();
    return int(NearPrime(quint32(HashSize)));
}
} // namespace

TVrelHashList::TVrelHashList(int HashSize)
    : FSize(checkedSize(HashSize)), FTable(std::make_unique<THashSubList[]>(size_t(FSize)))
{
}

TVrelHashList::~TVrelHashList() = default;

namespace {
// The full hash of a key a table may hold; an empty key raises a range error.
quint32 checkedKeyHash(QStringView AKey)
{
    if (AKey.isEmpty())
        throw ERangeError();
    return KeyHash(AKey);
}
} // namespace

int TVrelHashList::HashOf(QStringView AKey) const
{
    return int(checkedKeyHash(AKey) % quint32(FSize));
}

bool TVrelHashList::Add(const QString &AKey, const QString &AValue, void *AData)
{
    QMutexLocker locker(&FSection);
    const quint32 hash = checkedKeyHash(AKey);
    return FTable[hash % quint32(FSize)].add(hash, AKey, AValue, AData);
}

PHashData TVrelHashList::Search(QStringView AKey) const
{
    QMutexLocker locker(&FSection);
    const quint32 hash = checkedKeyHash(AKey);
    return FTable[hash % quint32(FSize)].search(hash, AKey);
}

bool TVrelHashList::Delete(QStringView AKey)
{
    QMutexLocker locker(&FSection);
    const quint32 hash = checkedKeyHash(AKey);
    THashSubList &bucket = FTable[hash % quint32(FSize)];
    PHashData p = bucket.search(hash, AKey);
    return p && bucket.Delete(p);
}

void TVrelHashList::Clear()
{
    QMutexLocker locker(&FSection);
    for (int i = 0; i < FSize; ++i)
        FTable[size_t(i)].Clear();
}

qsizetype TVrelHashList::Count(qsizetype Index) const
{
    QMutexLocker locker(&FSection);
    if (Index >= FSize)
        throw ERangeError();
    if (Index >= 0)
        return FTable[size_t(Index)].Count();
    qsizetype total = 0;
    for (int i = 0; i < FSize; ++i)
        total += FTable[size_t(i)].Count();
    return total;
}

// ---------------------------------------------------------------------------
// Routines

bool IsPrime(quint32 N)
{
    if (N < 4)
        return N == 2 || N == 3;
    if (N % 6 != 1 && N % 6 != 5)
        return false;
    const quint64 limit = quint64(std::llround(std::sqrt(double(N))));
    for (quint64 i = 5; i <= limit; i += 6)
        if (N % i == 0 || N % (i + 2) == 0)
            return false;
    return true;
}

quint32 NearPrime(quint32 N)
{
    if (IsPrime(N))
        return N;
    if (N == 4)
        return 5;
    // Unsigned arithmetic that wraps: 0 and 1 start at 4294967295 and go on from 5.
    quint32 b = (N + 1) / 6 * 6 - 1;
    for (;;) {
        if (IsPrime(b + 2))
            return b + 2;
        if (IsPrime(b))
            return b;
        b += 6;
    }
}

void SetBit(quint16 &AMask, int ABit)
{
    if (ABit < 0 || ABit > 15)
        throw ERangeError();
    AMask = quint16(AMask | (1u << ABit));
}

void ClearBit(quint16 &AMask, int ABit)
{
    if (ABit < 0 || ABit > 15)
        return;
    AMask = quint16(AMask & ~(1u << ABit));
}

bool TestBit(quint16 AMask, int ABit)
{
    return ABit >= 0 && ABit <= 15 && (AMask >> ABit) & 1u;
}
