#pragma once

#include <cstdint>
#include <string>

namespace veltrane {

// What the receive handler needs of the serial component. Both operations may
// throw Failure. Text is bytes, one character each, read as Latin-1.
class SerialInput {
public:
    virtual ~SerialInput() = default;
    // Number of received characters waiting; above 0 when text waits.
    virtual std::int64_t InBufferCount() = 0;
    // All waiting text, removed from the component by the read.
    virtual std::string Input() = 0;
};

}  // namespace veltrane

namespace veltrane {

// A serial component whose buffer holds one given chunk: replaying a capture
// stores each chunk through the same receive handler a port would.
class ChunkInput final : public SerialInput {
public:
    explicit ChunkInput(std::string chunk) : chunk_(std::move(chunk)) {}
    std::int64_t InBufferCount() override { return static_cast<std::int64_t>(chunk_.size()); }
    std::string Input() override { return std::move(chunk_); }

private:
    std::string chunk_;
};

}  // namespace veltrane
