// SPDX-License-Identifier: BSD-2-Clause
#include "junit_report.h"

#include <algorithm>

#include "device_text.h"
#include "number_text.h"

namespace veltrane::cli {

namespace {

// Device text as XML character data or an attribute's value: control
// characters as visible escapes (XML 1.0 forbids most of them even as
// references), then XML's own five.
std::string xml(const std::string& deviceText)
{
    std::string text;
    for (const char c : escapeDeviceText(deviceText)) {
        switch (c) {
        case '&': text += "&amp;"; break;
        case '<': text += "&lt;"; break;
        case '>': text += "&gt;"; break;
        case '"': text += "&quot;"; break;
        case '\'': text += "&apos;"; break;
        default: text += c;
        }
    }
    return text;
}

std::string attribute(const std::string& name, const std::string& value) { return " " + name + "=\"" + xml(value) + "\""; }

std::string joined(const std::vector<std::string>& reasons)
{
    std::string text;
    for (const std::string& reason : reasons) text += (text.empty() ? "" : "; ") + reason;
    return text;
}

std::string testCase(const std::string& suite, const JunitCase& c)
{
    std::string text = "  <testcase" + attribute("name", c.name) + attribute("classname", suite) +
                       attribute("time", health::fixedText(c.seconds, 3)) + ">\n";
    if (!c.properties.empty()) {
        text += "    <properties>\n";
        for (const auto& [name, value] : c.properties)
            text += "      <property" + attribute("name", name) + attribute("value", value) + "/>\n";
        text += "    </properties>\n";
    }
    if (c.result == JunitCase::Result::Failed) {
        text += "    <failure" + attribute("message", joined(c.reasons)) + attribute("type", "unhealthy") + ">";
        for (const std::string& reason : c.reasons) text += xml(reason) + "\n";
        text += "</failure>\n";
    }
    if (c.result == JunitCase::Result::Skipped) text += "    <skipped" + attribute("message", joined(c.reasons)) + "/>\n";
    return text + "  </testcase>\n";
}

}  // namespace

std::string junitXml(const std::string& suite, const std::vector<JunitCase>& cases)
{
    const auto count = [&](JunitCase::Result result) {
        return std::to_string(std::count_if(cases.begin(), cases.end(),
                                            [result](const JunitCase& c) { return c.result == result; }));
    };
    double seconds = 0;
    for (const JunitCase& c : cases) seconds = std::max(seconds, c.seconds);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite" + attribute("name", suite) +
                       attribute("tests", std::to_string(cases.size())) +
                       attribute("failures", count(JunitCase::Result::Failed)) + attribute("errors", "0") +
                       attribute("skipped", count(JunitCase::Result::Skipped)) +
                       attribute("time", health::fixedText(seconds, 3)) + ">\n";
    for (const JunitCase& c : cases) text += testCase(suite, c);
    return text + "</testsuite>\n";
}

}  // namespace veltrane::cli
