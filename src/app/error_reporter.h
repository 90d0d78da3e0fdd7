#pragma once
#include <chrono>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

// Error kinds: the number stored with every message. The kind picks the
// caption and icon of the box that shows the message.
enum ErrorKind : int {
    ERROR_NONE = 0,
    ERROR_GENERIC = 1,
    ERROR_GENERAL = 2,
    ERROR_MEMORY = 3,
    ERROR_WINDOWS = 4,
    ERROR_SETUP_CANCELED = 5,
    ERROR_VIDEO_CARD = 6,
    ERROR_DIRECTX = 7,
    ERROR_OPENGL = 8,
    ERROR_GAME = 9,
    ERROR_OPENAL = 10,
    ERROR_OGG_VORBIS = 11,
};

// Stores the last failure (kind and formatted message), shows it in a message
// box on request, and appends every stored message to a plain-text log.
//
// Only the main thread stores and shows. Another thread (the audio streaming
// thread) posts instead: its message is logged at once and waits, apart from
// the stored one, until the main thread shows it with showPending(). So no
// box ever opens off the main thread, and a thread never shows or resets
// what the main thread stored. One lock guards the state and the log file.
class ErrorReporter {
public:
    static constexpr std::size_t LOG_NAME_SIZE = 260;  // 259 characters + terminator
    static constexpr std::size_t MESSAGE_SIZE = 1024;  // 1022 characters kept, see setError

    ErrorReporter(const char* logName, bool loggingEnabled);
    ~ErrorReporter();
    ErrorReporter(const ErrorReporter&) = delete;
    ErrorReporter& operator=(const ErrorReporter&) = delete;

    void setError(int kind, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void setErrorV(int kind, const char* format, va_list args)
        __attribute__((format(printf, 3, 0)));
    void showError();
    // Appends a line to the log without storing it: for notes that are not
    // failures to show (debug listings, a save that could not be written).
    void logLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void logLineV(const char* format, va_list args) __attribute__((format(printf, 2, 0)));
    // From a thread other than the main one: log now, show later.
    void postErrorV(int kind, const char* format, va_list args)
        __attribute__((format(printf, 3, 0)));
    // Main thread: shows every posted message in the order posted and forgets
    // them; the stored message is left alone. False when none was waiting.
    bool showPending();
    int getErrorKind() const;
    std::string getMessage() const;
    const char* logFileName() const { return m_logFileName; }

    // The box caption and text for a kind (the text is the stored message,
    // or a fixed text for an unknown kind).
    static const char* captionFor(int kind);

    // The trace: an opt-in account of what the game does, one line per
    // event, each with the seconds since the trace began ("0.412 state
    // MainMenu"). Every message stored, logged or posted is traced too
    // ("error 9 Can not open ...", "log ..."). "-" is standard error;
    // false (and no trace) when the file cannot be created.
    bool startTrace(const std::string& destination);
    bool tracing() const;
    void traceV(const char* format, va_list args) __attribute__((format(printf, 2, 0)));

    // At most this many posted messages wait; later ones are only logged.
    static constexpr std::size_t PENDING_LIMIT = 8;

private:
    struct Posted {
        int kind;
        std::string text;
    };
    void appendToLog(const char* text);
    void traceLocked(const char* text);
    void closeTraceFile();

    mutable std::mutex m_mutex;
    char m_logFileName[LOG_NAME_SIZE] = {};
    char m_message[MESSAGE_SIZE] = {};
    int m_kind = ERROR_NONE;
    bool m_loggingEnabled = false;
    std::vector<Posted> m_pending;
    std::FILE* m_trace = nullptr;
    std::chrono::steady_clock::time_point m_traceStart;
};

// The one program-wide reporter (null before start-up creates it).
ErrorReporter* errorReporter();

// The two texts a reset stores: start-up and audio use the first, the scene,
// asset and GUI code the second.
// KEPT: two texts for one meaning; the error log has always shown both.
constexpr const char* RESET_NONE = "None";
constexpr const char* RESET_NO_ERROR = "No Error.";

// The reporting vocabulary. Each is quiet when no reporter exists (tools and
// tests use the engine without one).
// Report: store kind and message (and log it).
void reportError(int kind, const char* format, ...) __attribute__((format(printf, 2, 3)));
void reportErrorV(int kind, const char* format, va_list args) __attribute__((format(printf, 2, 0)));
// The usual failure path: report, show, then reset with resetText.
void reportShowReset(const char* resetText, int kind, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Shows what is stored, then resets with resetText.
void showAndReset(const char* resetText);
// Log only: the stored message and kind stay as they are.
void logMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// For threads other than the main one, instead of any of the above: logged
// at once, shown by the main thread's next showPendingErrors().
void postError(int kind, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Main thread, once per frame and before exit: shows what other threads
// posted. True when a box was shown.
bool showPendingErrors();
// One line of the trace (see ErrorReporter::startTrace); nothing when off.
void traceEvent(const char* format, ...) __attribute__((format(printf, 1, 2)));
