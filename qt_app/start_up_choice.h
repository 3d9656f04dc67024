// SPDX-License-Identifier: BSD-2-Clause
#pragma once

namespace veltrane {

// A choice Qt reads only from the environment, while the application object
// is built. make() sets the variable unless the user set it already; forget()
// takes back only what make() set, so that the programs started later (the
// browser the web link opens) do not inherit it.
class StartUpChoice {
public:
    explicit StartUpChoice(const char* variable) : variable_(variable) {}

    void make();
    void forget();

private:
    const char* variable_;
    bool madeHere_ = false;
};

}  // namespace veltrane
