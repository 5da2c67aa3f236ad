#pragma once
// The text of the store file: sections of named text values, in the INI form that
// QSettings writes ("[common]", "name=value", its quoting and escapes), read leniently
// because players edit the file by hand.
//
// Reading takes every line it can use and skips the rest:
// - blank lines and comment lines (first character '#' or ';') are skipped;
// - "[name" without its "]" still opens the section "name";
// - a line without "=" is no setting: skipped and listed in Problems();
// - a value is the text the player wrote: commas, semicolons and "=" are part of it
//   (QSettings would read an unquoted comma as a list); quotes and backslash escapes
//   are QSettings' ("\n", "\x1f", "\\", "\"" ...); an unknown escape stays as written;
// - a value QSettings stored with a type ("@Rect(...)", "@ByteArray(...)" ...) is no
//   text: it reads as unreadable and is listed in Problems();
// - names compare without regard to case; when a name appears twice in a section (or
//   a section twice in the file), the later line wins.
// Lines are UTF-8; a line that is not valid UTF-8 is read as Latin-1. A file that is no
// text at all (a zero byte, or many control characters) has the problem NoTextFile
// first; in it, a line holding a control character (other than a tab) is no setting.
//
// Reading takes time in proportion to the file's size: names are found through a hash
// of their folded form, so a store with tens of thousands of names reads as fast as
// its bytes.
//
// Writing gives one canonical form: the top level's values first, then the sections in
// the order they first appeared, each value on one line, names sorted. Values and
// sections that were not changed keep their exact bytes, unreadable ones included,
// so a write never makes a value unreadable that was readable before. Comment lines,
// lines that are no setting and values hidden by a later line of the same name are
// not written again.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace torvella::settings {

// A section: nullopt is the top level (no group; QSettings' "[General]").
using IniSection = std::optional<QString>;

struct IniProblem {
    enum Kind { NotASetting, NotText, NoTextFile };
    Kind kind;
    int line;       // 1-based line of the file; 0 for NoTextFile
    QString text;   // NotASetting: the line (shortened); NotText: the value's name
    bool operator==(const IniProblem&) const = default;
};

class IniFile {
public:
    static IniFile Parse(const QByteArray& bytes);
    QByteArray Serialize() const;

    enum class State { Missing, Text, NotText };
    struct Value {
        State state = State::Missing;
        QString text; // when State::Text
    };
    Value Get(const IniSection& section, const QString& name) const;
    // Sets the value, under this spelling of the name; creates the section when missing.
    void Set(const IniSection& section, const QString& name, const QString& text);
    // Returns false when there was nothing to remove. The section stays, even empty.
    bool Remove(const IniSection& section, const QString& name);

    const QList<IniProblem>& Problems() const { return problems_; }
    // Whether Serialize leaves out lines of the file as read that could not be read
    // (the lines that are no setting, or all of a file that is no text).
    bool DropsUnreadableLines() const;

    // Every section and value as read, for comparing two files in tests and fuzzing:
    // a section's name (or "<top>") and per value its name and text (nullopt = not text).
    struct Snapshot {
        IniSection section;
        std::vector<std::pair<QString, std::optional<QString>>> values; // sorted by name
        bool operator==(const Snapshot&) const = default;
    };
    std::vector<Snapshot> Contents() const;

    // The pieces, public for tests and the fuzzer.
    static std::optional<QString> DecodeValue(const QByteArray& raw); // nullopt = not text
    static QByteArray EncodeValue(const QString& text);
    static QString DecodeName(const QByteArray& raw);
    static QByteArray EncodeName(const QString& name);

private:
    struct Entry {
        QString name;
        QByteArray rawName;
        QByteArray rawValue;
        int line = 0;
    };
    struct Section {
        IniSection name;
        QByteArray rawHeader; // between "[" and "]"
        std::vector<Entry> entries;
        QHash<QString, size_t> index; // folded name -> position in entries
        // A later value of the same name takes the earlier one's place.
        void Put(Entry e);
        const Entry* Find(const QString& name) const;
        bool Erase(const QString& name);
    };
    size_t addSection(const IniSection& name, const QByteArray& rawHeader);
    Section* find(const IniSection& section);
    const Section* find(const IniSection& section) const;

    std::vector<Section> sections_; // [0] is the top level
    QHash<QString, size_t> sectionIndex_; // folded name ("" the top level) -> position
    QList<IniProblem> problems_;
};

} // namespace torvella::settings
