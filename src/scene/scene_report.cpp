#include "scene/scene_report.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "app/error_reporter.h"

void ListingLine::append(const char* format, ...) {
    if (m_length >= sizeof m_text - 1) {
        return;
    }
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(m_text + m_length, sizeof m_text - m_length, format, args);
    va_end(args);
    if (written > 0) {
        m_length += static_cast<unsigned>(written);
        if (m_length > sizeof m_text - 1) {
            m_length = sizeof m_text - 1;
        }
    }
}

void ListingLine::emit() const {
    logMessage("%s", m_text);
}

long long objectIdentity(const void* object) {
    return static_cast<long long>(reinterpret_cast<std::intptr_t>(object));
}
