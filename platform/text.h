// Text: conversion of wide (16-bit) text to the single-byte ANSI code page.
//
// The library's single-byte texts are Windows-1252. The Win32 backend
// converts with the system's ANSI code page; the POSIX backend converts to
// Windows-1252 itself. A character without a byte in the code page becomes
// '?' (one '?' for a surrogate pair); the POSIX backend does not reproduce
// the best-fit substitutions of Windows, which turn some such characters
// into a similar letter.
//
// Error contract: no function throws or prints; failure is reported through
// the result alone.
#pragma once

#include <cstddef>

namespace platform {

// One UTF-16 code unit, the same type on every system.
using WideChar = char16_t;

// Converts the zero-terminated wide text into out, writing at most capacity
// bytes with the terminator. A text whose conversion does not fit is cut to
// what fits (capacity - 1 bytes at most) and the result is false; true when
// the whole text was converted. With capacity 0 nothing is written.
bool WideToAnsi(const WideChar* text, char* out, std::size_t capacity);

}  // namespace platform
