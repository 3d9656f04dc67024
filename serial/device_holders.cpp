// SPDX-License-Identifier: BSD-2-Clause
#include "device_holders.h"

#include <string_view>

#ifdef __linux__
#include <charconv>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace veltrane {

std::string lockFileName(const std::string& device)
{
    constexpr std::string_view kDeviceFolder = "/dev/";
    std::string name = device.starts_with(kDeviceFolder) ? device.substr(kDeviceFolder.size()) : device;
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return "LCK.." + name;
}

#ifdef __linux__

namespace {

namespace fs = std::filesystem;

// Where Qt looks for a place to lock, in its order; it takes the first folder
// that already holds the device's lock or that it may write to.
constexpr const char* kLockFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                        "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

std::optional<int> numberIn(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data()) return std::nullopt;
    return number;
}

std::string programName(const fs::path& process)
{
    std::string name;
    std::getline(std::ifstream(process / "comm"), name);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    }
    return name.empty() ? "a program" : name;
}

// Reads the link's text only: following it (stat) could block on a file of an
// unreachable network share that some process holds.
std::optional<std::string> linkText(const fs::path& descriptor)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(descriptor.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return std::nullopt;
    return std::string(target, static_cast<std::size_t>(length));
}

bool namesDevice(const std::string& link, const std::string& canonical, dev_t device)
{
    if (link == canonical) return true;
    // The same device under another name in /dev.
    struct stat status {};
    return link.starts_with("/dev/") && ::stat(link.c_str(), &status) == 0 && S_ISCHR(status.st_mode) &&
           status.st_rdev == device;
}

// N for /dev/pts/N, the slave of a pseudo-terminal; nothing for any other device.
std::optional<int> slaveNumber(const std::string& canonical)
{
    constexpr std::string_view kSlaves = "/dev/pts/";
    if (!canonical.starts_with(kSlaves)) return std::nullopt;
    const std::string_view digits = std::string_view(canonical).substr(kSlaves.size());
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    return numberIn(digits);
}

// A master's fdinfo names its slave's number as "tty-index:".
bool isMasterOf(const fs::path& process, const fs::path& descriptor, const std::string& link, int slave)
{
    if (link != "/dev/ptmx" && link != "/dev/pts/ptmx") return false;
    std::ifstream info(process / "fdinfo" / descriptor.filename());
    constexpr std::string_view kIndex = "tty-index:";
    for (std::string line; std::getline(info, line);) {
        if (line.starts_with(kIndex)) return numberIn(std::string_view(line).substr(kIndex.size())) == slave;
    }
    return false;
}

}  // namespace

std::vector<DeviceHolder> otherProgramsHolding(const std::string& device)
{
    std::vector<DeviceHolder> holders;
    struct stat status {};
    char* resolved = ::realpath(device.c_str(), nullptr);
    if (resolved == nullptr) return holders;
    const std::string canonical = resolved;
    std::free(resolved);
    if (::stat(canonical.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) return holders;
    const std::optional<int> slave = slaveNumber(canonical);

    const std::string self = std::to_string(::getpid());
    std::error_code error;
    // Processes come and go while we look: any entry may vanish, so every step tolerates errors.
    for (fs::directory_iterator process("/proc", error), end; !error && process != end; process.increment(error)) {
        const std::string pid = process->path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self) continue;
        bool holds = false;
        bool otherEnd = false;
        std::error_code unreadable;
        for (fs::directory_iterator fd(process->path() / "fd", unreadable); !unreadable && fd != end && !otherEnd;
             fd.increment(unreadable)) {
            const std::optional<std::string> link = linkText(fd->path());
            if (!link) continue;
            holds = holds || namesDevice(*link, canonical, status.st_rdev);
            otherEnd = slave && isMasterOf(process->path(), fd->path(), *link, *slave);
        }
        if (holds && !otherEnd) holders.push_back({std::stoi(pid), programName(process->path())});
    }
    return holders;
}

std::optional<DeviceHolder> lockHolder(const std::string& device)
{
    const std::string name = lockFileName(device);
    for (const char* folder : kLockFolders) {
        std::ifstream lock(fs::path(folder) / name);
        if (!lock) continue;
        // Qt writes the PID on the first line; other programs pad it with spaces.
        std::string firstLine;
        std::getline(lock, firstLine);
        const std::optional<int> pid = numberIn(firstLine);
        if (!pid || *pid <= 0 || *pid == ::getpid()) return std::nullopt;
        const fs::path process = fs::path("/proc") / std::to_string(*pid);
        std::error_code gone;
        if (!fs::exists(process, gone)) return std::nullopt;
        return DeviceHolder{*pid, programName(process)};
    }
    return std::nullopt;
}

#else

// Without /proc nobody can be seen. Windows opens a serial port for one
// program only, so there the opening itself already refuses a port in use.
std::vector<DeviceHolder> otherProgramsHolding(const std::string&) { return {}; }

std::optional<DeviceHolder> lockHolder(const std::string&) { return std::nullopt; }

#endif

}  // namespace veltrane
