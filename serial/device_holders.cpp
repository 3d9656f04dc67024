// SPDX-License-Identifier: BSD-2-Clause
#include "device_holders.h"

#ifdef __linux__
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace veltrane {

#ifdef __linux__

namespace {

namespace fs = std::filesystem;

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
bool namesDevice(const fs::path& descriptor, const std::string& canonical, dev_t device)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(descriptor.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return false;
    const std::string_view text(target, static_cast<std::size_t>(length));
    if (text == canonical) return true;
    // The same device under another name in /dev.
    struct stat status {};
    return text.starts_with("/dev/") && ::stat(std::string(text).c_str(), &status) == 0 && S_ISCHR(status.st_mode) &&
           status.st_rdev == device;
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

    const std::string self = std::to_string(::getpid());
    std::error_code error;
    // Processes come and go while we look: any entry may vanish, so every step tolerates errors.
    for (fs::directory_iterator process("/proc", error), end; !error && process != end; process.increment(error)) {
        const std::string pid = process->path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self) continue;
        std::error_code unreadable;
        for (fs::directory_iterator fd(process->path() / "fd", unreadable); !unreadable && fd != end;
             fd.increment(unreadable)) {
            if (!namesDevice(fd->path(), canonical, status.st_rdev)) continue;
            holders.push_back({std::stoi(pid), programName(process->path())});
            break;
        }
    }
    return holders;
}

#else

// Without /proc nobody can be seen. Windows opens a serial port for one
// program only, so there the opening itself already refuses a port in use.
std::vector<DeviceHolder> otherProgramsHolding(const std::string&) { return {}; }

#endif

}  // namespace veltrane
