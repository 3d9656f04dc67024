// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace veltrane::cli {

// One receiver as a CI server reads it: a test case named by its port.
struct JunitCase {
    enum class Result { Passed, Failed, Skipped };

    std::string name;  // device text
    double seconds;
    Result result;
    std::vector<std::string> reasons;  // of a failure or a skip; device text
    std::vector<std::pair<std::string, std::string>> properties;
};

// A JUnit XML document: one test suite, one test case each, a failure element
// with the reasons of each that failed, a skipped element for a port without
// a receiver, and each case's figures as its properties. Every device text is
// escaped first, so the document holds no character XML forbids.
std::string junitXml(const std::string& suite, const std::vector<JunitCase>& cases);

}  // namespace veltrane::cli
