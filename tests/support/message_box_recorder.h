#pragma once
#include <vector>

#include "platform/message_box.h"

// Replaces the modal message box for its lifetime and records every request,
// so no test ever waits on a box.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<platform::MessageBoxRequest>& boxes() const { return m_boxes; }
    void clear() { m_boxes.clear(); }

private:
    std::vector<platform::MessageBoxRequest> m_boxes;
};
