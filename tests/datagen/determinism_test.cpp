#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "generated_tree.h"

namespace fs = std::filesystem;
using namespace datagen_test;

namespace {

std::map<std::string, std::string> readTree(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).string()] = readFile(entry.path().string());
        }
    }
    return files;
}

}  // namespace

TEST(DatagenTree, EveryFileTheGameOpensIsWritten) {
    ASSERT_FALSE(generatedRoot().empty()) << "the generator failed";
    for (const std::string& file : gameFiles()) {
        EXPECT_TRUE(fileExists(resource(file))) << file;
        EXPECT_FALSE(readFile(resource(file)).empty()) << file;
    }
}

TEST(DatagenTree, GeneratingTwiceGivesByteIdenticalTrees) {
    ASSERT_FALSE(generatedRoot().empty()) << "the generator failed";
    TempDir second;
    ASSERT_TRUE(runGenerator(second.path() + "/resources"));
    std::map<std::string, std::string> a = readTree(generatedRoot());
    std::map<std::string, std::string> b = readTree(second.path() + "/resources");
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        auto other = b.find(name);
        ASSERT_NE(other, b.end()) << name << " missing from the second run";
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }
}

TEST(DatagenTree, AFolderThatCannotBeCreatedIsAFailure) {
    TempDir dir;
    writeFile(dir.file("blocked"), "a file where the folder should go");
    EXPECT_FALSE(runGenerator(dir.file("blocked") + "/resources"));
}
