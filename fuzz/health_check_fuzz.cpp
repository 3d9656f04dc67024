// SPDX-License-Identifier: BSD-2-Clause
// Any bytes through the health check, in chunks of a size the input picks: no
// crash, no undefined behaviour, the same report as when the bytes come all
// at once, JSON that parses, and no raw control byte in either report. The
// same chunks through a watched receiver's sliding window: counts that agree
// with the check's, and a bounded set of addresses.

#include <fuzzer/FuzzedDataProvider.h>

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "health_analysis.h"
#include "health_report.h"
#include "live_health.h"
#include "verdict.h"

namespace {

void require(bool rule)
{
    if (!rule) std::abort();
}

// Line ends are the text report's own; anything else below 0x20, DEL, or a C1
// control (U+0080 to U+009F, 0xC2 0x80-0x9F in UTF-8) could act on a terminal.
bool plainText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F) return false;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return false;
    }
    return true;
}

veltrane::health::HealthFigures analyse(std::string_view bytes, std::size_t chunk)
{
    veltrane::health::HealthAnalysis analysis;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) analysis.add(bytes.substr(at, chunk));
    return analysis.finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace veltrane::health;
    FuzzedDataProvider input(data, size);
    const auto chunk = input.ConsumeIntegralInRange<std::size_t>(1, 64);
    const Thresholds thresholds{30, 5, 2, 6, 35};
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    const HealthFigures figures = analyse(bytes, bytes.size() + 1);
    const Verdict verdict = judge(figures, thresholds);
    const std::string json = jsonReport(figures, verdict);
    const HealthFigures chunked = analyse(bytes, chunk);
    require(jsonReport(chunked, judge(chunked, thresholds)) == json);
    require(figures.bytes == bytes.size() && figures.noiseBytes <= figures.bytes);

    require(nlohmann::json::accept(json));
    require(json.find('\n') == json.size() - 1 && plainText(json));
    require(plainText(textReport(figures, verdict, "capture 'fuzz'")));

    LiveHealth live(10, 0.0);
    double now = 0;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) live.add(std::string_view(bytes).substr(at, chunk), now += 0.5);
    const HealthFigures& window = live.windowFigures(now);
    require(live.counts().bytes == bytes.size() && live.counts().sentences.size() <= kCountedAddresses);
    // What the end of the input decides can only add to what a live window has seen.
    if (now < 9) require(window.bytes == bytes.size() && window.sentenceCount() <= figures.sentenceCount());
    live.satellitesInView(now + 20);
    require(live.windowFigures(now + 20).bytes == 0);
    return 0;
}
