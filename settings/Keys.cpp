#include "settings/Keys.h"

namespace torvella::settings {

namespace {

QString section() { return QString::fromLatin1(keys::Section); }

QString entry(const QString& prefix, int index) { return prefix + QString::number(index); }

} // namespace

int32_t Read(IniCtrl& ini, const IntegerKey& key) { return ini.ReadInteger(section(), key.Name(), key.def); }

bool Read(IniCtrl& ini, const BoolKey& key) { return ini.ReadBool(section(), key.Name(), key.def); }

QString Read(IniCtrl& ini, const TextKey& key) { return ini.ReadString(section(), key.Name(), QString::fromUtf8(key.def)); }

QString ReadEntry(IniCtrl& ini, const QString& prefix, int index)
{
    return ini.ReadString(section(), entry(prefix, index), QString::fromUtf8(keys::HighScore.def));
}

Changes& Changes::Set(const IntegerKey& key, int32_t value)
{
    changes_.push_back({key.Name(), IniCtrl::IntegerText(value)});
    return *this;
}

Changes& Changes::Set(const BoolKey& key, bool value)
{
    changes_.push_back({key.Name(), IniCtrl::BoolText(value)});
    return *this;
}

Changes& Changes::Set(const TextKey& key, const QString& value)
{
    changes_.push_back({key.Name(), value});
    return *this;
}

Changes& Changes::SetEntry(const QString& prefix, int index, const QString& value)
{
    changes_.push_back({entry(prefix, index), value});
    return *this;
}

Changes& Changes::Remove(const TextKey& key)
{
    changes_.push_back({key.Name(), std::nullopt});
    return *this;
}

void Changes::WriteTo(IniCtrl& ini) const { ini.Write(section(), changes_); }

} // namespace torvella::settings
