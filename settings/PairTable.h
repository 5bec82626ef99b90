// The pair table of APAIR.csv: old number -> new number, both kept exactly as written.
// Its visiting order is behaviour, not an accident of the container: when several pairs
// match one entry, the first one visited wins. So the order is fixed here: 17 buckets
// visited from 0 to 16, each chain from its head, and a new key goes to the head of its
// chain. Keys compare byte for byte (case matters).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class PairTable {
public:
    static constexpr uint32_t kBucketCount = 17;

    // h = h * 33 + b over the key's bytes, b taken as a signed 8-bit value (0x80-0xFF count
    // as -128..-1), in unsigned 32-bit arithmetic with wrap-around.
    static uint32_t Hash(std::string_view key);
    static uint32_t BucketOf(std::string_view key) { return Hash(key) % kBucketCount; }

    struct Pair {
        std::string key;    // old number
        std::string value;  // new number
    };

    void Clear();
    size_t size() const { return index_.size(); }
    bool empty() const { return index_.empty(); }

    // Stores `value` under `key`. A new key goes to the head of its bucket's chain; a key
    // already present gets the new value and keeps its place.
    void Set(std::string_view key, std::string_view value);

    // The value stored under `key`, or null.
    const std::string* Find(std::string_view key) const;

    // Walks the pairs in visiting order.
    class const_iterator {
    public:
        const Pair& operator*() const { return table_->chains_[bucket_][position_ - 1]; }
        const Pair* operator->() const { return &**this; }
        const_iterator& operator++();
        bool operator==(const const_iterator& other) const {
            return bucket_ == other.bucket_ && position_ == other.position_;
        }
        bool operator!=(const const_iterator& other) const { return !(*this == other); }

    private:
        friend class PairTable;
        const_iterator(const PairTable* table, uint32_t bucket, size_t position)
            : table_(table), bucket_(bucket), position_(position) {}
        void SkipEmptyChains();

        const PairTable* table_;
        uint32_t bucket_;
        size_t position_;  // one past the pair in the chain's storage; 0 at a chain's end
    };
    const_iterator begin() const;
    const_iterator end() const { return const_iterator(this, kBucketCount, 0); }

private:
    struct Place {
        uint32_t bucket;
        size_t position;
    };

    // Each chain is stored oldest first, so its head is the back: adding at the head is an
    // append, and a walk reads memory in one direction instead of chasing links.
    std::vector<Pair> chains_[kBucketCount];
    std::unordered_map<std::string, Place> index_;  // key -> place, for loading large files
};
