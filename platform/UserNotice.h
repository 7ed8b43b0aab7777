#pragma once
#include <functional>
#include <string>

// Things the user must hear of although nobody waits for an answer: a file
// that could not be saved, a folder that cannot be written. Every notice
// goes to stderr and the log; while the window runs it is also shown there
// (the sink), after whatever question is on screen.
class UserNotice
{
public:
    using Sink = std::function<void(const std::string& text)>;

    static constexpr const char* kCaption = "Quobrix提示";

    // Text in UTF-8. Never blocks.
    static void Post(const std::string& text);
    // The window's sink; an empty one ends the showing.
    static void SetSink(Sink sink);
};
