// Test support for the listings: trees built in a fresh directory, and the
// names and levels of a listing's entries as one text.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/process.h"
#include "support/test_machine.h"
#include "utillib/listings/directory_listing.h"

namespace testsupport {

namespace fs = std::filesystem;

// A file with content; when seconds is not 0 its last-write time is set to
// that many seconds after 2001-01-01.
inline void MakeFile(const fs::path& path, const std::string& content = "", int seconds = 0) {
  fs::create_directories(path.parent_path());
  // Through the platform's stream, so that names are the system's bytes.
  std::FILE* file = platform::OpenStream(path.string().c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(content.data(), 1, content.size(), file);
  std::fclose(file);
  if (seconds != 0) {
    using namespace std::chrono;
    auto when = sys_days{year{2001} / January / 1} + std::chrono::seconds{seconds};
    fs::last_write_time(path, fs::file_time_type::clock::from_sys(when));
  }
}

inline void MakeDirectory(const fs::path& path, int seconds = 0) {
  fs::create_directories(path);
  if (seconds != 0) {
    using namespace std::chrono;
    auto when = sys_days{year{2001} / January / 1} + std::chrono::seconds{seconds};
    fs::last_write_time(path, fs::file_time_type::clock::from_sys(when));
  }
}

// "name name ..." of the entries, in order.
inline std::string Names(const utillib::DirectoryListing& listing) {
  std::string names;
  for (std::int32_t i = 0; i < listing.Count(); ++i) {
    names += std::string(names.empty() ? "" : " ") + listing.EntryName(i);
  }
  return names;
}

// "relative-path:level ..." of the entries, in order, with '/' for '\'.
inline std::string Tree(const utillib::DirectoryListing& listing) {
  std::string tree;
  for (std::int32_t i = 0; i < listing.Count(); ++i) {
    std::string path = listing.EntryRelativePath(i);
    for (char& c : path) c = c == '\\' ? '/' : c;
    tree += (tree.empty() ? "" : " ") + path + ":" + std::to_string(listing.Entry(i)->level);
  }
  return tree;
}

// A writable copy of a directory text, with room for the backslash that a
// listing may append.
struct DirectoryText {
  explicit DirectoryText(const std::string& text) {
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
  }
  char buffer[1200];
  operator char*() { return buffer; }
};

// Restores the current directory that a test changed.
struct KeepCurrentDirectory {
  fs::path saved = fs::current_path();
  ~KeepCurrentDirectory() { fs::current_path(saved); }
};

}  // namespace testsupport
