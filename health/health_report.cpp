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
void writeNumber(JsonWriter& json, const std::optional<double>& value)
{
    if (value && std::isfinite(*value))
        json.raw(shortestText(*value));
    else
        json.null();
}

// One figure of a spread or a scatter that may not be known.
template <class Whole>
std::optional<double> partOf(const std::optional<Whole>& whole, double Whole::*figure)
{
    return whole ? std::optional((*whole).*figure) : std::nullopt;
}

void writeSpread(JsonWriter& json, const std::optional<Spread>& spread)
{
    json.beginObject();
    writeNumber(json.key("min"), partOf(spread, &Spread::min));
    writeNumber(json.key("median"), partOf(spread, &Spread::median));
    writeNumber(json.key("max"), partOf(spread, &Spread::max));
    json.endObject();
}

template <class Value, class Write>
void writeObject(JsonWriter& json, const ByText<Value>& map, Write write)
{
    json.beginObject();
    for (const auto& [key, value] : map) write(json.key(key), value);
    json.endObject();
}

void writeCount(JsonWriter& json, std::uint64_t value) { json.value(value); }

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

void writeJsonReport(JsonWriter& json, const HealthFigures& figures, const Verdict& verdict)
{
    json.member("bytes", figures.bytes).member("noise_bytes", figures.noiseBytes);
    writeObject(json.key("sentences"), figures.sentences, [](JsonWriter& json, const SentenceCounts& c) {
        json.beginObject()
            .member("count", c.count)
            .member("checksum_invalid", c.checksumInvalid)
            .member("checksum_absent", c.checksumAbsent)
            .endObject();
    });
    json.key("damaged")
        .beginObject()
        .member("cut", figures.cutSentences)
        .member("malformed", figures.malformedSentences)
        .endObject();
    writeNumber(json.key("damaged_share"), figures.damagedShare());
    json.key("binary").beginObject();
    writeObject(json.key("ubx"), figures.ubxFrames, writeCount);
    writeObject(json.key("rtcm3"), figures.rtcm3Frames, writeCount);
    json.endObject();
    writeObject(json.key("talkers"), figures.talkers, writeCount);
    json.key("gga").beginObject().member("count", figures.ggaCount).member("fixes", figures.fixes);
    writeObject(json.key("quality"), figures.quality, writeCount);
    json.endObject();
    json.key("position").beginObject().member("count", figures.positionCount);
    writeNumber(json.key("mean_lat"), partOf(figures.scatter, &Scatter::meanLatitude));
    writeNumber(json.key("mean_lon"), partOf(figures.scatter, &Scatter::meanLongitude));
    writeNumber(json.key("cep50_m"), partOf(figures.scatter, &Scatter::cep50));
    writeNumber(json.key("cep95_m"), partOf(figures.scatter, &Scatter::cep95));
    json.endObject();
    writeSpread(json.key("satellites_used"), figures.satellitesUsed);
    writeSpread(json.key("hdop"), figures.hdop);
    writeObject(json.key("gsv"), figures.gsv, [](JsonWriter& json, const ByText<SignalFigures>& signals) {
        writeObject(json, signals, [](JsonWriter& json, const SignalFigures& signal) {
            json.beginObject();
            writeSpread(json.key("in_view"), signal.inView);
            writeSpread(json.key("cn0"), signal.cn0);
            json.member("satellites", signal.satellites).endObject();
        });
    });
    writeSpread(json.key("cn0"), figures.cn0);
    writeNumber(json.key("ttff_s"), figures.ttffSeconds);
    writeNumber(json.key("gga_interval_s"), figures.ggaIntervalSeconds);
    json.member("window_recognises", figures.windowRecognises).member("verdict", verdict.pass ? "pass" : "fail");
    json.key("reasons").beginArray();
    for (const std::string& reason : verdict.reasons) json.value(reason);
    json.endArray();
}

std::string jsonReport(const HealthFigures& figures, const Verdict& verdict)
{
    std::string text;
    JsonWriter json(text);
    json.beginObject();
    writeJsonReport(json, figures, verdict);
    json.endObject();
    return text + "\n";
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
    add("damaged_share", figures.damagedShare());
    add("position.cep50_m", partOf(figures.scatter, &Scatter::cep50));
    add("position.cep95_m", partOf(figures.scatter, &Scatter::cep95));
    add("satellites_used.median", partOf(figures.satellitesUsed, &Spread::median));
    add("hdop.median", partOf(figures.hdop, &Spread::median));
    add("cn0.median", partOf(figures.cn0, &Spread::median));
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
