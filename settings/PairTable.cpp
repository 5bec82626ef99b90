// Pair table with its fixed visiting order.
#include "settings/PairTable.h"

uint32_t PairTable::Hash(std::string_view key) {
    uint32_t h = 0;
    for (const char c : key) {
        const int32_t b = static_cast<signed char>(c);
        h = h * 33u + static_cast<uint32_t>(b);
    }
    return h;
}

void PairTable::Clear() {
    nodes_.clear();
    for (uint32_t& head : heads_) {
        head = kNone;
    }
}

void PairTable::Set(std::string_view key, std::string_view value) {
    const uint32_t bucket = BucketOf(key);
    for (uint32_t n = heads_[bucket]; n != kNone; n = nodes_[n].next) {
        if (nodes_[n].pair.key == key) {
            nodes_[n].pair.value.assign(value.data(), value.size());
            return;
        }
    }
    nodes_.push_back(Node{Pair{std::string(key), std::string(value)}, heads_[bucket]});
    heads_[bucket] = static_cast<uint32_t>(nodes_.size() - 1);
}

const std::string* PairTable::Find(std::string_view key) const {
    for (uint32_t n = heads_[BucketOf(key)]; n != kNone; n = nodes_[n].next) {
        if (nodes_[n].pair.key == key) {
            return &nodes_[n].pair.value;
        }
    }
    return nullptr;
}

PairTable::const_iterator PairTable::begin() const {
    const_iterator it(this, 0, heads_[0]);
    it.SkipEmptyBuckets();
    return it;
}

void PairTable::const_iterator::SkipEmptyBuckets() {
    while (node_ == kNone && bucket_ + 1 < kBucketCount) {
        ++bucket_;
        node_ = table_->heads_[bucket_];
    }
    if (node_ == kNone) {
        bucket_ = kBucketCount;
    }
}

PairTable::const_iterator& PairTable::const_iterator::operator++() {
    node_ = table_->nodes_[node_].next;
    SkipEmptyBuckets();
    return *this;
}
