#include "qt_serial_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pty_pair.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::PtyPair;
using testing::runUntil;

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

struct OpenFailureCase {
    QSerialPort::SerialPortError error;
    bool accessible;
    const char* group;
    int number;
    const char* description;
};

// A user without access cannot be staged when the tests run as root, so the
// wording is checked here and the rest through real ports below.
TEST(OpenFailure, TellsAPersonWhatToDo)
{
    const OpenFailureCase cases[] = {
        {QSerialPort::DeviceNotFoundError, true, "dialout", kPortDoesNotExist, "Comm 3 (/dev/ttyUSB0) does not exist"},
        {QSerialPort::PermissionError, false, "dialout", kPortRefused,
         "Comm 3 (/dev/ttyUSB0): permission denied: add your user to the dialout group, then log in again"},
        {QSerialPort::PermissionError, false, "uucp", kPortRefused, "add your user to the uucp group"},
        {QSerialPort::PermissionError, true, "dialout", kPortInUse,
         "is in use by another program (another monitor, or a daemon such as gpsd)"},
        {QSerialPort::UnsupportedOperationError, true, "dialout", kPortRefused, "refuses these line settings (why)"},
        {QSerialPort::UnknownError, true, "dialout", kPortRefused, "cannot be opened as a serial port (why)"},
    };
    for (const OpenFailureCase& c : cases) {
        const Failure failure = describeOpenFailure(3, "/dev/ttyUSB0", c.error, "why", c.accessible, c.group);
        EXPECT_EQ(failure.number(), c.number) << c.description;
        EXPECT_TRUE(contains(failure.what(), c.description)) << failure.what();
    }
}

Failure openFailure(QtSerialPort& port)
{
    try {
        port.setPortOpen(true);
    } catch (const Failure& failure) {
        return failure;
    }
    return Failure(0, "opened");
}

TEST(QtSerialPort, NumbersWithoutADeviceAreThePortDoesNotExistFailure)
{
    QtSerialPort port(CommMap(std::string("1=/dev/veltrane-no-such-device")));
    port.setSettings("4800,n,8,1");
    port.setCommPort(2);
    const Failure unmapped = openFailure(port);
    EXPECT_EQ(unmapped.number(), kPortDoesNotExist);
    EXPECT_TRUE(contains(unmapped.what(), "Comm 2 names no device: map it with VELTRANE_PORTS")) << unmapped.what();

    port.setCommPort(1);
    EXPECT_EQ(openFailure(port).number(), kPortDoesNotExist);
    EXPECT_FALSE(port.PortOpen());
}

TEST(QtSerialPort, SomethingThatIsNotASerialPortIsRefusedWithTheReason)
{
    for (const char* device : {"/dev/null", "/tmp"}) {
        QtSerialPort port(CommMap("1=" + std::string(device)));
        port.setSettings("4800,n,8,1");
        const Failure failure = openFailure(port);
        EXPECT_EQ(failure.number(), kPortRefused) << device << ": " << failure.what();
        EXPECT_TRUE(contains(failure.what(), "Comm 1 (" + std::string(device) + ")")) << failure.what();
        EXPECT_FALSE(port.PortOpen());
    }
}

TEST(QtSerialPort, APortHeldByAnotherProgramIsInUse)
{
    PtyPair receiver;
    QtSerialPort holder(CommMap("1=" + receiver.path()));
    holder.setSettings("4800,n,8,1");
    holder.setPortOpen(true);

    QtSerialPort second(CommMap("4=" + receiver.path()));
    second.setCommPort(4);
    second.setSettings("4800,n,8,1");
    const Failure failure = openFailure(second);
    EXPECT_EQ(failure.number(), kPortInUse) << failure.what();
    EXPECT_TRUE(contains(failure.what(), "Comm 4 (" + receiver.path() + ") is in use by another program"))
        << failure.what();

    EXPECT_EQ(openFailure(holder).number(), kPortInUse) << "opening an open port again";
    EXPECT_TRUE(holder.PortOpen());
}

TEST(QtSerialPort, OpensWithTheLineSettingsAndDeliversWhatArrives)
{
    PtyPair receiver;
    QtSerialPort port(CommMap("2=" + receiver.path()));
    std::string received;
    int events = 0;
    port.setOnComm([&] {
        ++events;
        if (port.InBufferCount() > 0) received += port.Input();
    });
    port.setRThreshold(1);
    port.setCommPort(2);
    port.setSettings("9600,n,8,1");
    port.setPortOpen(true);
    ASSERT_TRUE(port.PortOpen());
    EXPECT_EQ(receiver.speed(), B9600);

    const std::string bytes = "$GPGGA,1\r\n\xB0\x01$";
    receiver.send(bytes);
    ASSERT_TRUE(runUntil([&] { return received.size() >= bytes.size(); }));
    EXPECT_EQ(received, bytes);
    EXPECT_GE(events, 1);

    port.setPortOpen(false);
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(port.errorsSeen(), 0u) << "opening and closing are no errors";
}

TEST(QtSerialPort, RefusesBadSettingsAndThresholdBeforeTouchingThePort)
{
    QtSerialPort port{CommMap(std::string())};
    EXPECT_THROW(port.setSettings(",n,8,1"), Failure);
    EXPECT_THROW(port.setRThreshold(-1), Failure);
}

TEST(QtSerialPort, AnUnplugClosesThePortReportsOnceAndLeavesTheLoopIdle)
{
    PtyPair receiver;
    QtSerialPort port(CommMap("1=" + receiver.path()));
    std::string received;
    std::vector<Failure> failures;
    port.setOnComm([&] {
        try {
            if (port.InBufferCount() > 0) received += port.Input();
        } catch (const Failure& failure) {
            failures.push_back(failure);
        }
    });
    port.setRThreshold(1);
    port.setSettings("4800,n,8,1");
    port.setPortOpen(true);

    // A hang-up flushes what the line still held, so the words must be read first.
    receiver.send("last words");
    ASSERT_TRUE(runUntil([&] { return received.size() == 10; }));
    receiver.unplug();
    ASSERT_TRUE(runUntil([&] { return !port.PortOpen(); }));
    testing::runFor(100ms);

    EXPECT_EQ(received, "last words");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].number(), kDeviceDisconnected);
    EXPECT_TRUE(contains(failures[0].what(), "Comm 1 (" + receiver.path() + "): device disconnected; reconnect")) << failures[0].what();
    EXPECT_TRUE(contains(failures[0].what(), "select the port again")) << failures[0].what();
    EXPECT_GE(port.errorsSeen(), 1u);
    EXPECT_LE(port.errorsSeen(), 10u) << "errors after the first one are not waited out";

    // A port left open after the unplug would wake the loop on every turn.
    EXPECT_LT(testing::wakeUpsDuring(300ms), 50);
    EXPECT_EQ(failures.size(), 1u);
}

}  // namespace
}  // namespace veltrane
