// SPDX-License-Identifier: BSD-2-Clause
#include "ports_command.h"

#include <gtest/gtest.h>

#include "exit_status.h"

namespace veltrane::cli {
namespace {

std::vector<SystemPort> systemPorts()
{
    SystemPort receiver{"ttyACM0", "/dev/ttyACM0", "u-blox GNSS \x1b[2Jreceiver", "u-blox AG", "0\"1", 0x1546, 0x01a9};
    return {{"ttyS0", "/dev/ttyS0"}, receiver};
}

// Each port once: the Comm map's lines first, with what the system knows of
// a device it lists, then the system's ports no Comm number names. Device
// texts never reach a terminal or a JSON reader raw.
TEST(PortsCommand, ListsTheMapAndTheSystemsPortsWithWhatItKnows)
{
    const CommMap map(std::string("1=/dev/pts/4,2=/dev/ttyACM0"), systemPorts);
    const struct {
        bool json;
        const char* expected;
    } cases[] = {
        {false,
         "Comm 1   /dev/pts/4\n"
         "Comm 2   /dev/ttyACM0  (u-blox GNSS \\x1b[2Jreceiver, u-blox AG, serial 0\"1, USB 1546:01a9)\n"
         "         /dev/ttyS0\n"},
        {true,
         R"({"device":"/dev/pts/4","comm":1,"listed":false,"description":"","manufacturer":"","serial_number":"",)"
         R"("vendor_id":null,"product_id":null})"
         "\n"
         R"({"device":"/dev/ttyACM0","comm":2,"listed":true,"description":"u-blox GNSS \u001b[2Jreceiver",)"
         R"("manufacturer":"u-blox AG","serial_number":"0\"1","vendor_id":"1546","product_id":"01a9"})"
         "\n"
         R"({"device":"/dev/ttyS0","comm":null,"listed":true,"description":"","manufacturer":"","serial_number":"",)"
         R"("vendor_id":null,"product_id":null})"
         "\n"},
    };
    for (const auto& c : cases) {
        StringOutput out;
        StringOutput err;
        EXPECT_EQ(runPorts({c.json}, map, out, err), kExitSuccess);
        EXPECT_EQ(out.text(), c.expected);
        EXPECT_EQ(err.text(), "");
    }

    StringOutput out;
    StringOutput err;
    EXPECT_EQ(runPorts({}, CommMap(std::string()), out, err), kExitNoReceiver);
    EXPECT_EQ(out.text(), "");
}

}  // namespace
}  // namespace veltrane::cli
