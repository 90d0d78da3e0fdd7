#include "app/error_reporter.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/message_box.h"

namespace {

ErrorReporter* g_errorReporter = nullptr;

struct KindInfo {
    const char* caption;
    platform::MessageIcon icon;
};

KindInfo kindInfo(int kind) {
    using platform::MessageIcon;
    switch (kind) {
        case ERROR_NONE:
            return {"All Okay", MessageIcon::Information};
        case ERROR_GENERIC:
        case ERROR_GENERAL:
            return {"Error", MessageIcon::Error};
        case ERROR_MEMORY:
            return {"Memory Error", MessageIcon::Error};
        case ERROR_WINDOWS:
            return {"Windows Error", MessageIcon::Error};
        case ERROR_SETUP_CANCELED:
            return {"Setup Canceled", MessageIcon::Information};
        case ERROR_VIDEO_CARD:
            return {"Video Card Error", MessageIcon::Error};
        case ERROR_DIRECTX:
            return {"DirectX Error", MessageIcon::Error};
        case ERROR_OPENGL:
            return {"OpenGL Error", MessageIcon::Error};
        case ERROR_GAME:
            return {"Game Error", MessageIcon::Error};
        case ERROR_OPENAL:
            return {"OpenAL Error", MessageIcon::Error};
        case ERROR_OGG_VORBIS:
            return {"OGG Vorbis Error", MessageIcon::Error};
        default:
            return {"Unknown Message", MessageIcon::Question};
    }
}

bool isKnownKind(int kind) {
    return kind >= ERROR_NONE && kind <= ERROR_OGG_VORBIS;
}

// "name.ext" stays as it is (any three-character extension); anything else
// gets ".txt". snprintf cuts an over-long result to the buffer.
void deriveLogName(const char* logName, char* out, std::size_t size) {
    if (logName == nullptr) {
        std::snprintf(out, size, "%s", "errorLog.txt");
        return;
    }
    std::size_t length = std::strlen(logName);
    if (length > 4 && logName[length - 4] == '.') {
        std::snprintf(out, size, "%s", logName);
    } else {
        std::snprintf(out, size, "%s.txt", logName);
    }
}

void writeLogHeader(const char* fileName) {
    std::FILE* file = std::fopen(fileName, "wt");
    if (file == nullptr) {
        return;  // a log that cannot be created is ignored
    }
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32];
    char time[16];
    // The header's date format (MM/DD/YY) is fixed by the log format.
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year % 100);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    std::fprintf(file, "Date(M/D/Y): %s ", date);
    std::fprintf(file, "%s\n\n", time);
    std::fclose(file);
}

}  // namespace

ErrorReporter* errorReporter() {
    return g_errorReporter;
}

ErrorReporter::ErrorReporter(const char* logName, bool loggingEnabled)
    : m_loggingEnabled(loggingEnabled) {
    g_errorReporter = this;
    std::snprintf(m_message, MESSAGE_SIZE, "%s", "No Error");
    deriveLogName(logName, m_logFileName, LOG_NAME_SIZE);
    if (m_loggingEnabled) {
        writeLogHeader(m_logFileName);
    }
}

ErrorReporter::~ErrorReporter() {
    if (g_errorReporter == this) {
        g_errorReporter = nullptr;
    }
    closeTraceFile();
}

bool ErrorReporter::startTrace(const std::string& destination) {
    std::FILE* sink = destination == "-" ? stderr : std::fopen(destination.c_str(), "w");
    if (sink == nullptr) {
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    closeTraceFile();
    m_trace = sink;
    m_traceStart = std::chrono::steady_clock::now();
    return true;
}

// Standard error is not ours to close.
void ErrorReporter::closeTraceFile() {
    if (m_trace != nullptr && m_trace != stderr) {
        std::fclose(m_trace);
    }
    m_trace = nullptr;
}

bool ErrorReporter::tracing() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_trace != nullptr;
}

void ErrorReporter::traceV(const char* format, va_list args) {
    char line[MESSAGE_SIZE - 1];
    std::vsnprintf(line, sizeof line, format, args);
    std::lock_guard<std::mutex> lock(m_mutex);
    traceLocked(line);
}

// Called with the lock held. Flushed line by line: whoever reads the trace
// (a test waiting on the game, a player's bug report after a crash) needs
// every line written so far.
void ErrorReporter::traceLocked(const char* text) {
    if (m_trace == nullptr) {
        return;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_traceStart).count();
    std::fprintf(m_trace, "%.3f %s\n", seconds, text);
    std::fflush(m_trace);
}

void ErrorReporter::setError(int kind, const char* format, ...) {
    va_list args;
    va_start(args, format);
    setErrorV(kind, format, args);
    va_end(args);
}

void ErrorReporter::setErrorV(int kind, const char* format, va_list args) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Formatting stops at 1022 characters; the last byte stays a terminator.
    std::vsnprintf(m_message, MESSAGE_SIZE - 1, format, args);
    m_message[MESSAGE_SIZE - 1] = '\0';
    m_kind = kind;
    appendToLog(m_message);
    if (kind != ERROR_NONE && m_trace != nullptr) {
        std::string line = "error " + std::to_string(kind) + " " + m_message;
        traceLocked(line.c_str());
    }
}

// Called with the lock held.
void ErrorReporter::appendToLog(const char* text) {
    if (!m_loggingEnabled) {
        return;
    }
    std::FILE* file = std::fopen(m_logFileName, "at");
    if (file != nullptr) {
        std::fprintf(file, "%s\n", text);
        std::fclose(file);
    }
}

void ErrorReporter::logLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    logLineV(format, args);
    va_end(args);
}

void ErrorReporter::logLineV(const char* format, va_list args) {
    char line[MESSAGE_SIZE - 1];
    std::vsnprintf(line, sizeof line, format, args);
    std::lock_guard<std::mutex> lock(m_mutex);
    appendToLog(line);
    if (m_trace != nullptr) {
        traceLocked((std::string("log ") + line).c_str());
    }
}

void ErrorReporter::postErrorV(int kind, const char* format, va_list args) {
    char text[MESSAGE_SIZE - 1];
    std::vsnprintf(text, sizeof text, format, args);
    std::lock_guard<std::mutex> lock(m_mutex);
    appendToLog(text);
    if (m_trace != nullptr) {
        traceLocked(("error " + std::to_string(kind) + " " + text).c_str());
    }
    if (m_pending.size() < PENDING_LIMIT) {
        m_pending.push_back(Posted{kind, text});
    }
}

bool ErrorReporter::showPending() {
    std::vector<Posted> pending;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        pending.swap(m_pending);
    }
    // The boxes open without the lock, so a thread posting meanwhile never waits on one.
    for (const Posted& posted : pending) {
        KindInfo info = kindInfo(posted.kind);
        platform::showMessageBox(
            info.caption, isKnownKind(posted.kind) ? posted.text : "Unrecognized Error Message",
            info.icon);
    }
    return !pending.empty();
}

void ErrorReporter::showError() {
    int kind;
    std::string text;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        kind = m_kind;
        text = isKnownKind(kind) ? m_message : "Unrecognized Error Message";
    }
    KindInfo info = kindInfo(kind);
    platform::showMessageBox(info.caption, text, info.icon);
}

int ErrorReporter::getErrorKind() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_kind;
}

std::string ErrorReporter::getMessage() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_message;
}

const char* ErrorReporter::captionFor(int kind) {
    return kindInfo(kind).caption;
}

void reportError(int kind, const char* format, ...) {
    va_list args;
    va_start(args, format);
    reportErrorV(kind, format, args);
    va_end(args);
}

void reportErrorV(int kind, const char* format, va_list args) {
    ErrorReporter* reporter = errorReporter();
    if (reporter != nullptr) {
        reporter->setErrorV(kind, format, args);
    }
}

void reportShowReset(const char* resetText, int kind, const char* format, ...) {
    ErrorReporter* reporter = errorReporter();
    if (reporter == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    reporter->setErrorV(kind, format, args);
    va_end(args);
    reporter->showError();
    reporter->setError(ERROR_NONE, "%s", resetText);
}

void showAndReset(const char* resetText) {
    ErrorReporter* reporter = errorReporter();
    if (reporter == nullptr) {
        return;
    }
    reporter->showError();
    reporter->setError(ERROR_NONE, "%s", resetText);
}

void logMessage(const char* format, ...) {
    ErrorReporter* reporter = errorReporter();
    if (reporter == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    reporter->logLineV(format, args);
    va_end(args);
}

void postError(int kind, const char* format, ...) {
    ErrorReporter* reporter = errorReporter();
    if (reporter == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    reporter->postErrorV(kind, format, args);
    va_end(args);
}

bool showPendingErrors() {
    ErrorReporter* reporter = errorReporter();
    return reporter != nullptr && reporter->showPending();
}

void traceEvent(const char* format, ...) {
    ErrorReporter* reporter = errorReporter();
    if (reporter == nullptr || !reporter->tracing()) {
        return;
    }
    va_list args;
    va_start(args, format);
    reporter->traceV(format, args);
    va_end(args);
}
