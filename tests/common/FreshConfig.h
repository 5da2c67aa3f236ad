#pragma once
// A throw-away settings folder for one test: points XDG_CONFIG_HOME at a new
// empty directory for the lifetime of the object and removes it afterwards.
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
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            hadOld_ = true;
            old_ = old;
        }
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    }
    ~FreshConfig()
    {
        std::error_code ec;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
        if (hadOld_)
            setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    FreshConfig(const FreshConfig&) = delete;
    FreshConfig& operator=(const FreshConfig&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    // Where the store file lives inside this folder.
    std::filesystem::path storeFile() const { return dir_ / "Quorlix" / "Torvella" / "V1.ini"; }

private:
    std::filesystem::path dir_;
    std::string old_;
    bool hadOld_ = false;
};

} // namespace torvella::testing
