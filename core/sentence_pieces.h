// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace veltrane {

// A sentence (without its "$") split at every ",", empty pieces included:
// piece 0 holds the identifier, and a checksum stays on the last piece.
// Split once, and only as far as any sentence type reads.
class SentencePieces {
public:
    static constexpr std::size_t kRead = 10;  // pieces 0 to 9

    explicit SentencePieces(std::string_view text)
    {
        for (;;) {
            const std::size_t comma = text.find(',');
            pieces_[count_++] = text.substr(0, comma);
            if (comma == std::string_view::npos || count_ == kRead) break;
            text.remove_prefix(comma + 1);
        }
    }

    // Nothing when the sentence has fewer pieces.
    std::optional<std::string_view> operator[](std::size_t number) const
    {
        if (number >= count_) return std::nullopt;
        return pieces_[number];
    }

private:
    std::array<std::string_view, kRead> pieces_{};
    std::size_t count_ = 0;
};

}  // namespace veltrane
