#pragma once
// Every value the game keeps in its store, in one table: name, type and default. All
// reading and writing of the store's values goes through these keys.
//
// Names compare without regard to case in the store; they are written as spelt here.
#include "settings/IniCtrl.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace torvella::settings {

template <typename T>
struct Key {
    const char* name;
    T def; // what a read gives when the value is missing or cannot be read
    QString Name() const { return QString::fromLatin1(name); }
};
using IntegerKey = Key<int32_t>;
using BoolKey = Key<bool>;
using TextKey = Key<const char*>;

namespace keys {
// the one section all of them live in
inline constexpr const char* Section = "common";

//                                name             default
inline constexpr IntegerKey Tongue{"tongue", -1}; // 1 German, 0 English, -1 not chosen yet
inline constexpr BoolKey Sound{"sound", true};
inline constexpr BoolKey Music{"music", true};
inline constexpr IntegerKey BackMode{"backmode", 0}; // 0..6
// slice counts and colour signs printed on the cakes; older versions never read it
inline constexpr BoolKey CakeLabels{"cakelabels", false};
inline constexpr TextKey Player{"player", "Mr.Brain"}; // the name entered last in the list
// the list's fifteen entries: the name followed by the rank index, "hs0" to "hs14"
inline constexpr TextKey HighScore{"hs", ""};
inline constexpr TextKey Placement{"MainForm", ""}; // the main window's placement
// written by an older window component; removed whenever the placement is saved
inline constexpr TextKey PlacementColour{"MainFormColor", ""};
inline constexpr TextKey PlacementFont{"MainFormFont", ""};
} // namespace keys

int32_t Read(IniCtrl& ini, const IntegerKey& key);
bool Read(IniCtrl& ini, const BoolKey& key);
QString Read(IniCtrl& ini, const TextKey& key);
// A high-score entry: `prefix` (keys::HighScore's name unless the list was given another)
// followed by the rank index; keys::HighScore's default.
QString ReadEntry(IniCtrl& ini, const QString& prefix, int index);

// Changes of several values, stored by one write: all of them or none.
class Changes {
public:
    Changes& Set(const IntegerKey& key, int32_t value);
    Changes& Set(const BoolKey& key, bool value);
    Changes& Set(const TextKey& key, const QString& value);
    Changes& SetEntry(const QString& prefix, int index, const QString& value);
    Changes& Remove(const TextKey& key);
    // Throws StoreError when the write fails; nothing is stored then.
    void WriteTo(IniCtrl& ini) const;

private:
    std::vector<IniChange> changes_;
};

} // namespace torvella::settings
