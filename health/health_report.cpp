// SPDX-License-Identifier: BSD-2-Clause
#include "health_report.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "device_text.h"
#include "figure_texts.h"
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

std::string row(const std::string& label, const std::string& text)
{
    std::string line = "  " + label;
    line.resize(std::max<std::size_t>(line.size() + 1, 22), ' ');
    return line + text + "\n";
}

std::string constellation(std::string_view talker)
{
    constexpr std::pair<std::string_view, std::string_view> kNames[] = {
        {"GP", "GPS"}, {"GL", "GLONASS"}, {"GA", "Galileo"}, {"GB", "BeiDou"}, {"BD", "BeiDou"},
        {"GQ", "QZSS"}, {"GI", "NavIC"},  {"GN", "combined"},
    };
    const std::string shown = escapeDeviceText(talker);
    for (const auto& [code, name] : kNames)
        if (code == talker) return std::string(name) + " (" + shown + "):";
    return shown + ":";
}

// "21 / 38 / 47 dB-Hz"
std::string cn0Text(const Spread& cn0)
{
    return shortestText(cn0.min) + " / " + shortestText(cn0.median) + " / " + shortestText(cn0.max) + " dB-Hz";
}

// "12 satellites, C/N0 21 / 38 / 47 dB-Hz"
std::string signalText(const SignalFigures& signal)
{
    const std::string text = count(signal.satellites) + (signal.satellites == 1 ? " satellite" : " satellites");
    return text + (signal.cn0 ? ", C/N0 " + cn0Text(*signal.cn0) : ", no C/N0");
}

// One line for each constellation, signal by signal where it has several.
std::string satellitesSeen(const ByText<ByText<SignalFigures>>& gsv)
{
    if (gsv.empty()) return row("Satellites seen:", "none reported (no GSV sentence)");
    std::string text;
    for (const auto& [talker, signals] : gsv) {
        std::string line;
        for (const auto& [id, signal] : signals) {
            if (!line.empty()) line += "; ";
            if (signals.size() > 1) line += id.empty() ? "no signal ID: " : "signal " + escapeDeviceText(id) + ": ";
            line += signalText(signal);
        }
        text += row(constellation(talker), line);
    }
    return text;
}

std::string binaryFrames(const HealthFigures& figures)
{
    std::string text;
    const auto add = [&](const ByText<std::uint64_t>& frames, const char* protocol) {
        for (const auto& [kind, n] : frames) text += (text.empty() ? "" : ", ") + (protocol + kind) + " " + count(n);
    };
    add(figures.ubxFrames, "UBX ");
    add(figures.rtcm3Frames, "RTCM 3 ");
    return text.empty() ? "none" : text;
}

}  // namespace

std::string jsonReport(const HealthFigures& figures, const Verdict& verdict, std::string_view leading)
{
    std::string json = "{";
    if (!leading.empty()) json.append(leading).append(",");
    json += "\"bytes\":" + count(figures.bytes) + ",\"noise_bytes\":" + count(figures.noiseBytes);
    json += ",\"sentences\":" + jsonObject(figures.sentences, [](const SentenceCounts& c) {
        return "{\"count\":" + count(c.count) + ",\"checksum_invalid\":" + count(c.checksumInvalid) +
               ",\"checksum_absent\":" + count(c.checksumAbsent) + "}";
    });
    json += ",\"damaged\":{\"cut\":" + count(figures.cutSentences) + ",\"malformed\":" +
            count(figures.malformedSentences) + "}";
    json += ",\"damaged_share\":" + jsonNumber(figures.damagedShare());
    json += ",\"binary\":{\"ubx\":" + jsonObject(figures.ubxFrames, count) +
            ",\"rtcm3\":" + jsonObject(figures.rtcm3Frames, count) + "}";
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
    json += ",\"gsv\":" + jsonObject(figures.gsv, [](const ByText<SignalFigures>& signals) {
        return jsonObject(signals, [](const SignalFigures& signal) {
            return "{\"in_view\":" + jsonSpread(signal.inView) + ",\"cn0\":" + jsonSpread(signal.cn0) +
                   ",\"satellites\":" + count(signal.satellites) + "}";
        });
    });
    json += ",\"cn0\":" + jsonSpread(figures.cn0);
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

std::vector<std::pair<std::string, std::string>> headlineFigures(const HealthFigures& figures)
{
    std::vector<std::pair<std::string, std::string>> pairs = {
        {"bytes", count(figures.bytes)},
        {"noise_bytes", count(figures.noiseBytes)},
        {"sentences", count(figures.sentenceCount())},
        {"gga.count", count(figures.ggaCount)},
        {"gga.fixes", count(figures.fixes)},
        {"window_recognises", figures.windowRecognises ? "true" : "false"},
    };
    const auto add = [&](const char* name, const std::optional<double>& value) {
        if (value && std::isfinite(*value)) pairs.emplace_back(name, shortestText(*value));
    };
    const auto median = [](const std::optional<Spread>& spread) {
        return spread ? std::optional(spread->median) : std::nullopt;
    };
    add("damaged_share", figures.damagedShare());
    add("position.cep50_m", figures.scatter ? std::optional(figures.scatter->cep50) : std::nullopt);
    add("position.cep95_m", figures.scatter ? std::optional(figures.scatter->cep95) : std::nullopt);
    add("satellites_used.median", median(figures.satellitesUsed));
    add("hdop.median", median(figures.hdop));
    add("cn0.median", median(figures.cn0));
    add("ttff_s", figures.ttffSeconds);
    add("gga_interval_s", figures.ggaIntervalSeconds);
    return pairs;
}

std::string textReport(const HealthFigures& figures, const Verdict& verdict, const std::string& source)
{
    std::string text = "Receiver health check of " + source + ": " + (verdict.pass ? "PASS" : "FAIL") + "\n";
    text += row("Bytes:", count(figures.bytes) + ", of which noise " + count(figures.noiseBytes));
    text += row("Sentences:", count(figures.sentenceCount()) + ", " + count(figures.checksumInvalidCount()) +
                                  " with an invalid checksum");
    text += row("", textList(figures.sentences, [](const SentenceCounts& c) { return c.count; }));
    text += row("Damaged:", figures.damagedCount() > 0 ? damagedText(figures) : "none");
    text += row("Binary frames:", binaryFrames(figures));
    text += row("Talkers:", textList(figures.talkers, [](std::uint64_t n) { return n; }));
    text += row("GGA:", count(figures.ggaCount) + " sentences, " + count(figures.fixes) + " with a fix; quality " +
                            escapeDeviceText(qualitiesText(figures.quality)));
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
    text += satellitesSeen(figures.gsv);
    text += row("C/N0:", figures.cn0 ? cn0Text(*figures.cn0) + " (min / median / max of every signal)" : "none reported");
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
