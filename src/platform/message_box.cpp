#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

std::mutex handlerMutex;
MessageBoxHandler& handlerSlot() {
    static MessageBoxHandler handler;
    return handler;
}

Uint32 sdlFlags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return SDL_MESSAGEBOX_ERROR;
        case MessageIcon::Warning:
            return SDL_MESSAGEBOX_WARNING;
        case MessageIcon::Information:
        case MessageIcon::Question:
            return SDL_MESSAGEBOX_INFORMATION;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

bool boxesGoToStderrOnly() {
    const char* choice = std::getenv("SPOOKHOLLOW_MESSAGE_BOX");
    if (choice != nullptr && std::strcmp(choice, "stderr") == 0) {
        return true;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0');
}

}  // namespace

void setMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard<std::mutex> lock(handlerMutex);
    handlerSlot() = std::move(handler);
}

void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> lock(handlerMutex);
        handler = handlerSlot();
    }
    if (handler) {
        handler(MessageBoxRequest{caption, text, icon});
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    if (!boxesGoToStderrOnly()) {
        SDL_ShowSimpleMessageBox(sdlFlags(icon), caption.c_str(), text.c_str(), nullptr);
    }
}

}  // namespace platform
