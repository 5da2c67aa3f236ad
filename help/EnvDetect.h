#pragma once
// What the help machinery and the diagnostic log need to know about the machine:
// file versions, the help viewer's version and the browser component's version,
// each also turned into the name under which that version was released.
//
// The release-name tables describe components of another platform; here the viewer
// is Qt Help (its version is the one the help module is built with) and
// there is no browser component at all. The tables and comparisons are kept as pure
// functions so they stay correct for any version fed to them.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace torvella::help {

// major.minor.release.build, each an unsigned 16-bit number.
struct Version {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t release = 0;
    uint16_t build = 0;
    friend bool operator==(const Version&, const Version&) = default;
};

// "%d.%d.%d.%d"
QString VersionText(const Version& v);

// A version with its text; the text is empty when no version was found.
struct FileVersion {
    Version version;
    QString text;
};

// -1, 0 or 1, comparing major, minor, release, build in that order.
int CompareVersion(const Version& a, const Version& b);

// Linux files carry no version resources, so ReadFileVersion answers zeros and an
// empty text for every file, unless a reader has been installed (tests use this to
// pretend a file has a version). The reader answers nullopt for "no version".
using FileVersionReader = std::function<std::optional<Version>(const QString& path)>;
FileVersionReader SetFileVersionReader(FileVersionReader reader); // returns the previous one
FileVersion ReadFileVersion(const QString& path);

// Table H: the release name of a help viewer version; empty text gives an empty name.
QString ViewerReleaseName(const FileVersion& v);

// The correction for early browser versions (major 4, minor <= 70, release 0: the
// release number sits in the build field); the text is made again from the numbers.
FileVersion CorrectBrowserVersion(const FileVersion& v);
// Table B, applied to an already corrected version; empty text gives an empty name.
QString BrowserReleaseName(const FileVersion& corrected);

// Replaces a leading "%SystemRoot%" (any letter case) by the Windows folder.
QString SubstituteSystemRoot(const QString& value, const QString& windowsFolder);

// The platform's folders of that other system. Linux has neither: both are empty.
QString WindowsFolder();
QString SystemFolder();

// The file of the component that reads help files: the help module in the first of
// moduleFolders that has it; empty when none has.
QString FindViewerControl(const QStringList& moduleFolders);

// Probes of this machine.
FileVersion ViewerVersion();  // the Qt Help library's version, e.g. 6.4.2.0
FileVersion BrowserVersion(); // none on Linux: empty text, not installed

} // namespace torvella::help
