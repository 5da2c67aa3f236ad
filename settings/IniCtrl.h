#pragma once
// The settings component `ini`: named text values in sections of one per-user store.
//
// The store is an INI file (see IniFile.h for what is read and how it is written).
// A write puts the whole file back before it returns, and every operation looks at the
// file as it is on disk at that moment, so a second program using the same file sees
// each change at once. The file's content is read again only when it may have changed
// since it was last read here: when its identity (device, inode, size, change and
// modification times) differs, or when it was changed in the same clock tick as that
// read, so that a change made in that tick cannot hide behind an equal time. A run of
// reads (the start, the high-score list's opening) thus reads the file once.
//
// A write merges its changes into what is on disk at that moment, holding the lock
// file "V1.ini.lock", and replaces the file in one checked step (SafeSave.h); new files
// left by an earlier save that was killed are removed then. A lock whose owner is gone
// (a lock file that is empty or unreadable, or names a process of this computer that
// no longer runs) is taken at once. When the file holds lines that cannot be read, the
// write that leaves them out first keeps the file as it was beside it, as
// UnreadableCopyPath() (replacing an earlier such copy).
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
//
// Every text for the player exists in German and English.
#include "settings/IniFile.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace torvella::settings {

// A text for the player in both languages.
struct StoreText {
    QString german;
    QString english;
    QString In(bool german) const { return german ? this->german : english; }
};

class StoreError : public std::runtime_error {
public:
    // `what` says what failed, `why` the file and the reason. what() is `what` in German.
    explicit StoreError(StoreText what, StoreText why = {});
    // what failed and why, one line each, for a message box
    QString Message(bool german) const;
    QString Detail(bool german) const { return why_.In(german); }

private:
    StoreText what_;
    StoreText why_;
};

// What tells one state of a file from another without reading it.
struct FileStamp {
    uint64_t device = 0, inode = 0;
    int64_t size = 0;
    int64_t modified = 0, changed = 0; // nanoseconds since the epoch
    bool operator==(const FileStamp&) const = default;
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
    // Where a write keeps the store as it was before it leaves out lines it cannot read.
    static QString UnreadableCopyPath(const QString& storePath);
    // How often the file's content was read, for tests of the reading.
    int FileReads() const { return fileReads_; }

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
    // The file as it was last read here.
    struct Loaded {
        FileStamp stamp;
        bool trusted = false; // read at least one clock tick after its last change
        QByteArray bytes;
        IniFile file;
    };

    QString resolveSection(const QString& section);
    IniFile::Value readValue(const QString& section, const QString& name);
    void noteProblems(const IniFile& file);
    // The file as it is now; nullptr when it is missing or cannot be read (*error says why).
    const Loaded* load(int* error = nullptr);

    QString path_;
    QString lastSection_;
    ProblemHandler problemHandler_;
    bool problemsTold_ = false;
    std::optional<Loaded> loaded_;
    int fileReads_ = 0;
};

} // namespace torvella::settings
