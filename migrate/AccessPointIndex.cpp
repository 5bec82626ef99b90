// Hash index over an access-point table: tails of the dialled number -> records by rank.
#include "migrate/AccessPointIndex.h"

#include <algorithm>
#include <cstring>

#include "settings/PairTable.h"

namespace {

constexpr uint32_t kNoRank = UINT32_MAX;

// Keys are hashed from their last byte to their first, so that one backward walk over a
// dialled number yields the hash of each of its tails in turn (64-bit FNV-1a).
constexpr uint64_t kHashSeed = 14695981039346656037ull;

uint64_t Fold(uint64_t hash, char c) {
    return (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
}

uint64_t ReverseHash(const char* text, size_t length) {
    uint64_t hash = kHashSeed;
    for (size_t i = length; i-- > 0;) {
        hash = Fold(hash, text[i]);
    }
    return hash;
}

// The number's hash extended by a zero byte (which no area code holds) and the area code.
uint64_t WithAreaCode(uint64_t numberHash, const char* areaCode, size_t areaLength) {
    uint64_t hash = Fold(numberHash, '\0');
    for (size_t i = 0; i < areaLength; ++i) {
        hash = Fold(hash, areaCode[i]);
    }
    return hash;
}

size_t LengthOf(const char* text) {
    return text != nullptr ? strlen(text) : 0;
}

// Where a match may end: a byte that is neither digit nor hyphen arms the tail comparison.
bool IsSeparator(char c) {
    return (c < '0' || c > '9') && c != '-';
}

template <size_t N>
size_t FieldLength(const char (&field)[N]) {
    return strnlen(field, N - 1);
}

void ClearHit(AccessPointHit* hit) {
    hit->prefix[0] = '\0';
    hit->suffix[0] = '\0';
    hit->newNumber[0] = '\0';
}

// The filter's word and the two bits in it that a hash sets: one memory word per probe.
size_t FilterWord(uint64_t hash, size_t words) {
    return static_cast<size_t>(hash >> 32) & (words - 1);
}

uint64_t FilterBits(uint64_t hash) {
    return (uint64_t{1} << (hash & 63)) | (uint64_t{1} << ((hash >> 6) & 63));
}

size_t SlotOf(uint64_t hash, unsigned shift) {
    return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ull) >> shift);
}

}  // namespace

void AccessPointIndex::KeyMap::Clear() {
    std::vector<Slot>().swap(slots_);
    std::vector<uint32_t>().swap(ranks_);
    std::vector<uint64_t>().swap(filter_);
    shift_ = 64;
}

void AccessPointIndex::KeyMap::Build(const std::vector<std::pair<uint64_t, uint32_t>>& keyed) {
    Clear();
    // At most half full, so that a probe for an absent key stops soon.
    unsigned bits = 1;
    while ((size_t{1} << bits) < keyed.size() * 2) {
        ++bits;
    }
    shift_ = 64 - bits;
    slots_.assign(size_t{1} << bits, Slot{0, 0, 0});
    // About 16 filter bits a key keeps the filter small enough to stay in the cache, where
    // the slots of a large table do not: most dialled tails are in no table.
    filter_.assign(std::max<size_t>(1, slots_.size() / 8), 0);
    const size_t mask = slots_.size() - 1;
    std::vector<size_t> slotOf(keyed.size());
    for (size_t i = 0; i < keyed.size(); ++i) {
        const uint64_t hash = keyed[i].first;
        size_t slot = SlotOf(hash, shift_);
        while (slots_[slot].count != 0 && slots_[slot].hash != hash) {
            slot = (slot + 1) & mask;
        }
        if (slots_[slot].count++ == 0) {
            slots_[slot].hash = hash;
            slots_[slot].begin = keyed[i].second;
        }
        slotOf[i] = slot;
        filter_[FilterWord(hash, filter_.size())] |= FilterBits(hash);
    }
    // Groups of several ranks go to ranks_, each in the order given, that is by rank; a
    // single rank stays in its slot.
    std::vector<uint32_t> filled(slots_.size(), 0);
    for (Slot& slot : slots_) {
        if (slot.count > 1) {
            slot.begin = static_cast<uint32_t>(ranks_.size());
            ranks_.resize(ranks_.size() + slot.count);
        }
    }
    for (size_t i = 0; i < keyed.size(); ++i) {
        const size_t slot = slotOf[i];
        if (slots_[slot].count > 1) {
            ranks_[slots_[slot].begin + filled[slot]++] = keyed[i].second;
        }
    }
}

void AccessPointIndex::KeyMap::Lookup(uint64_t hash, const uint32_t** first,
                                      const uint32_t** last) const {
    *first = *last = nullptr;
    if (filter_.empty()) {
        return;
    }
    const uint64_t bits = FilterBits(hash);
    if ((filter_[FilterWord(hash, filter_.size())] & bits) != bits) {
        return;
    }
    const size_t mask = slots_.size() - 1;
    for (size_t slot = SlotOf(hash, shift_); slots_[slot].count != 0; slot = (slot + 1) & mask) {
        const Slot& entry = slots_[slot];
        if (entry.hash == hash) {
            *first = entry.count == 1 ? &entry.begin : ranks_.data() + entry.begin;
            *last = *first + entry.count;
            return;
        }
    }
}

void AccessPointIndex::Clear() {
    std::vector<Entry>().swap(entries_);
    std::string().swap(text_);
    byAreaAndNumber_.Clear();
    byNumber_.Clear();
    byJoined_.Clear();
    numberLengths_.reset();
    joinedLengths_.reset();
    maxNumberLength_ = 0;
    maxJoinedLength_ = 0;
    std::vector<uint32_t>().swap(unindexed_);
}

void AccessPointIndex::Build(const AccessPointTable& table) {
    Clear();
    entries_.reserve(table.size());
    for (const AccessPointRecord& record : table) {
        Add(record.areaCode, FieldLength(record.areaCode), record.localNumber,
            FieldLength(record.localNumber), nullptr, 0);
    }
    Finish();
}

void AccessPointIndex::Build(const PairTable& table) {
    Clear();
    entries_.reserve(table.size());
    for (const PairTable::Pair& pair : table) {
        AccessPointRecord record;
        // Never cut: a shortened number would stand for another access point.
        if (pair.value.size() >= sizeof(AccessPointHit::newNumber) ||
            !SplitTableNumber(pair.key.c_str(), &record)) {
            continue;
        }
        Add(record.areaCode, FieldLength(record.areaCode), record.localNumber,
            FieldLength(record.localNumber), pair.value.data(), pair.value.size());
    }
    Finish();
}

void AccessPointIndex::Add(const char* areaCode, size_t areaLength, const char* number,
                           size_t numberLength, const char* value, size_t valueLength) {
    Entry entry;
    entry.text = text_.size();
    entry.areaLength = static_cast<uint8_t>(areaLength);
    entry.numberLength = static_cast<uint8_t>(numberLength);
    text_.append(areaCode, areaLength);
    text_.append(number, numberLength);
    entry.value = text_.size();
    entry.valueLength = static_cast<uint16_t>(valueLength);
    text_.append(value != nullptr ? value : "", valueLength);
    entries_.push_back(entry);
}

AccessPointText AccessPointIndex::TextOf(const Entry& entry) const {
    return AccessPointText{text_.data() + entry.text, entry.areaLength, entry.numberLength};
}

bool AccessPointIndex::SameText(uint32_t rank, uint32_t other) const {
    const Entry& a = entries_[rank];
    const Entry& b = entries_[other];
    return a.areaLength == b.areaLength && a.numberLength == b.numberLength &&
           text_.compare(a.text, a.areaLength + a.numberLength, text_, b.text,
                         b.areaLength + b.numberLength) == 0;
}

void AccessPointIndex::Finish() {
    std::vector<std::pair<uint64_t, uint32_t>> all;
    all.reserve(entries_.size());
    for (uint32_t rank = 0; rank < entries_.size(); ++rank) {
        const AccessPointText text = TextOf(entries_[rank]);
        const uint64_t numberHash = ReverseHash(text.text + text.areaLength, text.numberLength);
        all.emplace_back(WithAreaCode(numberHash, text.text, text.areaLength), rank);
    }
    KeyMap allRecords;
    allRecords.Build(all);

    // A record equal to one of lower rank can never be the first to match, so only the first
    // of each area code and number is indexed. Equal records share their hash, and the first
    // of them leads its group.
    std::vector<std::pair<uint64_t, uint32_t>> byAreaAndNumber;
    std::vector<std::pair<uint64_t, uint32_t>> byNumber;
    std::vector<std::pair<uint64_t, uint32_t>> byJoined;
    byAreaAndNumber.reserve(all.size());
    byNumber.reserve(all.size());
    byJoined.reserve(all.size());
    for (const auto& [hash, rank] : all) {
        const uint32_t* first;
        const uint32_t* last;
        allRecords.Lookup(hash, &first, &last);
        bool repeated = false;
        for (; first != last && *first < rank && !repeated; ++first) {
            repeated = SameText(*first, rank);
        }
        if (repeated) {
            continue;
        }
        const AccessPointText text = TextOf(entries_[rank]);
        const size_t joinedLength = text.areaLength + text.numberLength;
        if (memchr(text.text, '-', joinedLength) != nullptr) {
            unindexed_.push_back(rank);
            continue;
        }
        byAreaAndNumber.emplace_back(hash, rank);
        byNumber.emplace_back(ReverseHash(text.text + text.areaLength, text.numberLength), rank);
        byJoined.emplace_back(ReverseHash(text.text, joinedLength), rank);
        numberLengths_.set(text.numberLength);
        joinedLengths_.set(joinedLength);
        maxNumberLength_ = std::max(maxNumberLength_, size_t{text.numberLength});
        maxJoinedLength_ = std::max(maxJoinedLength_, joinedLength);
    }
    byAreaAndNumber_.Build(byAreaAndNumber);
    byNumber_.Build(byNumber);
    byJoined_.Build(byJoined);
}

bool AccessPointIndex::TryRank(uint32_t rank, const char* areaCode, size_t areaLength,
                               const char* localNumber, size_t localLength, bool localOnlyIsOk,
                               AccessPointHit* hit) const {
    char prefix[kAffixSize];
    char suffix[kAffixSize];
    const Entry& entry = entries_[rank];
    if (!MatchAccessPointText(TextOf(entry), areaCode, areaLength, localNumber, localLength,
                              localOnlyIsOk, prefix, suffix)) {
        return false;
    }
    memcpy(hit->prefix, prefix, sizeof(prefix));
    memcpy(hit->suffix, suffix, sizeof(suffix));
    memcpy(hit->newNumber, text_.data() + entry.value, entry.valueLength);
    hit->newNumber[entry.valueLength] = '\0';
    return true;
}

bool AccessPointIndex::Find(const char* areaCode, const char* localNumber, bool localOnlyIsOk,
                            AccessPointHit* hit) const {
    ClearHit(hit);
    const size_t areaLength = LengthOf(areaCode);
    const size_t localLength = LengthOf(localNumber);
    if (entries_.empty() || localLength == 0) {
        return false;
    }
    // The rule's three cases: which key of a record the tails stand for.
    const bool withArea = areaLength > 0;
    const KeyMap& map = withArea ? byAreaAndNumber_ : localOnlyIsOk ? byNumber_ : byJoined_;
    const LengthSet& lengths = withArea || localOnlyIsOk ? numberLengths_ : joinedLengths_;
    const size_t maxLength = withArea || localOnlyIsOk ? maxNumberLength_ : maxJoinedLength_;

    uint32_t best = kNoRank;
    for (const uint32_t rank : unindexed_) {
        if (rank >= best) {
            break;
        }
        if (TryRank(rank, areaCode, areaLength, localNumber, localLength, localOnlyIsOk, hit)) {
            best = rank;
        }
    }
    for (size_t end = localLength; end-- > 0;) {
        if ((end + 1 < localLength && !IsSeparator(localNumber[end + 1])) ||
            localNumber[end] == '-') {
            continue;
        }
        uint64_t hash = kHashSeed;
        size_t length = 0;
        for (size_t i = end + 1; i-- > 0 && length < maxLength;) {
            if (localNumber[i] == '-') {
                continue;
            }
            hash = Fold(hash, localNumber[i]);
            if (!lengths[++length]) {
                continue;
            }
            const uint32_t* first;
            const uint32_t* last;
            map.Lookup(withArea ? WithAreaCode(hash, areaCode, areaLength) : hash, &first, &last);
            for (; first != last && *first < best; ++first) {
                if (TryRank(*first, areaCode, areaLength, localNumber, localLength, localOnlyIsOk,
                            hit)) {
                    best = *first;
                }
            }
        }
    }
    if (best == kNoRank) {
        ClearHit(hit);
        return false;
    }
    return true;
}
