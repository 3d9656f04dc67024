// SPDX-License-Identifier: BSD-2-Clause
#include "gsv_sentence.h"

#include <algorithm>

namespace veltrane::health {

GsvSentence readGsv(std::string_view body)
{
    std::vector<std::string_view> fields;
    for (std::size_t comma; (comma = body.find(',')) != std::string_view::npos; body.remove_prefix(comma + 1))
        fields.push_back(body.substr(0, comma));
    fields.push_back(body);

    GsvSentence gsv;
    const auto field = [&](std::size_t number) { return number < fields.size() ? fields[number] : std::string_view(); };
    gsv.totalMessages = field(1);
    gsv.messageNumber = field(2);
    gsv.inView = field(3);
    std::size_t blocksEnd = fields.size();
    const std::size_t afterInView = fields.size() - std::min<std::size_t>(fields.size(), 4);
    if (afterInView % 4 == 1) gsv.signalId = fields[--blocksEnd];
    for (std::size_t number = 4; number < blocksEnd; ++number) {
        if ((number - 4) % 4 == 0) gsv.prns.push_back(fields[number]);
        if ((number - 4) % 4 == 3) gsv.cn0s.push_back(fields[number]);
    }
    return gsv;
}

}  // namespace veltrane::health
