// Timing program for the directory listings: builds test trees and runs one
// listing operation on a tree, printing the number of entries and the time
// the operation took. bench/run.sh drives it against reference commands.
//
//   listing_bench make-flat DIR FILES        one directory of files
//   listing_bench make-tree DIR FILES DIRS   files spread over directories
//   listing_bench make-dirs DIR DIRS         a tree of directories only
//   listing_bench list-by-date DIR           ListFiles, SORT_BY_DATE
//   listing_bench tree-files DIR             ListTreeFiles
//   listing_bench tree-directories DIR       ListTreeDirectories
//   listing_bench count-tree DIR             CountFilesInTree
#include <sys/stat.h>
#include <sys/time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "utillib/listings/directory_listing.h"

namespace {

// Distinct modification times, not in name order, so that sorting works.
void MakeFile(const std::string& path, int index) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fprintf(file, "%d", index);
  std::fclose(file);
  struct timeval times[2] = {};
  times[0].tv_sec = times[1].tv_sec = 1000000000 + (index * 7919L) % 100000;
  utimes(path.c_str(), times);
}

void MakeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0755) != 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
}

int Make(int argc, char** argv) {
  std::string kind = argv[1];
  std::string root = argv[2];
  MakeDirectory(root);
  if (kind == "make-flat" && argc == 4) {
    int files = std::atoi(argv[3]);
    for (int i = 0; i < files; ++i) MakeFile(root + "/file" + std::to_string(i) + ".dat", i);
    return 0;
  }
  if (kind == "make-tree" && argc == 5) {
    int files = std::atoi(argv[3]);
    int directories = std::atoi(argv[4]);
    for (int d = 0; d < directories; ++d) MakeDirectory(root + "/dir" + std::to_string(d));
    for (int i = 0; i < files; ++i) {
      MakeFile(root + "/dir" + std::to_string(i % directories) + "/f" + std::to_string(i) + ".txt",
               i);
    }
    return 0;
  }
  if (kind == "make-dirs" && argc == 4) {
    // 20 top-level directories of 10 each, sharing the rest as leaves.
    int leaves = std::atoi(argv[3]) / 200;
    for (int a = 0; a < 20; ++a) {
      std::string top = root + "/a" + std::to_string(a);
      MakeDirectory(top);
      for (int b = 0; b < 10; ++b) {
        std::string middle = top + "/b" + std::to_string(b);
        MakeDirectory(middle);
        for (int c = 0; c < leaves; ++c) MakeDirectory(middle + "/c" + std::to_string(c));
      }
    }
    return 0;
  }
  std::fprintf(stderr, "listing_bench: bad arguments\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: listing_bench OPERATION DIR [COUNTS]\n");
    return 2;
  }
  std::string operation = argv[1];
  if (operation.rfind("make-", 0) == 0) return Make(argc, argv);

  char directory[600];
  std::snprintf(directory, sizeof directory, "%s", argv[2]);
  utillib::DirectoryListing listing;
  auto start = std::chrono::steady_clock::now();
  std::int32_t count = -1;
  if (operation == "list-by-date") {
    listing.sortMode = utillib::SORT_BY_DATE;
    count = listing.ListFiles(directory);
  } else if (operation == "tree-files") {
    count = listing.ListTreeFiles(directory);
  } else if (operation == "tree-directories") {
    count = listing.ListTreeDirectories(directory);
  } else if (operation == "count-tree") {
    count = listing.CountFilesInTree(directory);
  } else {
    std::fprintf(stderr, "listing_bench: unknown operation %s\n", operation.c_str());
    return 2;
  }
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                  .count();
  std::printf("%d entries in %.1f ms\n", count, ms);
  return 0;
}
