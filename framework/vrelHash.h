// The framework's string-keyed lookup table: a fixed, prime number of buckets,
// each an unsorted list kept in insertion order. Every operation takes the
// table's own re-entrant lock, so one table can be shared between threads.
// The same unit holds the small routines on 16-bit permission masks.
#pragma once

#include <QRecursiveMutex>
#include <QString>
#include <memory>
#include <vector>

// One entry of a table: the key, a second text stored with it, and the object
// the key stands for. The table never owns what Data refers to.
struct THashData {
    QString Key;
    QString Value;
    void *Data = nullptr;
};
using PHashData = THashData *;

// One bucket: its records in insertion order, searched from the front. Each
// record sits beside the full hash of its key (KeyHash), which a search
// compares first: most records of a bucket are passed over without reading
// them.
class THashSubList {
public:
    THashSubList() = default;
    THashSubList(const THashSubList &) = delete;
    THashSubList &operator=(const THashSubList &) = delete;

    // False when the key is already present or the record could not be made.
    bool Add(const QString &AKey, const QString &AValue, void *AData);
    PHashData Search(QStringView AKey) const;
    // Removes and frees `p` (never what its Data refers to); false when `p`
    // is not in this bucket.
    bool Delete(PHashData p);
    void Clear() { FList.clear(); }
    qsizetype Count() const { return qsizetype(FList.size()); }

private:
    friend class TVrelHashList;
    // Add and Search for a key whose KeyHash is `hash`.
    bool add(quint32 hash, const QString &AKey, const QString &AValue, void *AData);
    PHashData search(quint32 hash, QStringView AKey) const;

    struct TRecord {
        quint32 Hash;
        std::unique_ptr<THashData> Data;
    };
    std::vector<TRecord> FList;
};

// The hash of a key over its UTF-16 code units; a table's bucket for the key
// is this modulo the table's size.
quint32 KeyHash(QStringView AKey);

class TVrelHashList {
public:
    // Makes NearPrime(HashSize) empty buckets; a negative size raises a range error.
    explicit TVrelHashList(int HashSize);
    ~TVrelHashList();
    TVrelHashList(const TVrelHashList &) = delete;
    TVrelHashList &operator=(const TVrelHashList &) = delete;

    // True when a new entry was made; false when the key is already present
    // (the existing entry is left as it was) or the record could not be made.
    bool Add(const QString &AKey, const QString &AValue, void *AData);
    // The entry with exactly this key (case-sensitive), or null. The record
    // stays valid until the entry is deleted or the table cleared; a caller
    // sharing the table with other threads holds Lock across its use.
    PHashData Search(QStringView AKey) const;
    // Removes the entry with this key; false when there is none.
    bool Delete(QStringView AKey);
    // Removes every entry; Size and the buckets stay.
    void Clear();
    // Entries in bucket Index, or in the whole table for a negative Index; an
    // Index of Size or more raises a range error.
    qsizetype Count(qsizetype Index = -1) const;

    void Lock() const { FSection.lock(); }
    void UnLock() const { FSection.unlock(); }

    int Size() const { return FSize; }

    // The bucket a key lives in; an empty key raises a range error.
    int HashOf(QStringView AKey) const;

private:
    mutable QRecursiveMutex FSection;
    int FSize;
    std::unique_ptr<THashSubList[]> FTable;
};

// Holds a table's lock for a scope: for a Search and the use of its record.
class TVrelHashLock {
public:
    explicit TVrelHashLock(const TVrelHashList &list) : FList(list) { FList.Lock(); }
    ~TVrelHashLock() { FList.UnLock(); }
    TVrelHashLock(const TVrelHashLock &) = delete;
    TVrelHashLock &operator=(const TVrelHashLock &) = delete;

private:
    const TVrelHashList &FList;
};

bool IsPrime(quint32 N);
// The number of buckets for a requested size: the prime nearest above or,
// for some sizes, below it (0 and 1 give 7, 100 gives 97, 20000 gives 19997).
quint32 NearPrime(quint32 N);

// Bit ABit (0..15) of a 16-bit mask; bit i stands for user group i+1.
// SetBit raises a range error for a bit outside 0..15 and leaves the mask as
// it was; ClearBit leaves the mask as it was and TestBit answers false for such a bit.
void SetBit(quint16 &AMask, int ABit);
void ClearBit(quint16 &AMask, int ABit);
bool TestBit(quint16 AMask, int ABit);
