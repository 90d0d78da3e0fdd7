#include "app/error_reporter.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>

#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

class ErrorReporterTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    MessageBoxRecorder boxes;
};

TEST_F(ErrorReporterTest, LogNameRules) {
    struct Case {
        const char* given;
        const char* expected;
    } cases[] = {
        {"ErrorLog", "ErrorLog.txt"}, {"log.txt", "log.txt"}, {"abcd", "abcd.txt"},
        {"notes.md", "notes.md.txt"}, {"x.y.zip", "x.y.zip"}, {"data.json", "data.json.txt"},
        {nullptr, "errorLog.txt"},
    };
    for (const Case& c : cases) {
        ErrorReporter reporter(c.given, false);
        EXPECT_STREQ(reporter.logFileName(), c.expected) << (c.given ? c.given : "(null)");
    }
}

TEST_F(ErrorReporterTest, OverlongLogNameIsCutWithoutOverrun) {
    std::string longName(400, 'n');
    ErrorReporter reporter(longName.c_str(), false);
    EXPECT_EQ(std::string(reporter.logFileName()).size(), 259u);
}

TEST_F(ErrorReporterTest, FreshLogHoldsHeaderAndEmptyLineThenEveryMessage) {
    ErrorReporter reporter("ErrorLog", true);
    std::string fresh = readFile(dir.file("ErrorLog.txt"));
    EXPECT_TRUE(
        std::regex_match(fresh, std::regex(R"(Date\(M/D/Y\): \d\d/\d\d/\d\d \d\d:\d\d:\d\d\n\n)")))
        << fresh;

    reporter.setError(ERROR_GENERAL, "Can not open %s", "a.tga");
    reporter.setError(ERROR_NONE, "None");
    std::string after = readFile(dir.file("ErrorLog.txt"));
    EXPECT_EQ(after, fresh + "Can not open a.tga\nNone\n");
    EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE);
    EXPECT_EQ(reporter.getMessage(), "None");
}

TEST_F(ErrorReporterTest, ConstructionStoresNoErrorAndSecondRunTruncates) {
    {
        ErrorReporter first("ErrorLog", true);
        first.setError(ERROR_GAME, "first run");
    }
    ErrorReporter second("ErrorLog", true);
    EXPECT_EQ(second.getMessage(), "No Error");
    EXPECT_EQ(second.getErrorKind(), 0);
    EXPECT_EQ(readFile(dir.file("ErrorLog.txt")).find("first run"), std::string::npos);
}

TEST_F(ErrorReporterTest, LoggingOffWritesNothing) {
    ErrorReporter reporter("quiet", false);
    reporter.setError(ERROR_GENERAL, "not logged");
    EXPECT_FALSE(fileExists(dir.file("quiet.txt")));
    EXPECT_EQ(reporter.getMessage(), "not logged");
}

TEST_F(ErrorReporterTest, UncreatableLogIsIgnoredAndMessageStillStored) {
    ErrorReporter reporter("no/such/folder/log", true);
    reporter.setError(ERROR_GENERAL, "still stored");
    EXPECT_EQ(reporter.getMessage(), "still stored");
    EXPECT_EQ(reporter.getErrorKind(), ERROR_GENERAL);
}

TEST_F(ErrorReporterTest, LongMessageIsCutTo1022Characters) {
    ErrorReporter reporter("ErrorLog", true);
    std::string huge(5000, 'x');
    reporter.setError(ERROR_GENERAL, "%s", huge.c_str());
    EXPECT_EQ(reporter.getMessage().size(), 1022u);
    std::string log = readFile(dir.file("ErrorLog.txt"));
    EXPECT_NE(log.find(std::string(1022, 'x') + "\n"), std::string::npos);
    EXPECT_EQ(log.find(std::string(1023, 'x')), std::string::npos);
}

TEST_F(ErrorReporterTest, ShowErrorPicksCaptionAndIconByKind) {
    ErrorReporter reporter(nullptr, false);
    reporter.setError(0, "fine");
    reporter.showError();
    reporter.setError(5, "cancelled");
    reporter.showError();
    reporter.setError(12, "strange");
    reporter.showError();
    reporter.setError(10, "no source");
    reporter.showError();
    ASSERT_EQ(boxes.boxes().size(), 4u);
    EXPECT_EQ(boxes.boxes()[0].caption, "All Okay");
    EXPECT_EQ(boxes.boxes()[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(boxes.boxes()[0].text, "fine");
    EXPECT_EQ(boxes.boxes()[1].caption, "Setup Canceled");
    EXPECT_EQ(boxes.boxes()[1].icon, platform::MessageIcon::Information);
    EXPECT_EQ(boxes.boxes()[2].caption, "Unknown Message");
    EXPECT_EQ(boxes.boxes()[2].icon, platform::MessageIcon::Question);
    EXPECT_EQ(boxes.boxes()[2].text, "Unrecognized Error Message");
    EXPECT_EQ(boxes.boxes()[3].caption, "OpenAL Error");
    EXPECT_EQ(boxes.boxes()[3].icon, platform::MessageIcon::Error);
    // Showing does not change what is stored.
    EXPECT_EQ(reporter.getErrorKind(), 10);
}

TEST_F(ErrorReporterTest, CaptionTable) {
    const char* expected[] = {"All Okay",         "Error",         "Error",
                              "Memory Error",     "Windows Error", "Setup Canceled",
                              "Video Card Error", "DirectX Error", "OpenGL Error",
                              "Game Error",       "OpenAL Error",  "OGG Vorbis Error"};
    for (int kind = 0; kind <= 11; ++kind) {
        EXPECT_STREQ(ErrorReporter::captionFor(kind), expected[kind]) << kind;
    }
    EXPECT_STREQ(ErrorReporter::captionFor(-1), "Unknown Message");
}

TEST_F(ErrorReporterTest, ProgramWidePointerFollowsLifetime) {
    {
        ErrorReporter reporter(nullptr, false);
        EXPECT_EQ(errorReporter(), &reporter);
    }
    EXPECT_EQ(errorReporter(), nullptr);
}

TEST_F(ErrorReporterTest, LoggedNotesLeaveTheStoredErrorAlone) {
    ErrorReporter reporter("ErrorLog", true);
    reporter.setError(ERROR_GAME, "Can not open %s.", "a.tga");
    std::string before = readFile(dir.file("ErrorLog.txt"));
    logMessage("Transform name_%s", "hall");
    reporter.logLine("%s", std::string(2000, 'y').c_str());
    EXPECT_EQ(reporter.getErrorKind(), ERROR_GAME);
    EXPECT_EQ(reporter.getMessage(), "Can not open a.tga.");
    EXPECT_EQ(readFile(dir.file("ErrorLog.txt")),
              before + "Transform name_hall\n" + std::string(1022, 'y') + "\n");
    EXPECT_TRUE(boxes.boxes().empty());
}

// A posting thread never opens a box and never touches what the main thread
// stored; the main thread shows the posts, in order, when it asks.
TEST_F(ErrorReporterTest, PostedErrorsWaitForTheMainThread) {
    ErrorReporter reporter("ErrorLog", true);
    reporter.setError(ERROR_GENERAL, "main thread's own");
    std::thread worker([] {
        postError(ERROR_OGG_VORBIS, "Audio File %s", "music.ogg");
        postError(ERROR_OPENAL, "Could not queue buffer");
        postError(42, "odd kind");
    });
    worker.join();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(reporter.getMessage(), "main thread's own");
    std::string log = readFile(dir.file("ErrorLog.txt"));
    EXPECT_NE(log.find("main thread's own\nAudio File music.ogg\nCould not queue buffer\n"),
              std::string::npos)
        << log;

    EXPECT_TRUE(showPendingErrors());
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxes.boxes()[0].caption, "OGG Vorbis Error");
    EXPECT_EQ(boxes.boxes()[0].text, "Audio File music.ogg");
    EXPECT_EQ(boxes.boxes()[1].caption, "OpenAL Error");
    EXPECT_EQ(boxes.boxes()[2].text, "Unrecognized Error Message");
    EXPECT_EQ(reporter.getErrorKind(), ERROR_GENERAL);
    EXPECT_FALSE(showPendingErrors());
    EXPECT_EQ(boxes.boxes().size(), 3u);
}

TEST_F(ErrorReporterTest, PostsBeyondTheLimitAreOnlyLogged) {
    ErrorReporter reporter("ErrorLog", true);
    for (std::size_t i = 0; i < ErrorReporter::PENDING_LIMIT + 5; ++i) {
        postError(ERROR_OPENAL, "post %zu", i);
    }
    showPendingErrors();
    EXPECT_EQ(boxes.boxes().size(), ErrorReporter::PENDING_LIMIT);
    std::string last = "post " + std::to_string(ErrorReporter::PENDING_LIMIT + 4);
    EXPECT_NE(readFile(dir.file("ErrorLog.txt")).find(last), std::string::npos);
}

TEST_F(ErrorReporterTest, HelpersAreQuietWithoutAReporter) {
    ASSERT_EQ(errorReporter(), nullptr);
    reportError(ERROR_GAME, "x");
    reportShowReset(RESET_NO_ERROR, ERROR_GAME, "x");
    showAndReset(RESET_NONE);
    logMessage("x");
    postError(ERROR_OPENAL, "x");
    EXPECT_FALSE(showPendingErrors());
    EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace

// Events, stored failures, log lines and posted failures each make one
// timed trace line; resets do not, and nothing is traced before it starts.
TEST_F(ErrorReporterTest, TraceHasOneTimedLinePerEventAndFailure) {
    ErrorReporter reporter("ErrorLog", true);
    traceEvent("before the trace");
    EXPECT_FALSE(reporter.tracing());
    EXPECT_FALSE(reporter.startTrace(dir.file("no/such/folder/trace.txt")));
    ASSERT_TRUE(reporter.startTrace(dir.file("trace.txt")));
    traceEvent("state %s", "MainMenu");
    reportError(ERROR_GAME, "Can not open %s", "arrow.qvr");
    reporter.setError(ERROR_NONE, "No Error.");
    logMessage("a note");
    postError(ERROR_OPENAL, "from a thread");
    std::string trace = readFile(dir.file("trace.txt"));
    EXPECT_TRUE(std::regex_match(trace, std::regex(R"(\d+\.\d{3} state MainMenu
\d+\.\d{3} error 9 Can not open arrow\.qvr
\d+\.\d{3} log a note
\d+\.\d{3} error 10 from a thread
)"))) << trace;
}
