#pragma once
// A tiny memory-backed file system (tmpfs) mounted over a folder for one test, to see
// what the program does when the disk fills up. Needs the right to mount (root);
// Available() says why not otherwise, for GTEST_SKIP.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace torvella::testing {

class SmallDisk {
public:
    static constexpr long kPage = 4096;

    SmallDisk(const std::filesystem::path& at, int pages) : at_(at)
    {
        std::filesystem::create_directories(at_);
        const std::string options = "size=" + std::to_string(pages * kPage) + ",mode=0755";
        if (geteuid() != 0)
            why_ = "a full disk is made with a small tmpfs, which needs root to mount";
        else if (::mount("tmpfs", at_.c_str(), "tmpfs", 0, options.c_str()) != 0)
            why_ = std::string("mounting a small tmpfs failed: ") + std::strerror(errno);
        else
            mounted_ = true;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(at_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Available() const { return mounted_; }
    const std::string& WhyNot() const { return why_; }

    long FreePages() const
    {
        struct statvfs st {};
        ::statvfs(at_.c_str(), &st);
        return long(st.f_bavail * st.f_frsize / kPage);
    }
    // Takes up all space but `pages` free pages with a filler file.
    void Leave(long pages)
    {
        const auto filler = at_ / ".filler";
        std::filesystem::remove(filler);
        const long fill = FreePages() - pages;
        if (fill > 0) {
            std::ofstream out(filler, std::ios::binary);
            const std::string page(kPage, 'x');
            for (long i = 0; i < fill; ++i)
                out << page;
        }
    }
    void Free() { std::filesystem::remove(at_ / ".filler"); }

private:
    std::filesystem::path at_;
    bool mounted_ = false;
    std::string why_;
};

} // namespace torvella::testing
