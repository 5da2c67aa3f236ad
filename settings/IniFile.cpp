#include "settings/IniFile.h"

#include <QStringDecoder>
#include <algorithm>

namespace torvella::settings {

namespace {

const char kHex[] = "0123456789ABCDEF";

// Names compare without regard to case: they are looked up by their folded form.
QString folded(const QString& name) { return name.toCaseFolded(); }

// The top level's key cannot be any section's, which all begin with "s".
QString sectionKey(const IniSection& section) { return section ? QLatin1Char('s') + folded(*section) : QString(); }

// Control characters other than tabs and line ends do not stand in a settings file
// anyone wrote: a file with a zero byte, or with many of them, is no text at all.
bool isControl(char ch)
{
    const auto c = static_cast<unsigned char>(ch);
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v') || c == 0x7F;
}

bool looksLikeText(QByteArrayView bytes)
{
    if (bytes.contains('\0'))
        return false;
    return std::count_if(bytes.begin(), bytes.end(), isControl) * 20 <= bytes.size(); // one byte in twenty
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// UTF-8 when the bytes are valid UTF-8, else Latin-1: a player's editor may save in
// either, and every byte then still means a character.
QString textOf(const QByteArray& bytes)
{
    // A leading U+FEFF inside a value is a character, not a byte order mark.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

void appendUtf8(QByteArray& out, QStringView chars) { out += chars.toUtf8(); }

QByteArray hexEscape(char16_t ch) { return "\\x" + QByteArray::number(ch, 16); }

bool startsTyped(const QString& s)
{
    static const char* const typed[] = {"@ByteArray(", "@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point("};
    if (s == QLatin1String("@Invalid()"))
        return true;
    if (!s.endsWith(u')'))
        return false;
    return std::any_of(std::begin(typed), std::end(typed), [&](const char* t) { return s.startsWith(QLatin1String(t)); });
}

// Lines split at "\n", "\r\n" and "\r".
std::vector<QByteArray> splitLines(QByteArrayView bytes)
{
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r')
            continue;
        lines.emplace_back(bytes.sliced(start, i - start).toByteArray());
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.sliced(start).toByteArray());
    return lines;
}

} // namespace

QString IniFile::DecodeName(const QByteArray& raw)
{
    // QSettings' key escapes: "\" for "/", "%XX" and "%UXXXX" for other characters.
    const QString in = textOf(raw);
    QString out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size();) {
        const char16_t c = in[i].unicode();
        if (c == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c == u'%') {
            const bool wide = i + 1 < in.size() && in[i + 1] == u'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const int digits = wide ? 4 : 2;
            if (first + digits <= in.size()) {
                int value = 0;
                bool ok = true;
                for (int d = 0; d < digits && ok; ++d) {
                    const int h = hexValue(in[first + d].unicode());
                    ok = h >= 0;
                    value = value * 16 + h;
                }
                if (ok) {
                    out += QChar(char16_t(value));
                    i = first + digits;
                    continue;
                }
            }
        }
        out += QChar(c);
        ++i;
    }
    return out;
}

QByteArray IniFile::EncodeName(const QString& name)
{
    QByteArray out;
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
            c == u'-' || c == u'.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHex[(c >> shift) & 15];
        }
    }
    return out;
}

std::optional<QString> IniFile::DecodeValue(const QByteArray& raw)
{
    const QString in = textOf(raw);
    QString out;
    qsizetype i = 0;
    while (i < in.size() && (in[i] == u' ' || in[i] == u'\t'))
        ++i;
    while (i < in.size()) {
        const char16_t c = in[i].unicode();
        if (c == u'"') {
            ++i; // quotes only protect what they enclose; commas are text either way
            continue;
        }
        if (c != u'\\' || i + 1 == in.size()) {
            out += QChar(c); // a backslash at the very end stays as written
            ++i;
            continue;
        }
        const char16_t e = in[i + 1].unicode();
        i += 2;
        switch (e) {
        case u'a': out += u'\a'; continue;
        case u'b': out += u'\b'; continue;
        case u'f': out += u'\f'; continue;
        case u'n': out += u'\n'; continue;
        case u'r': out += u'\r'; continue;
        case u't': out += u'\t'; continue;
        case u'v': out += u'\v'; continue;
        case u'"': case u'?': case u'\'': case u'\\': out += QChar(e); continue;
        default: break;
        }
        if (e == u'x' && i < in.size() && hexValue(in[i].unicode()) >= 0) {
            char16_t v = 0; // as many digits as follow, like QSettings
            while (i < in.size() && hexValue(in[i].unicode()) >= 0)
                v = char16_t(v * 16 + hexValue(in[i++].unicode()));
            out += QChar(v);
        } else if (e >= u'0' && e <= u'7') {
            char16_t v = e - u'0';
            while (i < in.size() && in[i] >= u'0' && in[i] <= u'7')
                v = char16_t(v * 8 + (in[i++].unicode() - u'0'));
            out += QChar(v);
        } else {
            out += u'\\'; // no escape QSettings writes: the text as the player wrote it
            out += QChar(e);
        }
    }
    if (out.startsWith(u'@')) {
        if (out.startsWith(QLatin1String("@String(")) && out.endsWith(u')'))
            return out.mid(8, out.size() - 9);
        if (startsTyped(out))
            return std::nullopt;
        if (out.startsWith(QLatin1String("@@")))
            return out.mid(1);
    }
    return out;
}

QByteArray IniFile::EncodeValue(const QString& text)
{
    // QSettings' own escaping, so the file stays readable for it; lone surrogates are
    // escaped too, as UTF-8 cannot carry them.
    const QString s = text.startsWith(u'@') ? QStringLiteral("@") + text : text;
    QByteArray out;
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == u';' || c == u',' || c == u'=')
            needsQuotes = true;
        if (escapeNextIfHex && hexValue(c) >= 0) {
            out += hexEscape(c);
            continue;
        }
        escapeNextIfHex = false;
        switch (c) {
        case u'\0': out += "\\0"; escapeNextIfHex = true; continue;
        case u'\a': out += "\\a"; continue;
        case u'\b': out += "\\b"; continue;
        case u'\f': out += "\\f"; continue;
        case u'\n': out += "\\n"; continue;
        case u'\r': out += "\\r"; continue;
        case u'\t': out += "\\t"; continue;
        case u'\v': out += "\\v"; continue;
        case u'"': out += "\\\""; continue;
        case u'\\': out += "\\\\"; continue;
        default: break;
        }
        if (c <= 0x1F) {
            out += hexEscape(c);
            escapeNextIfHex = true;
        } else if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            appendUtf8(out, QStringView(s).sliced(i, 2));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            out += hexEscape(c);
            escapeNextIfHex = true;
        } else {
            appendUtf8(out, QStringView(s).sliced(i, 1));
        }
    }
    if (needsQuotes || s.startsWith(u' ') || s.endsWith(u' '))
        out = '"' + out + '"';
    return out;
}

IniFile IniFile::Parse(const QByteArray& bytes)
{
    IniFile f;
    f.addSection(IniSection(), QByteArray());
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    // In a file that is no text, a line with a control character is garbage whatever
    // else it holds; the lines without one are read as ever.
    const bool binary = !looksLikeText(view);
    if (binary)
        f.problems_.append({IniProblem::NoTextFile, 0, QString()});
    size_t current = 0;
    int lineNo = 0;
    for (const QByteArray& physical : splitLines(view)) {
        ++lineNo;
        const QByteArray line = physical.trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith(';'))
            continue;
        const bool garbage = binary && std::any_of(line.begin(), line.end(), isControl);
        if (line.startsWith('[') && !garbage) {
            const qsizetype close = line.indexOf(']');
            const QByteArray raw = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            IniSection name;
            if (raw.compare("general", Qt::CaseInsensitive) == 0)
                name = std::nullopt; // QSettings' name for the top level
            else if (raw.compare("%general", Qt::CaseInsensitive) == 0)
                name = QString::fromLatin1(raw.mid(1));
            else
                name = DecodeName(raw);
            const auto known = f.sectionIndex_.constFind(sectionKey(name));
            current = known != f.sectionIndex_.cend() ? *known : f.addSection(name, raw);
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || garbage) {
            QString shown = textOf(line);
            if (shown.size() > 60)
                shown = shown.left(57) + QStringLiteral("...");
            f.problems_.append({IniProblem::NotASetting, lineNo, shown});
            continue;
        }
        Entry e{DecodeName(line.left(eq).trimmed()), line.left(eq).trimmed(), line.mid(eq + 1), lineNo};
        f.sections_[current].Put(std::move(e));
    }
    for (const Section& s : f.sections_)
        for (const Entry& e : s.entries)
            if (!DecodeValue(e.rawValue))
                f.problems_.append({IniProblem::NotText, e.line, e.name});
    std::sort(f.problems_.begin(), f.problems_.end(),
              [](const IniProblem& a, const IniProblem& b) { return a.line < b.line; });
    return f;
}

bool IniFile::DropsUnreadableLines() const
{
    return std::any_of(problems_.begin(), problems_.end(), [](const IniProblem& p) { return p.kind != IniProblem::NotText; });
}

size_t IniFile::addSection(const IniSection& name, const QByteArray& rawHeader)
{
    sections_.push_back(Section{name, rawHeader, {}, {}});
    sectionIndex_.insert(sectionKey(name), sections_.size() - 1);
    return sections_.size() - 1;
}

void IniFile::Section::Put(Entry e)
{
    const QString key = folded(e.name);
    const auto known = index.constFind(key);
    if (known != index.cend()) {
        entries[*known] = std::move(e);
        return;
    }
    index.insert(key, entries.size());
    entries.push_back(std::move(e));
}

const IniFile::Entry* IniFile::Section::Find(const QString& name) const
{
    const auto known = index.constFind(folded(name));
    return known == index.cend() ? nullptr : &entries[*known];
}

bool IniFile::Section::Erase(const QString& name)
{
    const auto known = index.constFind(folded(name));
    if (known == index.cend())
        return false;
    entries.erase(entries.begin() + qsizetype(*known));
    index.clear();
    for (size_t i = 0; i < entries.size(); ++i)
        index.insert(folded(entries[i].name), i);
    return true;
}

QByteArray IniFile::Serialize() const
{
    QByteArray out;
    bool first = true;
    for (const Section& s : sections_) {
        if (s.name) {
            if (!first)
                out += '\n';
            out += '[' + s.rawHeader + "]\n";
        } else if (s.entries.empty()) {
            continue;
        }
        first = false;
        std::vector<const Entry*> sorted;
        for (const Entry& e : s.entries)
            sorted.push_back(&e);
        std::sort(sorted.begin(), sorted.end(), [](const Entry* a, const Entry* b) { return a->name < b->name; });
        for (const Entry* e : sorted)
            out += e->rawName + '=' + e->rawValue + '\n';
    }
    // A name that begins with these bytes would be read as a byte order mark.
    if (out.startsWith("\xEF\xBB\xBF"))
        out.prepend('\n');
    return out;
}

IniFile::Section* IniFile::find(const IniSection& section)
{
    const auto known = sectionIndex_.constFind(sectionKey(section));
    return known == sectionIndex_.cend() ? nullptr : &sections_[*known];
}

const IniFile::Section* IniFile::find(const IniSection& section) const
{
    return const_cast<IniFile*>(this)->find(section);
}

IniFile::Value IniFile::Get(const IniSection& section, const QString& name) const
{
    const Section* s = find(section);
    const Entry* e = s ? s->Find(name) : nullptr;
    if (!e)
        return {};
    const std::optional<QString> text = DecodeValue(e->rawValue);
    return text ? Value{State::Text, *text} : Value{State::NotText, {}};
}

void IniFile::Set(const IniSection& section, const QString& name, const QString& text)
{
    Section* s = find(section);
    if (!s) {
        QByteArray header;
        if (section)
            header = section->compare(QLatin1String("general"), Qt::CaseInsensitive) == 0 ? '%' + section->toLatin1()
                                                                                         : EncodeName(*section);
        s = &sections_[addSection(section, header)];
    }
    s->Put(Entry{name, EncodeName(name), EncodeValue(text), 0});
}

bool IniFile::Remove(const IniSection& section, const QString& name)
{
    Section* s = find(section);
    return s && s->Erase(name);
}

std::vector<IniFile::Snapshot> IniFile::Contents() const
{
    std::vector<Snapshot> out;
    for (const Section& s : sections_) {
        Snapshot snap{s.name, {}};
        for (const Entry& e : s.entries)
            snap.values.emplace_back(e.name, DecodeValue(e.rawValue));
        std::sort(snap.values.begin(), snap.values.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        if (s.name || !snap.values.empty())
            out.push_back(std::move(snap));
    }
    return out;
}

} // namespace torvella::settings
