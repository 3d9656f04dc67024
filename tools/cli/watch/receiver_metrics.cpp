// SPDX-License-Identifier: BSD-2-Clause
#include "receiver_metrics.h"

#include <functional>
#include <sstream>

#include <prometheus/text_serializer.h>

#include "device_text.h"

namespace veltrane::watch {

namespace {

using prometheus::ClientMetric;
using prometheus::MetricFamily;
using prometheus::MetricType;
using Labels = std::vector<ClientMetric::Label>;

std::string portLabel(const std::string& port)
{
    std::string text;
    appendEscapedUserText(text, port);
    return text;
}

// Adds the families of one metric: `each` is called once per receiver with
// a function that adds one series of it.
class Families {
public:
    using Add = std::function<void(Labels, double)>;

    Families(const std::vector<ReceiverSample>& samples) : samples_(samples)
    {
        // Escaped once per scrape, not once per family.
        for (const ReceiverSample& sample : samples_) ports_.push_back(portLabel(sample.port));
    }

    void add(std::string name, std::string help, MetricType type,
             const std::function<void(const ReceiverSample&, const Add&)>& each)
    {
        MetricFamily family{std::move(name), std::move(help), type, {}};
        for (std::size_t i = 0; i < samples_.size(); ++i) {
            each(samples_[i], [&](Labels labels, double value) {
                ClientMetric metric;
                metric.label.push_back({"port", ports_[i]});
                metric.label.insert(metric.label.end(), labels.begin(), labels.end());
                (type == MetricType::Counter ? metric.counter.value : metric.gauge.value) = value;
                family.metric.push_back(std::move(metric));
            });
        }
        if (!family.metric.empty()) families_.push_back(std::move(family));
    }

    std::vector<MetricFamily> take() { return std::move(families_); }

private:
    const std::vector<ReceiverSample>& samples_;
    std::vector<std::string> ports_;  // each sample's port as a label value
    std::vector<MetricFamily> families_;
};

double flag(bool value) { return value ? 1 : 0; }
double count(std::uint64_t value) { return static_cast<double>(value); }

// The first kLabelledSignals talker and signal pairs, with their labels.
template <class Value>
void eachSignal(const health::ByText<health::ByText<Value>>& bySignal,
                const std::function<void(Labels, const Value&)>& each)
{
    std::size_t labelled = 0;
    for (const auto& [talker, signals] : bySignal) {
        for (const auto& [id, value] : signals) {
            if (labelled++ == kLabelledSignals) return;
            each({{"talker", escapeDeviceText(talker)}, {"signal", escapeDeviceText(id)}}, value);
        }
    }
}

}  // namespace

std::vector<MetricFamily> metricFamilies(const std::vector<ReceiverSample>& samples)
{
    constexpr MetricType kGauge = MetricType::Gauge;
    constexpr MetricType kCounter = MetricType::Counter;
    using Add = Families::Add;
    Families families(samples);
    families.add("veltrane_receiver_up", "1 while the port is open and a byte arrived in the last 5 s", kGauge,
                 [](const ReceiverSample& s, const Add& add) { add({}, flag(s.up)); });
    families.add("veltrane_receiver_healthy", "1 when the health check passes over the window", kGauge,
                 [](const ReceiverSample& s, const Add& add) { add({}, flag(s.healthy)); });
    families.add("veltrane_receiver_fix_quality", "The last GGA quality as a number, -1 before any", kGauge,
                 [](const ReceiverSample& s, const Add& add) { add({}, s.fixQuality); });
    families.add("veltrane_receiver_satellites_used", "Satellites used, from the last GGA with a fix", kGauge,
                 [](const ReceiverSample& s, const Add& add) {
                     if (s.satellitesUsed) add({}, *s.satellitesUsed);
                 });
    families.add("veltrane_receiver_hdop", "HDOP, from the last GGA with a fix", kGauge,
                 [](const ReceiverSample& s, const Add& add) {
                     if (s.hdop) add({}, *s.hdop);
                 });
    families.add("veltrane_receiver_satellites_in_view", "Satellites in view, from the last complete GSV set", kGauge,
                 [](const ReceiverSample& s, const Add& add) {
                     eachSignal<double>(s.satellitesInView, [&](Labels labels, double value) { add(labels, value); });
                 });
    families.add("veltrane_receiver_cn0_dbhz", "C/N0 of the GSV sentences over the window, in dB-Hz", kGauge,
                 [](const ReceiverSample& s, const Add& add) {
                     eachSignal<health::Spread>(s.cn0, [&](const Labels& labels, const health::Spread& spread) {
                         const auto stat = [&](const char* name) {
                             Labels withStat = labels;
                             withStat.push_back({"stat", name});
                             return withStat;
                         };
                         add(stat("min"), spread.min);
                         add(stat("median"), spread.median);
                         add(stat("max"), spread.max);
                     });
                 });
    families.add("veltrane_receiver_bytes_total", "Bytes read from the port", kCounter,
                 [](const ReceiverSample& s, const Add& add) { add({}, count(s.counts.bytes)); });
    families.add("veltrane_receiver_noise_bytes_total", "Bytes that are neither a sentence, a frame nor a line end",
                 kCounter, [](const ReceiverSample& s, const Add& add) { add({}, count(s.counts.noiseBytes)); });
    families.add("veltrane_receiver_sentences_total", "Sentences by address; past 64 addresses, under \"other\"",
                 kCounter, [](const ReceiverSample& s, const Add& add) {
                     for (const auto& [address, n] : s.counts.sentences) add({{"address", escapeDeviceText(address)}}, count(n));
                     if (s.counts.otherSentences > 0) add({{"address", "other"}}, count(s.counts.otherSentences));
                 });
    families.add("veltrane_receiver_checksum_errors_total", "Sentences with an invalid checksum", kCounter,
                 [](const ReceiverSample& s, const Add& add) { add({}, count(s.counts.checksumErrors)); });
    families.add("veltrane_receiver_damaged_sentences_total", "Sentences cut short or with a malformed address",
                 kCounter, [](const ReceiverSample& s, const Add& add) {
                     add({{"kind", "cut"}}, count(s.counts.cutSentences));
                     add({{"kind", "malformed"}}, count(s.counts.malformedSentences));
                 });
    families.add("veltrane_receiver_binary_frames_total", "Binary frames by protocol", kCounter,
                 [](const ReceiverSample& s, const Add& add) {
                     add({{"protocol", "ubx"}}, count(s.counts.ubxFrames));
                     add({{"protocol", "rtcm3"}}, count(s.counts.rtcm3Frames));
                 });
    families.add("veltrane_receiver_time_to_first_fix_seconds", "Time to the first fix since the port was last opened",
                 kGauge, [](const ReceiverSample& s, const Add& add) {
                     if (s.ttffSeconds) add({}, *s.ttffSeconds);
                 });
    families.add("veltrane_receiver_last_fix_timestamp_seconds", "When the last GGA with a fix arrived, Unix time",
                 kGauge, [](const ReceiverSample& s, const Add& add) {
                     if (s.lastFixUnixSeconds) add({}, *s.lastFixUnixSeconds);
                 });
    families.add("veltrane_receiver_reopenings_total", "Times the port was opened again after it went away", kCounter,
                 [](const ReceiverSample& s, const Add& add) { add({}, count(s.reopenings)); });
    return families.take();
}

std::string exposition(const std::vector<MetricFamily>& families)
{
    std::ostringstream out;
    prometheus::TextSerializer().Serialize(out, families);
    return out.str();
}

}  // namespace veltrane::watch
