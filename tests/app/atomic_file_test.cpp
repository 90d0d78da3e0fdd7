#include "app/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/temp_dir.h"

namespace {

// Each way a save can fail names what failed, keeps the old file and leaves
// no temporary file behind. (Tests run as root too, so permissions are not
// used to make a write fail.)
TEST(AtomicFile, FailuresSayWhyAndLeaveNothingBehind) {
    TempDir dir;
    writeFile(dir.file("blocker"), "a file where a folder should be");
    ASSERT_EQ(::mkdir(dir.file("folder.dat").c_str(), 0755), 0);
    writeFile(dir.file("busy.dat"), "old");
    ASSERT_EQ(::mkdir(dir.file("busy.dat.tmp").c_str(), 0755), 0);

    struct Case {
        std::string path;
        std::string reasonStart;
    } cases[] = {
        {dir.file("blocker/save/data.dat"),
         "can not create the folder " + dir.file("blocker/save")},
        {dir.file("busy.dat"), "can not create " + dir.file("busy.dat.tmp") + ": Is a directory"},
        {dir.file("folder.dat"), "can not replace " + dir.file("folder.dat") + ": Is a directory"},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_FALSE(writeFileAtomically(c.path, "new", &reason)) << c.path;
        EXPECT_EQ(reason.rfind(c.reasonStart, 0), 0u) << reason;
    }
    EXPECT_EQ(readFile(dir.file("busy.dat")), "old");
    EXPECT_FALSE(fileExists(dir.file("folder.dat.tmp")));

    std::string reason = "untouched";
    EXPECT_TRUE(writeFileAtomically(dir.file("new/deeper/file.txt"), "contents", &reason));
    EXPECT_EQ(readFile(dir.file("new/deeper/file.txt")), "contents");
    EXPECT_EQ(reason, "untouched");
    EXPECT_TRUE(writeFileAtomically(dir.file("new/deeper/file.txt"), "again"));
    EXPECT_EQ(readFile(dir.file("new/deeper/file.txt")), "again");
}

}  // namespace
