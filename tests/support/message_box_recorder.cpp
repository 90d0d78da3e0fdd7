#include "support/message_box_recorder.h"

MessageBoxRecorder::MessageBoxRecorder() {
    platform::setMessageBoxHandler(
        [this](const platform::MessageBoxRequest& request) { m_boxes.push_back(request); });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    platform::setMessageBoxHandler(nullptr);
}
