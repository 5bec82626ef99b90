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
    for (std::vector<Pair>& chain : chains_) {
        chain.clear();
    }
    index_.clear();
}

void PairTable::Set(std::string_view key, std::string_view value) {
    const uint32_t bucket = BucketOf(key);
    std::vector<Pair>& chain = chains_[bucket];
    const auto [place, added] = index_.try_emplace(std::string(key), Place{bucket, chain.size()});
    if (!added) {
        chain[place->second.position].value.assign(value.data(), value.size());
        return;
    }
    chain.push_back(Pair{std::string(key), std::string(value)});
}

const std::string* PairTable::Find(std::string_view key) const {
    const auto place = index_.find(std::string(key));
    if (place == index_.end()) {
        return nullptr;
    }
    return &chains_[place->second.bucket][place->second.position].value;
}

PairTable::const_iterator PairTable::begin() const {
    const_iterator it(this, 0, chains_[0].size());
    it.SkipEmptyChains();
    return it;
}

void PairTable::const_iterator::SkipEmptyChains() {
    while (position_ == 0 && bucket_ < kBucketCount) {
        ++bucket_;
        position_ = bucket_ < kBucketCount ? table_->chains_[bucket_].size() : 0;
    }
}

PairTable::const_iterator& PairTable::const_iterator::operator++() {
    --position_;
    SkipEmptyChains();
    return *this;
}
