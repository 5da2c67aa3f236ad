// The store on an arbitrary file: reading never fails, and a write keeps every value it
// did not change (readable ones readable, with the same text), reads back what it
// wrote, and writes a file that reads and writes back to itself.
#include "FuzzCheck.h"
#include "settings/IniFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

using torvella::settings::IniFile;
using torvella::settings::IniSection;

namespace {

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString textFrom(FuzzedDataProvider& in)
{
    const std::string bytes = in.ConsumeRandomLengthString(40);
    if (in.ConsumeBool())
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    // any UTF-16 code units, lone surrogates included
    QString s;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        s += QChar(char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    return s;
}

// What the contents should be after setting (or, value = nullopt, removing) one value.
std::vector<IniFile::Snapshot> expectedAfter(std::vector<IniFile::Snapshot> contents, const IniSection& section,
                                             const QString& name, const std::optional<QString>& value)
{
    auto sameSection = [&](const IniFile::Snapshot& s) {
        return s.section && section ? sameName(*s.section, *section) : !s.section && !section;
    };
    auto it = std::find_if(contents.begin(), contents.end(), sameSection);
    if (it == contents.end()) {
        if (!value)
            return contents;
        // a new top level comes first, a new section last
        it = section ? contents.insert(contents.end(), {section, {}}) : contents.insert(contents.begin(), {section, {}});
    }
    auto& values = it->values;
    const auto v = std::find_if(values.begin(), values.end(), [&](const auto& p) { return sameName(p.first, name); });
    if (v != values.end())
        values.erase(v);
    if (value)
        values.emplace_back(name, value);
    std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    if (!section && values.empty())
        contents.erase(it);
    return contents;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool remove = in.ConsumeBool();
    const bool root = in.ConsumeBool();
    const IniSection section = root ? IniSection() : IniSection(textFrom(in));
    const QString name = textFrom(in);
    const QString value = textFrom(in);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray file(rest.data(), qsizetype(rest.size()));

    const IniFile before = IniFile::Parse(file);
    const auto contents = before.Contents();

    // A file written back unchanged reads the same and is a fixed point.
    const QByteArray canonical = before.Serialize();
    const IniFile again = IniFile::Parse(canonical);
    FUZZ_CHECK(again.Contents() == contents);
    FUZZ_CHECK(again.Serialize() == canonical);
    for (const auto& p : again.Problems())
        FUZZ_CHECK(p.kind == torvella::settings::IniProblem::NotText);

    // Names and values survive their own encoding.
    FUZZ_CHECK(IniFile::DecodeName(IniFile::EncodeName(name)) == name);
    FUZZ_CHECK(IniFile::DecodeValue(IniFile::EncodeValue(value)) == std::optional<QString>(value));

    IniFile changed = before;
    if (remove)
        changed.Remove(section, name);
    else
        changed.Set(section, name, value);
    const IniFile written = IniFile::Parse(changed.Serialize());
    FUZZ_CHECK(written.Contents() == expectedAfter(contents, section, name, remove ? std::nullopt : std::optional(value)));
    if (!remove) {
        const IniFile::Value v = written.Get(section, name);
        FUZZ_CHECK(v.state == IniFile::State::Text && v.text == value);
    } else {
        FUZZ_CHECK(written.Get(section, name).state == IniFile::State::Missing);
    }
    return 0;
}
