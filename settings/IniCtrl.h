#pragma once
// The settings component `ini`: named text values in sections of one per-user store.
//
// The store is an INI file (see IniFile.h for what is read and how it is written).
// Every operation reads the file afresh and a write puts the whole file back before
// it returns, so nothing is cached between calls and a second program using the same
// file sees each change at once. A write merges its changes into what is on disk at
// that moment, holding the lock file "V1.ini.lock", and replaces the file in one
// checked step (SafeSave.h).
//
// Sections: "common" is the INI group [common]; "#ROOT" means the top level (no
// group); an empty or blank section means the section of the previous call on this
// object, "Common" when there was none. Section and value names compare without
// regard to case, as they would in a registry.
//
// Reading never fails: a store that is missing, cannot be opened or is a directory
// gives the defaults, and so does a value that is no text (a typed "@Rect(...)" value
// and the like). Whatever else the file holds, the values that can be read are read.
// The first time this object meets a file holding something it cannot read, it hands
// the whole file's list to the problem handler, once.
//
// Writing either succeeds completely or leaves the file exactly as it was and throws
// StoreError. A write keeps every other value and section; comment lines and lines
// that are no setting are not written again.
#include "settings/IniFile.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace torvella::settings {

class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // what() is `message`; `detail` says why, for the player (file and system error)
    explicit StoreError(const QString& message, const QString& detail = QString());
    // what() and the detail, one line each, for a message box
    QString Message() const;
    QString Detail() const { return detail_; }

private:
    QString detail_;
};

// One value of a write of several: a text, or nullopt to remove the value.
struct IniChange {
    QString name;
    std::optional<QString> value;
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
    static QString BoolText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }
    static QString IntegerText(int32_t value) { return QString::number(value); }
    void WriteBool(const QString& section, const QString& name, bool value);
    void WriteInteger(const QString& section, const QString& name, int32_t value);
    void WriteString(const QString& section, const QString& name, const QString& value);

    // A missing section or value is no error.
    void DeleteValue(const QString& section, const QString& name);

    // Several values in one write: all of them are stored, or none and StoreError
    // (naming the first value) is thrown.
    void Write(const QString& section, const std::vector<IniChange>& changes);

    // Told at most once in this object's life what the store holds that cannot be read.
    using ProblemHandler = std::function<void(const QString& filePath, const QList<IniProblem>& problems)>;
    void SetProblemHandler(ProblemHandler handler);

private:
    QString resolveSection(const QString& section);
    IniFile::Value readValue(const QString& section, const QString& name);
    void noteProblems(const IniFile& file);

    QString path_;
    QString lastSection_;
    ProblemHandler problemHandler_;
    bool problemsTold_ = false;
};

} // namespace torvella::settings
