#include "platform/console.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace platform {

int ReadKeyFromTerminal();  // backend

namespace {
ConsoleCapture* activeCapture = nullptr;
}

ConsoleCapture::ConsoleCapture() : previous_(activeCapture) {
  activeCapture = this;
}

ConsoleCapture::~ConsoleCapture() {
  activeCapture = previous_;
}

void ConsoleWrite(const char* text) {
  if (activeCapture != nullptr) {
    activeCapture->text_ += text;
  } else {
    std::fputs(text, stdout);
  }
}

void ConsolePrint(const char* format, ...) {
  char small[256];
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) {
    va_end(again);
    return;
  }
  if (static_cast<std::size_t>(length) < sizeof small) {
    ConsoleWrite(small);
  } else {
    std::vector<char> large(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(large.data(), large.size(), format, again);
    ConsoleWrite(large.data());
  }
  va_end(again);
}

void ConsoleFlush() {
  if (activeCapture == nullptr) std::fflush(stdout);
}

int ConsoleReadKey() {
  if (activeCapture != nullptr) {
    ++activeCapture->keyReads_;
    return 0;
  }
  std::fflush(stdout);
  return ReadKeyFromTerminal();
}

}  // namespace platform
