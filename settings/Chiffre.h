#pragma once
// Keyed substitution that keeps stored high-score entries from casual reading.
//
// Every character of a text that belongs to the alphabet moves along the alphabet by
// a shift that depends only on the key and the character's position; all other
// characters stay. Decrypt(Encrypt(s)) == s and the length never changes.
// A character is a Unicode code point (a surrogate pair counts as one).
//
// The shifts come from a running value carried in floating point with fixed
// precision at each step (80-bit extended for products and sums, a double for the
// stored value); entries already stored elsewhere stay readable only with exactly
// that arithmetic, so it must not be "simplified".
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace torvella::settings {

class TChiffre {
public:
    static constexpr int32_t DefaultKey = 27409;
    static constexpr int32_t MaxKey = 2147482863; // 0x7FFFFCEF
    static QString DefaultAlphabet();             // A-Z, a-z, 0-9

    // Ready for use with the default alphabet and key, as after Init("", 0).
    TChiffre();

    // Empty alphabet = the default one; key = |key|, 0 = DefaultKey, capped at MaxKey.
    void Init(const QString& alphabet, int32_t key);
    QString Encrypt(const QString& text) const;
    QString Decrypt(const QString& text) const;

    int32_t Key() const;
    QString Alphabet() const;

private:
    QString transform(const QString& text, int64_t k) const;

    QString alphabet_;
    std::vector<char32_t> letters_;
    std::unordered_map<char32_t, int64_t> firstIndex_; // 0-based first position
    int32_t key_ = DefaultKey;
};

} // namespace torvella::settings
