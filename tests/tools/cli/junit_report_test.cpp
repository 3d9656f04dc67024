// SPDX-License-Identifier: BSD-2-Clause
#include "junit_report.h"

#include <gtest/gtest.h>

namespace veltrane::cli {
namespace {

// What CI servers count, and device text that could break the document or
// a terminal turned into harmless characters.
TEST(JunitReport, CountsEachResultAndEscapesDeviceText)
{
    const std::string hostile = "/dev/a<b>&\"'\x01\x7f";
    const std::string xml = junitXml("veltrane-cli check", {
        {"Comm 1", 60, JunitCase::Result::Passed, {}, {{"baud", "9600"}}},
        {hostile, 12.5, JunitCase::Result::Failed, {"no fix", "lost <" + hostile}, {}},
        {"Comm 3", 0, JunitCase::Result::Skipped, {"no receiver"}, {}},
    });
    for (const char* part : {
             R"(<testsuite name="veltrane-cli check" tests="3" failures="1" errors="0" skipped="1" time="60.000">)",
             R"(<property name="baud" value="9600"/>)",
             R"(<testcase name="/dev/a&lt;b&gt;&amp;&quot;&apos;\x01\x7f" classname="veltrane-cli check" time="12.500">)",
             R"(<failure message="no fix; lost &lt;/dev/a&lt;b&gt;&amp;&quot;&apos;\x01\x7f" type="unhealthy">)",
             R"(<skipped message="no receiver"/>)",
         })
        EXPECT_NE(xml.find(part), std::string::npos) << part << "\n" << xml;
    EXPECT_EQ(std::count_if(xml.begin(), xml.end(), [](char c) { return c >= 0 && c < 0x20 && c != '\n'; }), 0);
}

}  // namespace
}  // namespace veltrane::cli
