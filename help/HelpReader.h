#pragma once
// What a help window needs of a compressed help file, with no trace of Qt Help in it.
// Qt Help and the Qt Sql under it live in the module "libtorvella-help.so" in the program
// folder, loaded the first time help is asked for, so a game that never opens its rules
// never maps them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace torvella::help {

class HelpReader {
public:
    virtual ~HelpReader() = default;
    // Opens helpFile through a help collection kept at collectionPath (made afresh: the
    // file may have been replaced since). False, with the reason in problem, when the
    // file cannot be read.
    virtual bool Open(const QString& helpFile, const QString& collectionPath, QString& problem) = 0;
    // The page of a topic id, or an empty url when the file has none.
    virtual QUrl TopicUrl(int topic) const = 0;
    // A page, style sheet or picture of the file ("qthelp://..."); empty when missing.
    virtual QByteArray FileData(const QUrl& url) const = 0;
};

inline constexpr const char* kHelpModuleName = "libtorvella-help.so";

// The module's one entry point.
using CreateHelpReaderFn = HelpReader* (*)();
inline constexpr const char* kCreateHelpReaderSymbol = "torvella_create_help_reader";

// A reader from the module in the first of folders that holds a loadable one; null, with
// the reason in why, when there is none.
std::unique_ptr<HelpReader> LoadHelpReader(const QStringList& folders, QString& why);

} // namespace torvella::help
