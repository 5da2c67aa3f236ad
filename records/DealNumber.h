#pragma once
// Deal numbers. A tableau is named by the generator state it is dealt from, and since the
// generator never changes, a number names the same tableau forever, in the game and in
// torvella-cli alike.
#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

namespace torvella::records {

// A number as a player types or pastes it: decimal, 0 to 4294967295, with blanks, a leading
// '#' and digit-group separators (blank, '.', ',', apostrophe) allowed.
std::optional<uint32_t> ParseDealNumber(const QString& text);

// The tableau of the day: from the calendar date alone, so every player gets the same one.
uint32_t DailyDealNumber(const QDate& date);

} // namespace torvella::records
