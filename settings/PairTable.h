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

    PairTable() { Clear(); }

    void Clear();
    size_t size() const { return nodes_.size(); }
    bool empty() const { return nodes_.empty(); }

    // Stores `value` under `key`. A new key goes to the head of its bucket's chain; a key
    // already present gets the new value and keeps its place.
    void Set(std::string_view key, std::string_view value);

    // The value stored under `key`, or null.
    const std::string* Find(std::string_view key) const;

    // Walks the pairs in visiting order.
    class const_iterator {
    public:
        const Pair& operator*() const { return table_->nodes_[node_].pair; }
        const Pair* operator->() const { return &table_->nodes_[node_].pair; }
        const_iterator& operator++();
        bool operator==(const const_iterator& other) const { return node_ == other.node_; }
        bool operator!=(const const_iterator& other) const { return node_ != other.node_; }

    private:
        friend class PairTable;
        const_iterator(const PairTable* table, uint32_t bucket, uint32_t node)
            : table_(table), bucket_(bucket), node_(node) {}
        void SkipEmptyBuckets();

        const PairTable* table_;
        uint32_t bucket_;
        uint32_t node_;
    };
    const_iterator begin() const;
    const_iterator end() const { return const_iterator(this, kBucketCount, kNone); }

private:
    static constexpr uint32_t kNone = UINT32_MAX;

    struct Node {
        Pair pair;
        uint32_t next;  // next node of the same chain, or kNone
    };

    std::vector<Node> nodes_;
    uint32_t heads_[kBucketCount];
};
