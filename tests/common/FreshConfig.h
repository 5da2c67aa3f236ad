#pragma once
// A throw-away settings folder for one test: points XDG_CONFIG_HOME at a new
// empty directory for the lifetime of the object and removes it afterwards. The game's
// other files (XDG_STATE_HOME, XDG_DATA_HOME: journal and statistics) go into folders
// inside it.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace torvella::testing {

class FreshConfig {
public:
    FreshConfig()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvella-cfg-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        dir_ = pattern;
        for (auto& v : vars_) {
            if (const char* old = std::getenv(v.name)) {
                v.hadOld = true;
                v.old = old;
            }
        }
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        setenv("XDG_STATE_HOME", stateDir().c_str(), 1);
        setenv("XDG_DATA_HOME", dataDir().c_str(), 1);
    }
    ~FreshConfig()
    {
        std::error_code ec;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
        for (const auto& v : vars_) {
            if (v.hadOld)
                setenv(v.name, v.old.c_str(), 1);
            else
                unsetenv(v.name);
        }
    }
    FreshConfig(const FreshConfig&) = delete;
    FreshConfig& operator=(const FreshConfig&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    // Where the store file lives inside this folder.
    std::filesystem::path storeFile() const { return dir_ / "Quorlix" / "Torvella" / "V1.ini"; }
    std::filesystem::path stateDir() const { return dir_ / "state"; }
    std::filesystem::path dataDir() const { return dir_ / "data"; }

private:
    struct Saved {
        const char* name;
        std::string old;
        bool hadOld = false;
    };
    std::filesystem::path dir_;
    Saved vars_[3]{{"XDG_CONFIG_HOME", {}, false}, {"XDG_STATE_HOME", {}, false}, {"XDG_DATA_HOME", {}, false}};
};

} // namespace torvella::testing
