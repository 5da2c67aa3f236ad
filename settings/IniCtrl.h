#pragma once
// The settings component `ini`: named text values in sections of one per-user store.
//
// The store is an INI file in QSettings' format. Every operation reads the file
// afresh and a write puts the whole file back before it returns, so nothing is
// cached between calls and a second program using the same file sees each change at
// once. A write merges its one change into what is on disk at that moment, holding
// the lock file QSettings itself uses ("V1.ini.lock"), and replaces the file in one
// step (temporary file and rename).
//
// Sections: "common" is the INI group [common]; "#ROOT" means the top level (no
// group); an empty or blank section means the section of the previous call on this
// object, "Common" when there was none. Section and value names compare without
// regard to case, as they would in a registry.
//
// Failures: reading a store that is missing, unreadable, a directory or not valid
// INI text gives the default. A value that is not plain text (a list, a typed
// "@Rect(...)" value and the like) fails the read. A write that cannot be carried out
// fails and leaves the file exactly as it was. Failures throw StoreError.
#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>

class QSettings;

namespace torvella::settings {

class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit StoreError(const QString& message);
    // what() as a QString (what() itself is UTF-8)
    QString Message() const;
};

class IniCtrl {
public:
    IniCtrl();                                  // store file = DefaultFilePath()
    explicit IniCtrl(const QString& filePath);

    // $XDG_CONFIG_HOME/Quorlix/Torvella/V1.ini; ~/.config/... when the variable is
    // unset, empty or not an absolute path. Looked up at the moment of the call.
    static QString DefaultFilePath();
    QString FilePath() const;

    // Integers are decimal text; text that is no decimal 32-bit integer (empty
    // included) reads as the default. A Boolean is an integer, non-zero = true.
    bool ReadBool(const QString& section, const QString& name, bool def);
    int32_t ReadInteger(const QString& section, const QString& name, int32_t def);
    QString ReadString(const QString& section, const QString& name, const QString& def);

    // Written as text: "1"/"0", the decimal number, the text unchanged.
    void WriteBool(const QString& section, const QString& name, bool value);
    void WriteInteger(const QString& section, const QString& name, int32_t value);
    void WriteString(const QString& section, const QString& name, const QString& value);

    // A missing section or value is no error.
    void DeleteValue(const QString& section, const QString& name);

private:
    QString resolveSection(const QString& section);
    std::optional<QString> readText(const QString& section, const QString& name);
    // value = nullopt removes the value
    void store(const QString& section, const QString& name, const std::optional<QString>& value);

    QString path_;
    QString lastSection_;
};

} // namespace torvella::settings
