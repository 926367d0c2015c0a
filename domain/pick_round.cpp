#include "domain/pick_round.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace velmo {

namespace {

constexpr std::string_view kHeader = "Velmo pick round 1";
constexpr size_t kKeyDigits = 16;
// A list holds 200 quotations; a longer round is not one of ours.
constexpr size_t kMaxKeys = 1000;

// FNV-1a, 64 bits: the same key on every platform and in every build, as a
// file kept from one version to the next needs.
class KeyHash {
  public:
    void Add(unsigned char byte) {
        hash_ ^= byte;
        hash_ *= 0x100000001b3ULL;
    }
    void Add(std::string_view bytes) {
        for (const char c : bytes)
            Add(static_cast<unsigned char>(c));
    }
    QuotationKey Value() const { return hash_; }

  private:
    QuotationKey hash_ = 0xcbf29ce484222325ULL;
};

}  // namespace

std::vector<QuotationKey> QuotationKeys(const std::vector<TextView>& quotations) {
    std::unordered_map<TextView, int> seen;
    std::vector<QuotationKey> keys;
    keys.reserve(quotations.size());
    for (const TextView text : quotations) {
        const int occurrence = seen[text]++;
        KeyHash hash;
        hash.Add(ToUtf8(text));
        // The text's end, then which of the equal texts this is.
        hash.Add(0xff);
        for (int shift = 0; shift < 32; shift += 8)
            hash.Add(static_cast<unsigned char>(occurrence >> shift));
        keys.push_back(hash.Value());
    }
    return keys;
}

std::optional<int> PickInRound(PickRound& round, const std::vector<QuotationKey>& keys,
                               const std::vector<int>& candidates, const UniformBelow& uniform) {
    if (candidates.empty())
        return std::nullopt;
    // Forget what the list no longer holds, and anything listed twice.
    const std::unordered_set<QuotationKey> listed(keys.begin(), keys.end());
    std::unordered_set<QuotationKey> used;
    std::erase_if(round.used, [&](QuotationKey key) {
        return listed.count(key) == 0 || !used.insert(key).second;
    });
    const std::optional<QuotationKey> latest =
        round.used.empty() ? std::nullopt : std::optional(round.used.back());

    const bool allUsed = used.size() == listed.size();
    if (allUsed) {
        round.used.clear();
        used.clear();
    }
    std::vector<int> pool;
    for (const int index : candidates) {
        if (used.count(keys[static_cast<size_t>(index)]) == 0)
            pool.push_back(index);
    }
    // A new round, or candidates all used while others are not: anything but
    // the latest pick, unless it is the only one there is.
    if (allUsed || pool.empty()) {
        pool.clear();
        for (const int index : candidates) {
            if (keys[static_cast<size_t>(index)] != latest)
                pool.push_back(index);
        }
        if (pool.empty())
            pool = candidates;
    }
    const int picked = pool[static_cast<size_t>(uniform(static_cast<int>(pool.size())))];
    const QuotationKey key = keys[static_cast<size_t>(picked)];
    std::erase(round.used, key);
    round.used.push_back(key);
    return picked;
}

std::string FormatPickRound(const PickRound& round) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(kHeader);
    out += '\n';
    for (const QuotationKey key : round.used) {
        for (int shift = 60; shift >= 0; shift -= 4)
            out += kDigits[(key >> shift) & 0xf];
        out += '\n';
    }
    return out;
}

std::optional<PickRound> ParsePickRound(std::string_view bytes) {
    const auto takeLine = [&bytes]() -> std::optional<std::string_view> {
        const size_t end = bytes.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        return line;
    };
    if (takeLine() != kHeader)
        return std::nullopt;
    PickRound round;
    while (!bytes.empty()) {
        const std::optional<std::string_view> line = takeLine();
        if (!line || line->size() != kKeyDigits || round.used.size() == kMaxKeys)
            return std::nullopt;
        QuotationKey key = 0;
        for (const char c : *line) {
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else
                return std::nullopt;
            key = key << 4 | static_cast<QuotationKey>(digit);
        }
        round.used.push_back(key);
    }
    return round;
}

}  // namespace velmo
