#pragma once

#include <string>

namespace kerbina {

// What a grid command needs from the window around it: a Yes/No question and a notice, both with
// the heading "確認". The window answers through its message-box helper; tests script the answers.
class CommandHost {
public:
    virtual ~CommandHost() = default;

    // true for Yes.
    virtual bool ask(const std::string& text) = 0;
    virtual void notify(const std::string& text) = 0;
};

} // namespace kerbina
