#include "settings/Chiffre.h"

#include <cmath>
#include <cstdlib>

namespace torvella::settings {

namespace {

static_assert(sizeof(long double) > sizeof(double) && __LDBL_MANT_DIG__ == 64,
              "the scrambler needs the 80-bit extended format for its shifts");

// pi rounded to the 64-bit mantissa of the extended format (the FPU's own pi)
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr float kFactor = 997.0f;

// Splits a text into code points; a lone surrogate stays one character of its own.
std::vector<char32_t> codePoints(const QString& text)
{
    std::vector<char32_t> out;
    out.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.push_back(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else {
            out.push_back(c.unicode());
        }
    }
    return out;
}

void append(QString& out, char32_t cp)
{
    if (QChar::requiresSurrogates(cp)) {
        out.append(QChar(QChar::highSurrogate(cp)));
        out.append(QChar(QChar::lowSurrogate(cp)));
    } else {
        out.append(QChar(char16_t(cp)));
    }
}

} // namespace

QString TChiffre::DefaultAlphabet()
{
    return QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
}

TChiffre::TChiffre()
{
    Init(QString(), 0);
}

void TChiffre::Init(const QString& alphabet, int32_t key)
{
    alphabet_ = alphabet.isEmpty() ? DefaultAlphabet() : alphabet;
    letters_ = codePoints(alphabet_);
    firstIndex_.clear();
    for (size_t i = 0; i < letters_.size(); ++i)
        firstIndex_.try_emplace(letters_[i], int64_t(i));

    int64_t k = std::llabs(int64_t(key)); // the most negative key has no 32-bit absolute value
    if (k == 0)
        k = DefaultKey;
    if (k > MaxKey)
        k = MaxKey;
    key_ = int32_t(k);
}

QString TChiffre::Encrypt(const QString& text) const
{
    return transform(text, key_);
}

QString TChiffre::Decrypt(const QString& text) const
{
    return transform(text, -int64_t(key_));
}

int32_t TChiffre::Key() const
{
    return key_;
}

QString TChiffre::Alphabet() const
{
    return alphabet_;
}

QString TChiffre::transform(const QString& text, int64_t k) const
{
    if (text.isEmpty())
        return text;
    const int64_t L = int64_t(letters_.size());
    // Each assignment to x rounds to double on purpose; the expressions on the right
    // are evaluated in extended precision.
    double x = double(std::fabs((long double)k / kPi));
    QString out;
    out.reserve(text.size());
    for (char32_t c : codePoints(text)) {
        x = x - std::trunc(x);
        int64_t shift = int64_t((long double)L * (long double)x); // truncates
        if (k < 0)
            shift = -shift;
        x = double((long double)x * (long double)kFactor + kPi);

        const auto found = firstIndex_.find(c);
        if (found != firstIndex_.end())
            c = letters_[size_t((found->second + L + shift) % L)];
        append(out, c);
    }
    return out;
}

} // namespace torvella::settings
