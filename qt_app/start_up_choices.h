// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <initializer_list>
#include <vector>

namespace veltrane {

// Choices Qt reads only from the environment, while the application object
// is built: while this object lives, each variable is set to 1 unless the user
// set it already. Its end takes back only what it set, so that the programs
// started later (the browser the web link opens) do not inherit the choices.
class StartUpChoices {
public:
    explicit StartUpChoices(std::initializer_list<const char*> variables);
    ~StartUpChoices();
    StartUpChoices(const StartUpChoices&) = delete;
    StartUpChoices& operator=(const StartUpChoices&) = delete;

private:
    std::vector<const char*> madeHere_;
};

}  // namespace veltrane
