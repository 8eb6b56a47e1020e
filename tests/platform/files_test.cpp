// The file side of the platform layer on the system it runs on: attribute
// bits of single paths, how the directory search reports links, the search
// limited to directories, drive-letter paths kept inside their drive, and
// the directory mark.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#ifndef _WIN32
#include <sys/xattr.h>
#endif

#include "platform/files.h"
#include "platform/host.h"
#include "platform/process.h"
#include "support/test_machine.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// Every entry a search for pattern reports, by name.
std::map<std::string, FindData> Entries(const std::string& pattern,
                                        FindScope scope = FindScope::All) {
  std::map<std::string, FindData> entries;
  FindData data;
  FindHandle search = FindFirst(pattern.c_str(), &data, scope);
  if (search == kInvalidFind) return entries;
  do {
    entries[data.name] = data;
  } while (FindNext(search, &data));
  FindClose(search);
  return entries;
}

// Makes a directory link; false where the system does not let the test make
// one (Windows without the privilege, some Wine versions).
bool MakeDirectoryLink(const fs::path& target, const fs::path& link) {
  std::error_code error;
  fs::create_directory_symlink(target, link, error);
  return !error;
}

TEST(FileAttributes, ReadAndWriteTheSystemsBits) {
  testsupport::TempDirectory dir;
  std::string file = (dir.Path() / "a.txt").string();
  WriteFile(file, "x");
  std::uint32_t plain = GetAttributes(file.c_str());
  EXPECT_EQ(
      plain & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeDirectory), 0u);
  EXPECT_EQ(GetAttributes(dir.String().c_str()) & kAttributeDirectory, kAttributeDirectory);
  EXPECT_EQ(GetAttributes((dir.Path() / "missing").string().c_str()), kInvalidAttributes);
  EXPECT_FALSE(SetAttributes((dir.Path() / "missing").string().c_str(), kAttributeHidden));

  ASSERT_TRUE(
      SetAttributes(file.c_str(), kAttributeHidden | kAttributeSystem | kAttributeReadOnly));
  std::uint32_t marked = GetAttributes(file.c_str());
  EXPECT_EQ(marked & (kAttributeHidden | kAttributeSystem | kAttributeReadOnly),
            kAttributeHidden | kAttributeSystem | kAttributeReadOnly);
  // The search reports the same bits.
  EXPECT_EQ(Entries(file)["a.txt"].attributes & 0x07u, 0x07u);

  ASSERT_TRUE(SetAttributes(file.c_str(), kAttributeNormal));
  EXPECT_EQ(
      GetAttributes(file.c_str()) & (kAttributeHidden | kAttributeSystem | kAttributeReadOnly), 0u);
  std::ofstream writable(file, std::ios::app);
  EXPECT_TRUE(writable.good());  // read-only is gone
}

TEST(FileAttributes, DotNamesAreNotHidden) {
  if (RunningUnderWine()) GTEST_SKIP() << "Wine reports dot-names as hidden";
  testsupport::TempDirectory dir;
  WriteFile(dir.Path() / ".profile", "x");
  EXPECT_EQ(GetAttributes((dir.Path() / ".profile").string().c_str()) & kAttributeHidden, 0u);
  EXPECT_EQ(Entries(dir.String() + "/*.*")[".profile"].attributes & kAttributeHidden, 0u);
}

#ifndef _WIN32
int SetRawAttribute(const char* path, const char* value, std::size_t size) {
  return setxattr(path, "user.DOSATTRIB", value, size, 0);
}

std::string RawAttribute(const char* path) {
  char value[64];
  ssize_t length = getxattr(path, "user.DOSATTRIB", value, sizeof value);
  return length < 0 ? "<none>" : std::string(value, static_cast<std::size_t>(length));
}

// Samba and Wine keep the bits as hex text in user.DOSATTRIB; a file marked
// by them reads the same here, and the text written here is theirs.
TEST(FileAttributes, SharesTheExtendedAttributeWithSambaAndWine) {
  testsupport::TempDirectory dir;
  std::string file = (dir.Path() / "shared.txt").string();
  WriteFile(file, "x");
  // Samba's form: the text, its terminator, then binary data.
  const char samba[] = "0x22\0\x04\x00\x04\x00";
  ASSERT_EQ(SetRawAttribute(file.c_str(), samba, sizeof samba - 1), 0);
  EXPECT_EQ(GetAttributes(file.c_str()) & (kAttributeHidden | kAttributeArchive),
            kAttributeHidden | kAttributeArchive);
  ASSERT_TRUE(SetAttributes(file.c_str(), kAttributeSystem | kAttributeDirectory));
  EXPECT_EQ(RawAttribute(file.c_str()), "0x4");
  EXPECT_EQ(
      GetAttributes(file.c_str()) & (kAttributeHidden | kAttributeSystem | kAttributeDirectory),
      kAttributeSystem);
}
#endif

TEST(DirectorySearch, ReportsDirectoryLinksAsReparsePoints) {
  testsupport::TempDirectory outside;
  testsupport::TempDirectory dir;
  WriteFile(outside.Path() / "secret.txt", "x");
  WriteFile(dir.Path() / "file.txt", "x");
  fs::create_directory(dir.Path() / "sub");
  if (!MakeDirectoryLink(outside.Path(), dir.Path() / "link")) {
    GTEST_SKIP() << "this system does not let the test make a directory link";
  }
  auto entries = Entries(dir.String() + "/*.*");
  ASSERT_EQ(entries.count("link"), 1u);
  EXPECT_EQ(entries["link"].attributes & (kAttributeDirectory | kAttributeReparsePoint),
            kAttributeDirectory | kAttributeReparsePoint);
  EXPECT_EQ(entries["sub"].attributes & kAttributeReparsePoint, 0u);
  std::string link = (dir.Path() / "link").string();
  EXPECT_EQ(GetAttributes(link.c_str()) & (kAttributeDirectory | kAttributeReparsePoint),
            kAttributeDirectory | kAttributeReparsePoint);

  // Limited to directories: the subdirectory and the link, nothing else.
  auto directories = Entries(dir.String() + "/*.*", FindScope::Directories);
  directories.erase(".");
  directories.erase("..");
  EXPECT_EQ(directories.size(), 2u);
  EXPECT_EQ(directories.count("sub"), 1u);
  EXPECT_EQ(directories.count("link"), 1u);
}

TEST(DirectoryMark, ReturnsToTheMarkedDirectory) {
  testsupport::TempDirectory dir;
  fs::path before = fs::current_path();
  DirectoryMark mark = MarkCurrentDirectory();
  ASSERT_NE(mark, kNoDirectoryMark);
  fs::current_path(dir.Path());
  EXPECT_TRUE(ReturnToMark(mark));
  ReleaseMark(mark);
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_FALSE(ReturnToMark(kNoDirectoryMark));
}

// A drive-letter path never reaches a file outside the drive's directory.
TEST(DrivePaths, DotDotAtTheRootStaysInTheDrive) {
  testsupport::TempDirectory outer;
  fs::create_directory(outer.Path() / "root");
  WriteFile(outer.Path() / "outside.txt", "outside");
  WriteFile(outer.Path() / "root" / "outside.txt", "inside");
  testsupport::TestMachine machine("[E:]\nroot = " + (outer.Path() / "root").string() + "\n");
  std::FILE* stream = OpenStream("E:\\..\\outside.txt", "rb");
  ASSERT_NE(stream, nullptr);
  char text[16] = {};
  EXPECT_EQ(std::fread(text, 1, sizeof text - 1, stream), 6u);
  std::fclose(stream);
  EXPECT_STREQ(text, "inside");
  EXPECT_EQ(OpenStream("E:\\..\\..\\..\\..\\..\\..\\etc\\passwd", "rb"), nullptr);
  EXPECT_EQ(Entries("E:\\..\\*.txt").count("outside.txt"), 1u);
  EXPECT_EQ(GetAttributes("E:\\..\\..\\root"), kInvalidAttributes);
}

}  // namespace
}  // namespace platform
