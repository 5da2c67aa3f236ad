#include "records/DealNumber.h"

namespace torvella::records {

std::optional<uint32_t> ParseDealNumber(const QString& text)
{
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1Char('#')))
        digits.remove(0, 1);
    for (const char16_t c : {u' ', u'.', u',', u'\'', u'\u2009', u'\u00A0'})
        digits.remove(QChar(c));
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    uint64_t value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + uint64_t(c.unicode() - '0');
    }
    if (value > 0xFFFFFFFFu)
        return std::nullopt;
    return uint32_t(value);
}

uint32_t DailyDealNumber(const QDate& date)
{
    // The date as 20261210, spread over all 32 bits (the finaliser of MurmurHash3), so
    // neighbouring days give unrelated tableaux.
    uint32_t h = uint32_t(date.year() * 10000 + date.month() * 100 + date.day());
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

} // namespace torvella::records
