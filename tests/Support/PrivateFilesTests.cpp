#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "Support/PrivateFiles.h"

using namespace orvel;
namespace fs = std::filesystem;
using Kind = PrivateFileError::Kind;

namespace {

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return 0;
    return info.st_mode & 07777;
}

std::string contentOf(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class PrivateFilesTest : public ::testing::Test {
protected:
    fs::path folder() const { return fs::path(temporary.path().toStdString()); }
    void put(const fs::path& path, const std::string& text, mode_t mode = 0644) const {
        std::ofstream(path) << text;
        ::chmod(path.c_str(), mode);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(folder())) out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    QTemporaryDir temporary;
};

// A permissive umask must not widen anything; every path the component creates is private.
TEST_F(PrivateFilesTest, WhatItCreatesIsPrivateEvenUnderAPermissiveUmask) {
    fs::create_directory(folder() / "open");
    ::chmod((folder() / "open").c_str(), 0755);
    struct Case {
        const char* name;
        std::function<PrivateFileResult<>()> make;
        fs::path made;
        mode_t mode;
    };
    const Case cases[] = {
        {"new folder and parent", [&] { return privateFiles::ensureFolder(folder() / "a" / "b"); }, folder() / "a", 0700},
        {"existing open folder", [&] { return privateFiles::ensureFolder(folder() / "open"); }, folder() / "open", 0700},
        {"written file", [&] { return privateFiles::writeAtomically(folder() / "w", "x"); }, folder() / "w", 0600},
        {"appended file", [&] { return privateFiles::append(folder() / "log", "x\n"); }, folder() / "log", 0600},
    };
    const mode_t previous = ::umask(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.make(), PrivateFileResult<>{});
        EXPECT_EQ(modeOf(c.made), c.mode);
    }
    ::umask(previous);
    EXPECT_EQ(modeOf(folder() / "a" / "b"), 0700u);
}

TEST_F(PrivateFilesTest, ALinkIsNeverFollowed) {
    const fs::path victim = folder() / "someone-elses";
    struct Case {
        const char* name;
        fs::path link;
        std::function<std::optional<Kind>()> act;  // the error kind, nullopt for success
        bool linkReplaced;
    };
    auto kindOf = [](const auto& result) -> std::optional<Kind> {
        if (result) return std::nullopt;
        return result.error().kind;
    };
    const Case cases[] = {
        {"write over it", folder() / "target",
         [&] { return kindOf(privateFiles::writeAtomically(folder() / "target", "mine")); }, true},
        {"append to it", folder() / "log", [&] { return kindOf(privateFiles::append(folder() / "log", "mine")); },
         false},
        {"read it", folder() / "read", [&] { return kindOf(privateFiles::readIfPresent(folder() / "read")); }, false},
        {"folder in its place", folder() / "sub", [&] { return kindOf(privateFiles::ensureFolder(folder() / "sub")); },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put(victim, "theirs", 0644);
        fs::create_symlink(victim, c.link);
        const auto error = c.act();
        EXPECT_EQ(error, c.linkReplaced ? std::nullopt : std::optional(Kind::symbolicLink));
        EXPECT_EQ(fs::is_symlink(c.link), !c.linkReplaced);
        EXPECT_EQ(contentOf(victim), "theirs");
        EXPECT_EQ(modeOf(victim), 0644u);
    }
    EXPECT_EQ(contentOf(folder() / "target"), "mine");
}

TEST_F(PrivateFilesTest, AFolderThatCannotBeMadeOrWrittenGivesATypedError) {
    put(folder() / "blocker", "a file where a folder should be");
    const auto folderError = privateFiles::ensureFolder(folder() / "blocker" / "data");
    ASSERT_FALSE(folderError);
    EXPECT_EQ(folderError.error().kind, Kind::folder);
    EXPECT_NE(folderError.error().detail.find("blocker"), std::string::npos);

    const auto writeError = privateFiles::writeAtomically(folder() / "blocker" / "file", "x");
    ASSERT_FALSE(writeError);
    EXPECT_EQ(writeError.error().kind, Kind::writing);
}

TEST_F(PrivateFilesTest, AWriteCutShortLeavesTheOldFileWholeAndNoTemporary) {
    put(folder() / "target", "old", 0600);
    fs::path seen;
    privateFiles::WriteOptions options;
    options.beforeReplacing = [&](const fs::path& temporaryFile) -> PrivateFileResult<> {
        seen = temporaryFile;
        EXPECT_EQ(contentOf(temporaryFile), "new");
        return std::unexpected(PrivateFileError{Kind::writing, "power cut"});
    };
    EXPECT_EQ(privateFiles::writeAtomically(folder() / "target", "new", options),
              std::unexpected(PrivateFileError{Kind::writing, "power cut"}));
    EXPECT_TRUE(privateFiles::isTemporaryName(seen.filename().string()));
    EXPECT_EQ(contentOf(folder() / "target"), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"target"});
}

TEST_F(PrivateFilesTest, StaleTemporariesGoButALiveOneAndOtherFilesStay) {
    const std::vector<std::string> kept = {
        "cached-speakers.json",
        ".cached-speakers.json.tmp-0123456789ABCDEF",  // not its digits
        ".cached-speakers.json.tmp-0123456789abcde",   // one digit short
        "cached-speakers.json.tmp-0123456789abcdef",   // not hidden
        ".cached-speakers.json.XXXXXX",
    };
    for (const auto& name : kept) put(folder() / name, "keep");
    put(folder() / ".spotify-vault.enc.tmp-0123456789abcdef", "stale", 0600);

    std::vector<std::string> removedDuringWrite;
    privateFiles::WriteOptions options;
    options.beforeReplacing = [&](const fs::path&) -> PrivateFileResult<> {
        removedDuringWrite = privateFiles::removeStaleTemporaries(folder());
        return {};
    };
    ASSERT_EQ(privateFiles::writeAtomically(folder() / "floorplan-positions.json", "{}", options),
              PrivateFileResult<>{});

    EXPECT_EQ(removedDuringWrite, std::vector<std::string>{".spotify-vault.enc.tmp-0123456789abcdef"});
    EXPECT_EQ(contentOf(folder() / "floorplan-positions.json"), "{}");
    std::vector<std::string> expected = kept;
    expected.push_back("floorplan-positions.json");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names(), expected);
}

}  // namespace
