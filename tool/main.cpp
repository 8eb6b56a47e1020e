#include "tool/run.h"

int main(int argc, char** argv) {
  return ausklink::RunAusklink(argc, argv);
}
