// SPDX-License-Identifier: BSD-2-Clause
#include "auto_detect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "failure.h"
#include "gps_port.h"
#include "sentence_log.h"

namespace veltrane {
namespace {

// A machine whose ports are described by a table, opened through the real
// port opening; the time only moves when the search waits.
class FakePorts final : public SerialComponent {
public:
    bool isOpen() const override { return open_; }
    void setOpen(bool open) override
    {
        if (open) {
            if (refused.count(commPort_)) throw Failure(10, refused.at(commPort_));
            if (!existing.count(commPort_)) throw Failure(kPortDoesNotExist, "no such port");
            ++openings;
        }
        open_ = open;
        openedAt = now;
    }
    void setReceiveThreshold(int) override {}
    void setCommPort(int port) override { commPort_ = port; }
    void setSettings(const std::string& settings) override { settings_ = settings; }
    std::int64_t bytesWaiting() override { return 0; }
    std::string readAll() override { return {}; }

    bool isOpenAt(int comm, const std::string& baud) const
    {
        return open_ && commPort_ == comm && settings_ == baud + ",n,8,1";
    }

    std::map<int, bool> existing;               // Comm number -> present
    std::map<int, std::string> refused;         // Comm number -> failure description
    int openings = 0;
    double now = 0;
    double openedAt = 0;

private:
    bool open_ = false;
    int commPort_ = 0;
    std::string settings_;
};

struct Device {
    int comm;
    std::string baud;
    bool speaksNmea;      // otherwise it sends text nothing recognises
    double recognisedAfter = 0.3;
};

class FakeLoop final : public DetectionLoop {
public:
    FakeLoop(FakePorts& ports, StatusFields& fields) : ports_(ports), fields_(&fields) {}

    std::chrono::duration<double> timeOfDay() override { return std::chrono::duration<double>(ports_.now); }
    void runPending() override { step(0); }
    void runPendingUntil(std::chrono::duration<double> deadline) override
    {
        EXPECT_LT(ports_.now, deadline.count()) << "waited past its deadline";
        step(0.05);
        if (onStep) onStep();
    }

    std::optional<Device> device;
    std::function<void()> onStep;
    void forgetFields() { fields_ = nullptr; }

private:
    void step(double seconds)
    {
        ports_.now += seconds;
        if (!fields_ || !device || !ports_.isOpenAt(device->comm, device->baud)) return;
        if (fields_->reads(Field::Found, kNo)) fields_->set(Field::Found, kYes);
        if (device->speaksNmea && ports_.now - ports_.openedAt >= device->recognisedAfter)
            fields_->set(Field::IsGps, kYes);
    }

    FakePorts& ports_;
    StatusFields* fields_;
};

class FakeView final : public DetectionView {
public:
    void setSettingsCaption(const std::string& caption) override { captions.push_back(caption); }
    void setAutoEnabled(bool enabled) override { autoEnabled = enabled; }
    void showMessage(Icon icon, const std::string& text) override { messages.push_back({icon, text}); }

    std::vector<std::string> captions;
    bool autoEnabled = true;
    std::vector<std::pair<Icon, std::string>> messages;
};

struct Trial {
    int comm;
    std::string baud;
    double startedAt;
};

struct Search {
    Search()
    {
        ports.now = 1000.3;
        for (int comm = 1; comm <= 15; ++comm) ports.existing[comm] = true;
        detect.onTrying = [this](int comm, const std::string& baud) {
            trials.push_back({comm, baud, ports.now});
        };
    }
    void run()
    {
        selection.port.select(0);
        selection.baud.select(0);
        detect.run();
    }
    std::vector<std::pair<int, std::string>> combinations() const
    {
        std::vector<std::pair<int, std::string>> tried;
        for (const Trial& t : trials) tried.emplace_back(t.comm, t.baud);
        return tried;
    }

    StatusFields fields;
    SentenceLog log;
    PortSelection selection;
    FakePorts ports;
    GpsPort port{fields, log, ports, selection};
    FakeLoop loop{ports, fields};
    FakeView view;
    AutoDetect detect{selection, fields, view, loop};
    std::vector<Trial> trials;
};

TEST(AutoDetect, StopsAtTheFirstCombinationRecognisedAsGps)
{
    Search s;
    s.loop.device = Device{3, "4800", true};
    s.loop.onStep = [&] {
        EXPECT_FALSE(s.selection.port.enabled());
        EXPECT_FALSE(s.selection.baud.enabled());
        EXPECT_FALSE(s.view.autoEnabled);
    };
    s.run();
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "4800"}, {1, "9600"}, {2, "4800"}, {2, "9600"}, {3, "4800"}};
    EXPECT_EQ(s.combinations(), expected);
    EXPECT_EQ(s.selection.port.selectedIndex(), 2);
    EXPECT_EQ(s.selection.baud.selectedIndex(), 0);
    EXPECT_TRUE(s.ports.isOpenAt(3, "4800"));
    EXPECT_TRUE(s.view.messages.empty());
    EXPECT_EQ(s.view.captions, (std::vector<std::string>{"Autodetecting GPS device...", "GPS Device Settings"}));
    EXPECT_TRUE(s.selection.port.enabled() && s.selection.baud.enabled() && s.view.autoEnabled);
}

// Comm 1 at 4800 showed a receiver that has since been unplugged: the first
// combination opens the port again instead of reading the indicators it left.
TEST(AutoDetect, TheCombinationAlreadySelectedIsOpenedAfreshToo)
{
    Search s;
    s.selection.port.select(0);
    s.selection.baud.select(0);
    for (const Field indicator : {Field::CommOk, Field::Found, Field::IsGps}) s.fields.set(indicator, kYes);
    s.ports.existing.erase(1);
    s.loop.device = Device{2, "4800", true};
    s.detect.run();
    const std::vector<std::pair<int, std::string>> expected = {{1, "4800"}, {1, "9600"}, {2, "4800"}};
    EXPECT_EQ(s.combinations(), expected);
    EXPECT_TRUE(s.ports.isOpenAt(2, "4800"));
}

TEST(AutoDetect, TriesAllThirtyAndSaysSoWhenNothingAnswers)
{
    Search s;
    s.run();
    ASSERT_EQ(s.trials.size(), 30u);
    EXPECT_EQ(s.trials.back().comm, 15);
    EXPECT_EQ(s.trials.back().baud, "9600");
    EXPECT_EQ(s.selection.port.selectedIndex(), 14);
    EXPECT_EQ(s.selection.baud.selectedIndex(), 1);
    ASSERT_EQ(s.view.messages.size(), 1u);
    EXPECT_EQ(s.view.messages[0].first, DetectionView::Icon::Information);
    EXPECT_EQ(s.view.messages[0].second, kNotDetectedMessage);
    // A silent combination costs its first wait only: up to the next whole second plus one.
    for (std::size_t i = 1; i < s.trials.size(); ++i) {
        const double mark = std::nearbyint(s.trials[i - 1].startedAt);
        EXPECT_GE(s.trials[i].startedAt, mark + 1);
        EXPECT_LT(s.trials[i].startedAt, mark + 1.06);
    }
}

TEST(AutoDetect, WaitsFourSecondsOnTextThatIsNotRecognised)
{
    Search s;
    s.ports.existing.erase(3);
    s.loop.device = Device{2, "4800", false};
    s.run();
    ASSERT_GE(s.trials.size(), 4u);
    const double mark = std::nearbyint(s.trials[2].startedAt);
    EXPECT_EQ(s.trials[2].comm, 2);
    EXPECT_GE(s.trials[3].startedAt, mark + 4);
    EXPECT_LT(s.trials[3].startedAt, mark + 4.06);
    const double silentMark = std::nearbyint(s.trials[3].startedAt);
    EXPECT_LT(s.trials[4].startedAt, silentMark + 1.06);
}

TEST(AutoDetect, ARecognisedSentenceDoesNotShortenTheFirstWait)
{
    Search s;
    s.loop.device = Device{1, "4800", true, 0.05};
    s.run();
    ASSERT_EQ(s.trials.size(), 1u);
    const double mark = std::nearbyint(s.trials[0].startedAt);
    EXPECT_GE(s.ports.now, mark + 1);
    EXPECT_LT(s.ports.now, mark + 1.06);
}

TEST(AutoDetect, MovesOnPastAPortThatRefusesToOpen)
{
    Search s;
    s.ports.refused[1] = "permission denied: add your user to the dialout group";
    s.loop.device = Device{2, "9600", true};
    std::vector<std::string> qualityDuringComm1;
    s.loop.onStep = [&] {
        if (s.trials.back().comm == 1) qualityDuringComm1.push_back(s.fields.read(Field::Quality));
    };
    s.run();
    EXPECT_EQ(s.combinations().back(), (std::pair<int, std::string>{2, "9600"}));
    ASSERT_FALSE(qualityDuringComm1.empty());
    for (const std::string& quality : qualityDuringComm1)
        EXPECT_EQ(quality, "permission denied: add your user to the dialout group");
    EXPECT_TRUE(s.view.messages.empty());
}

TEST(AutoDetect, AFailureOfItsOwnShowsTheWarningAndRestoresTheControls)
{
    Search s;
    s.loop.onStep = [&] {
        if (s.trials.size() == 2) throw Failure(7, "event loop gone");
    };
    s.run();
    ASSERT_EQ(s.view.messages.size(), 1u);
    EXPECT_EQ(s.view.messages[0].first, DetectionView::Icon::Warning);
    EXPECT_EQ(s.view.messages[0].second, kSearchFailedMessage);
    EXPECT_EQ(s.view.captions.back(), "GPS Device Settings");
    EXPECT_TRUE(s.selection.port.enabled() && s.view.autoEnabled);
    EXPECT_EQ(s.selection.port.selectedIndex(), 0);
    EXPECT_EQ(s.selection.baud.selectedIndex(), 1);
}

TEST(AutoDetect, ClosingDuringASearchStopsItWithoutTouchingTheClosedWindow)
{
    FakePorts ports;
    ports.existing[1] = true;
    FakeView view;
    struct Window {
        Window(FakePorts& ports, FakeView& view, DetectionLoop& loop)
            : port(fields, log, ports, selection), detect(selection, fields, view, loop) {}
        StatusFields fields;
        SentenceLog log;
        PortSelection selection;
        GpsPort port;
        AutoDetect detect;
    };
    StatusFields unused;
    FakeLoop loop(ports, unused);
    auto window = std::make_unique<Window>(ports, view, loop);
    int waits = 0;
    int openingsAtClose = -1;
    loop.onStep = [&] {
        if (++waits != 30) return;
        openingsAtClose = ports.openings;
        // The window closes and is destroyed while the search waits in the event loop.
        window->detect.shutdown();
        window.reset();
        view.captions.clear();
    };
    window->detect.run();
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(ports.openings, openingsAtClose);
    EXPECT_TRUE(view.captions.empty());
    EXPECT_TRUE(view.messages.empty());
}

}  // namespace
}  // namespace veltrane
