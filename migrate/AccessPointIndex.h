// An index over one access-point table, built once after reading, so that a search costs
// about the same for ten records as for a national network of a hundred thousand.
//
// Every record has a rank: file order for the general and PHS tables, the visiting order
// for the pair table. A search looks up, by hash, the tails of the dialled number that can
// end a match (at its last byte or before a byte that is neither digit nor hyphen, hyphens
// skipped), and tries the records found under them with the record rule, lowest rank
// first. The hit is therefore the very record, prefix and suffix that a walk over the whole
// table in rank order would give.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "migrate/NumberMatching.h"
#include "settings/AccessPointTables.h"

class PairTable;

class AccessPointIndex {
public:
    // Each replaces what the index held. The index keeps its own copy of the texts, so the
    // table may change or go afterwards; a search then still answers for the table as built.
    void Build(const AccessPointTable& table);
    // Pairs whose old number does not split into a record, or whose new number would not
    // fit AccessPointHit::newNumber, are left out: they never match.
    void Build(const PairTable& table);
    void Clear();

    // Records held (pairs left out not counted; repeated records counted).
    size_t size() const { return entries_.size(); }

    // The first record by rank that matches the entry's area code (empty or null when it has
    // none) and local number under MatchAccessPointText; `hit` gets its prefix and suffix, and
    // for a pair table its new number. False, with `hit` all empty, when none matches.
    bool Find(const char* areaCode, const char* localNumber, bool localOnlyIsOk,
              AccessPointHit* hit) const;

private:
    // A record: area code and number side by side in text_, and for a pair its new number.
    struct Entry {
        size_t text;
        size_t value;
        uint16_t valueLength;
        uint8_t areaLength;
        uint8_t numberLength;
    };

    // Hash of a key -> the ranks of the records with that key hash, ascending. A hash that
    // two keys share only adds a candidate that the record rule then refuses.
    class KeyMap {
    public:
        // `keyed`: (key hash, rank) in ascending rank.
        void Build(const std::vector<std::pair<uint64_t, uint32_t>>& keyed);
        void Clear();
        // Ranks under `hash`: [*first, *last).
        void Lookup(uint64_t hash, const uint32_t** first, const uint32_t** last) const;

    private:
        struct Slot {
            uint64_t hash;
            uint32_t begin;  // the rank itself when count is 1, else its place in ranks_
            uint32_t count;  // 0: empty slot
        };
        std::vector<Slot> slots_;
        std::vector<uint32_t> ranks_;
        std::vector<uint64_t> filter_;  // two bits a key hash, in one word
        unsigned shift_ = 64;
    };

    static constexpr size_t kMaxKeyLength = (kAreaCodeSize - 1) + (kLocalNumberSize - 1);
    using LengthSet = std::bitset<kMaxKeyLength + 1>;

    void Add(const char* areaCode, size_t areaLength, const char* number, size_t numberLength,
             const char* value, size_t valueLength);
    void Finish();
    AccessPointText TextOf(const Entry& entry) const;
    bool SameText(uint32_t rank, uint32_t other) const;
    bool TryRank(uint32_t rank, const char* areaCode, size_t areaLength, const char* localNumber,
                 size_t localLength, bool localOnlyIsOk, AccessPointHit* hit) const;

    std::vector<Entry> entries_;  // in rank order
    std::string text_;
    KeyMap byAreaAndNumber_;  // an entry with an area code: that code and the record's number
    KeyMap byNumber_;         // no area code, LocalOnlyIsOk on: the record's number alone
    KeyMap byJoined_;         // no area code, LocalOnlyIsOk off: area code and number joined
    LengthSet numberLengths_;
    LengthSet joinedLengths_;
    size_t maxNumberLength_ = 0;
    size_t maxJoinedLength_ = 0;
    // Records with a hyphen in their texts. A dialled hyphen is skipped inside a match, so no
    // tail stands for them; none is read from a file, and they are tried in every search.
    std::vector<uint32_t> unindexed_;
};
