// SPDX-License-Identifier: BSD-2-Clause
#include "health_report.h"

#include <cmath>

#include "device_text.h"
#include "number_text.h"

namespace veltrane::health {

namespace {

// JSON has no infinity and no NaN.
std::string jsonNumber(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? shortestText(*value) : "null";
}

std::string jsonText(std::string_view latin1)
{
    std::string text = "\"";
    appendJsonString(text, latin1);
    return text + "\"";
}

std::string jsonSpread(const std::optional<Spread>& spread)
{
    if (!spread) return R"({"min":null,"median":null,"max":null})";
    return "{\"min\":" + jsonNumber(spread->min) + ",\"median\":" + jsonNumber(spread->median) +
           ",\"max\":" + jsonNumber(spread->max) + "}";
}

template <class Value, class Write>
std::string jsonObject(const ByText<Value>& map, Write write)
{
    std::string object = "{";
    for (const auto& [key, value] : map) {
        if (object.size() > 1) object += ",";
        object += jsonText(key) + ":" + write(value);
    }
    return object + "}";
}

std::string count(std::uint64_t value) { return std::to_string(value); }

std::string textSpread(const std::optional<Spread>& spread, int decimals)
{
    if (!spread) return "none reported";
    return fixedText(spread->min, decimals) + " / " + fixedText(spread->median, decimals) + " / " +
           fixedText(spread->max, decimals) + " (min / median / max)";
}

template <class Value, class Count>
std::string textList(const ByText<Value>& map, Count countOf)
{
    std::string list;
    for (const auto& [key, value] : map) {
        if (!list.empty()) list += ", ";
        list += (key.empty() ? std::string("(empty)") : escapeDeviceText(key)) + " " + count(countOf(value));
    }
    return list.empty() ? "none" : list;
}

std::string row(const char* label, const std::string& text)
{
    std::string line = "  ";
    line += label;
    line.resize(22, ' ');
    return line + text + "\n";
}

}  // namespace

std::string jsonReport(const HealthFigures& figures, const Verdict& verdict)
{
    std::string json = "{\"bytes\":" + count(figures.bytes) + ",\"noise_bytes\":" + count(figures.noiseBytes);
    json += ",\"sentences\":" + jsonObject(figures.sentences, [](const SentenceCounts& c) {
        return "{\"count\":" + count(c.count) + ",\"checksum_invalid\":" + count(c.checksumInvalid) +
               ",\"checksum_absent\":" + count(c.checksumAbsent) + "}";
    });
    json += ",\"talkers\":" + jsonObject(figures.talkers, count);
    json += ",\"gga\":{\"count\":" + count(figures.ggaCount) + ",\"fixes\":" + count(figures.fixes) +
            ",\"quality\":" + jsonObject(figures.quality, count) + "}";
    const std::optional<Scatter>& scatter = figures.scatter;
    json += ",\"position\":{\"count\":" + count(figures.positionCount) +
            ",\"mean_lat\":" + jsonNumber(scatter ? std::optional(scatter->meanLatitude) : std::nullopt) +
            ",\"mean_lon\":" + jsonNumber(scatter ? std::optional(scatter->meanLongitude) : std::nullopt) +
            ",\"cep50_m\":" + jsonNumber(scatter ? std::optional(scatter->cep50) : std::nullopt) +
            ",\"cep95_m\":" + jsonNumber(scatter ? std::optional(scatter->cep95) : std::nullopt) + "}";
    json += ",\"satellites_used\":" + jsonSpread(figures.satellitesUsed);
    json += ",\"hdop\":" + jsonSpread(figures.hdop);
    json += ",\"ttff_s\":" + jsonNumber(figures.ttffSeconds);
    json += ",\"gga_interval_s\":" + jsonNumber(figures.ggaIntervalSeconds);
    json += std::string(",\"window_recognises\":") + (figures.windowRecognises ? "true" : "false");
    json += std::string(",\"verdict\":\"") + (verdict.pass ? "pass" : "fail") + "\",\"reasons\":[";
    for (std::size_t i = 0; i < verdict.reasons.size(); ++i) {
        if (i > 0) json += ",";
        json += jsonText(verdict.reasons[i]);
    }
    return json + "]}\n";
}

std::string textReport(const HealthFigures& figures, const Verdict& verdict, const std::string& source)
{
    std::string text = "Receiver health check of " + source + ": " + (verdict.pass ? "PASS" : "FAIL") + "\n";
    text += row("Bytes:", count(figures.bytes) + ", of which noise " + count(figures.noiseBytes));
    text += row("Sentences:", count(figures.sentenceCount()) + ", " + count(figures.checksumInvalidCount()) +
                                  " with an invalid checksum");
    text += row("", textList(figures.sentences, [](const SentenceCounts& c) { return c.count; }));
    text += row("Talkers:", textList(figures.talkers, [](std::uint64_t n) { return n; }));
    text += row("GGA:", count(figures.ggaCount) + " sentences, " + count(figures.fixes) + " with a fix; quality " +
                            textList(figures.quality, [](std::uint64_t n) { return n; }));
    if (figures.scatter)
        text += row("Position:", fixedText(figures.scatter->meanLatitude, 7) + ", " +
                                     fixedText(figures.scatter->meanLongitude, 7) + " (mean of " +
                                     count(figures.positionCount) + " fixes)") +
                row("Scatter:", "CEP50 " + fixedText(figures.scatter->cep50, 2) + " m, CEP95 " +
                                    fixedText(figures.scatter->cep95, 2) + " m");
    else
        text += row("Position:", "none");
    text += row("Satellites used:", textSpread(figures.satellitesUsed, 0));
    text += row("HDOP:", textSpread(figures.hdop, 1));
    text += row("Time to first fix:", figures.ttffSeconds ? fixedText(*figures.ttffSeconds, 1) + " s" : "not measured");
    text += row("GGA interval:",
                figures.ggaIntervalSeconds ? fixedText(*figures.ggaIntervalSeconds, 2) + " s (median)" : "not measured");
    text += row("Window:", figures.windowRecognises
                               ? "recognises it as GPS"
                               : "would not recognise it as GPS: no sentence it sent turned the window's "
                                 "indicator to \"Yes\" (this alone is not a failure)");
    for (const std::string& reason : verdict.reasons) text += "  - " + escapeDeviceText(reason) + "\n";
    return text;
}

}  // namespace veltrane::health
