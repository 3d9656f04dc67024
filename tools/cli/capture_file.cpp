#include "capture_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "device_text.h"

namespace veltrane::cli {

CaptureFile::CaptureFile(const std::string& name)
{
    if (name == "-") {
        file_ = stdin;
        shownName_ = "standard input";
        return;
    }
    shownName_ = quotedUserText(name);
    std::error_code error;
    if (std::filesystem::is_directory(name, error)) {
        problem_ = std::strerror(EISDIR);
        return;
    }
    opened_.reset(std::fopen(name.c_str(), "rb"));
    file_ = opened_.get();
    if (!file_) problem_ = std::strerror(errno);
}

}  // namespace veltrane::cli
