#pragma once
#include <functional>
#include <string>

namespace platform {

enum class MessageIcon { Information, Error, Warning, Question };

struct MessageBoxRequest {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::Information;
};

// Shows a modal box with one OK button and returns when it is closed. Caption
// and text are also written to standard error, which is all that happens when
// no box can be shown (no display, or SPOOKHOLLOW_MESSAGE_BOX=stderr).
void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon);

// Replaces the box with a handler (tests record the requests instead of
// waiting on a modal window). An empty handler restores the real box.
using MessageBoxHandler = std::function<void(const MessageBoxRequest&)>;
void setMessageBoxHandler(MessageBoxHandler handler);

}  // namespace platform
