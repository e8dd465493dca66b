#pragma once
// A hash table of a fixed number of chains, one List of Buckets each, with all
// entries also linked newest first. The bucket count is set by the owner and
// never grows by itself. The entries can be walked as a Sequence; adding or
// removing through that interface would bypass the keys and ends in
// internalError.

#include "core/ByteBuffer.h"
#include "core/Fatal.h"
#include "core/Iterator.h"
#include "core/List.h"
#include "core/Random.h"
#include "core/String.h"
#include "core/Vector.h"

#include <cstdint>
#include <type_traits>
#include <utility>

// Hash of a key: integers hash to themselves, Strings to the checksum of their
// bytes.
template <class K> struct KeyHash {
    static_assert(std::is_integral_v<K> || std::is_enum_v<K>, "no hash for this key type");
    static uint32_t of(K key) { return static_cast<uint32_t>(key); }
};
template <> struct KeyHash<String> {
    static uint32_t of(const String& key) { return checksum(key.c_str(), key.length()); }
};

template <class V, class K> class HashTable;

// One entry: a key and its value. The value type comes first, as in
// Bucket<bool,String>, a set of strings.
template <class V, class K> class Bucket {
public:
    Bucket() = default;
    Bucket(K entryKey, V entryValue) : key_(std::move(entryKey)), value_(std::move(entryValue)) {}
    // A copy is a loose entry, in no table.
    Bucket(const Bucket& other) : key_(other.key_), value_(other.value_) {}
    Bucket& operator=(const Bucket& other) {
        key_ = other.key_;
        value_ = other.value_;
        return *this;
    }

    const K& key() const { return key_; }
    V& value() { return value_; }
    const V& value() const { return value_; }

private:
    friend class HashTable<V, K>;
    K key_{};
    V value_{};
    uint32_t hash_ = 0; // compared before the keys: long chains stay cheap to search
    Bucket* newer_ = nullptr;
    Bucket* older_ = nullptr;
};

template <class V, class K> struct TypeName<Bucket<V, K>> {
    static const char* name() {
        return composeTypeName<Bucket<V, K>>(
            {"Bucket<", TypeName<V>::name(), ",", TypeName<K>::name(), ">"});
    }
};
template <class V, class K> struct TypeName<HashTable<V, K>> {
    static const char* name() {
        return composeTypeName<HashTable<V, K>>(
            {"HashTable<", TypeName<V>::name(), ",", TypeName<K>::name(), ">"});
    }
};

template <class V, class K> class HashTable : private SequenceCore, public Sequence<Bucket<V, K>> {
public:
    using Entry = Bucket<V, K>;
    using Chain = List<Entry>;

    HashTable() : Sequence<Entry>(engine()) {}
    HashTable(const HashTable& other) : SequenceCore(), Sequence<Entry>(engine()) {
        copyFrom(other);
    }
    HashTable(HashTable&& other) noexcept : SequenceCore(), Sequence<Entry>(engine()) {
        swapWith(other);
    }
    HashTable& operator=(const HashTable& other) {
        if (this != &other)
            copyFrom(other);
        return *this;
    }
    HashTable& operator=(HashTable&& other) noexcept {
        HashTable taken(std::move(other));
        swapWith(taken);
        return *this;
    }

    // Empties the table; n below 0 counts as 0, and with no buckets nothing
    // can be inserted.
    void setBucketCount(int n) {
        clear();
        buckets_.resize(0);
        buckets_.resize(n);
    }
    int bucketCount() const { return buckets_.count(); }

    // True when a new entry was added; false when an equal key was there (its
    // value is replaced) or when there are no buckets.
    bool insert(const K& key, const V& value) {
        const uint32_t hash = KeyHash<K>::of(key);
        Chain* chain = chainOf(hash);
        if (!chain)
            return false;
        if (Entry* entry = findIn(*chain, key, hash)) {
            entry->value_ = value;
            return false;
        }
        Entry& entry = chain->append(Entry(key, value));
        entry.hash_ = hash;
        entry.older_ = newest_;
        (newest_ ? newest_->newer_ : oldest_) = &entry;
        newest_ = &entry;
        ++count_;
        return true;
    }
    // The value stored under `key`, or null.
    V* find(const K& key) {
        const uint32_t hash = KeyHash<K>::of(key);
        Chain* chain = chainOf(hash);
        Entry* entry = chain ? findIn(*chain, key, hash) : nullptr;
        return entry ? &entry->value_ : nullptr;
    }
    bool contains(const K& key) { return find(key) != nullptr; }

    // Keeps the bucket count.
    void clear() override {
        for (Chain& chain : buckets_)
            chain.clear();
        newest_ = oldest_ = nullptr;
        count_ = 0;
    }

    int count() const override { return count_; }
    bool isEmpty() const { return count_ == 0; }

    // Newest first.
    class Position {
    public:
        explicit Position(Entry* entry) : entry_(entry) {}
        Entry& operator*() const { return *entry_; }
        Entry* operator->() const { return entry_; }
        Position& operator++() {
            entry_ = entry_->older_;
            return *this;
        }
        bool operator!=(const Position& other) const { return entry_ != other.entry_; }

    private:
        Entry* entry_;
    };
    Position begin() { return Position(newest_); }
    Position end() { return Position(nullptr); }

    Entry* forward(Iterator& it) { return reach(it, newest_); }
    Entry* next(Iterator& it) { return reach(it, static_cast<Entry*>(it.nextNode)); }
    Entry* backward(Iterator& it) { return reach(it, oldest_); }
    Entry* previous(Iterator& it) { return reach(it, static_cast<Entry*>(it.previousNode)); }
    Entry* first() { return newest_; }
    Entry* last() { return oldest_; }
    Entry* randomElement() {
        Entry* entry = newest_;
        for (int steps = randomIndex(count_); entry && steps > 0; --steps)
            entry = entry->older_;
        return entry;
    }

private:
    SequenceCore& engine() { return *this; }

    void* walkForward(Iterator& it) override { return forward(it); }
    void* walkNext(Iterator& it) override { return next(it); }
    void* walkBackward(Iterator& it) override { return backward(it); }
    void* walkPrevious(Iterator& it) override { return previous(it); }
    void* firstElement() override { return first(); }
    void* lastElement() override { return last(); }
    void* anyElement() override { return randomElement(); }

    // Entries come and go only by key.
    void* appendCopy(const void*) override { internalError(kCoreModule, 2481); }
    void* appendMoved(void*) override { internalError(kCoreModule, 2482); }
    void* appendDefault() override { internalError(kCoreModule, 2725); }
    void* prependCopy(const void*) override { internalError(kCoreModule, 2750); }
    void* prependMoved(void*) override { internalError(kCoreModule, 2768); }
    void appendAllOf(SequenceEngine&) override { internalError(kCoreModule, 2769); }
    void prependAllOf(SequenceEngine&) override { internalError(kCoreModule, 2770); }
    void takeFirst(void*) override { internalError(kCoreModule, 2771); }
    void takeLast(void*) override { internalError(kCoreModule, 2773); }
    void takeCurrent(Iterator&, void*) override { internalError(kCoreModule, 2774); }
    int removeFromFront(int) override { internalError(kCoreModule, 6306); }
    int removeFromBack(int) override { internalError(kCoreModule, 6307); }
    void rotate(int) override { internalError(kCoreModule, 6308); }
    void rotateBack(int) override { internalError(kCoreModule, 6309); }

    Chain* chainOf(uint32_t hash) {
        const int n = buckets_.count();
        return n > 0 ? &buckets_[static_cast<int>(hash % static_cast<uint32_t>(n))] : nullptr;
    }
    static Entry* findIn(Chain& chain, const K& key, uint32_t hash) {
        for (Entry& entry : chain)
            if (entry.hash_ == hash && entry.key_ == key)
                return &entry;
        return nullptr;
    }
    Entry* reach(Iterator& it, Entry* entry) {
        it.node = entry;
        it.nextNode = entry ? entry->older_ : nullptr;
        it.previousNode = entry ? entry->newer_ : nullptr;
        return entry;
    }

    // Oldest first, so that the copy lists its entries in the same order.
    void copyFrom(const HashTable& other) {
        setBucketCount(other.bucketCount());
        for (const Entry* entry = other.oldest_; entry; entry = entry->newer_)
            insert(entry->key_, entry->value_);
    }
    void swapWith(HashTable& other) noexcept {
        buckets_.swapWith(other.buckets_);
        std::swap(newest_, other.newest_);
        std::swap(oldest_, other.oldest_);
        std::swap(count_, other.count_);
    }

    Vector<Chain> buckets_;
    Entry* newest_ = nullptr;
    Entry* oldest_ = nullptr;
    int count_ = 0;
};
