// Text utilities on single-byte, zero-terminated texts in the Windows ANSI
// code page: cleaning in place, copies into fixed static buffers with a
// change applied, separated fields, copies into a caller's buffer with
// truncation, character-code tokens, the German umlauts between single-byte
// and UTF-8 form, and wide text to single-byte text.
//
// The copying operations return the address of a static buffer of their own,
// which their next call overwrites. A result longer than its buffer is cut to
// the buffer's size; no operation reports an error.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/text.h"

namespace utillib {

// Static result buffers, terminator included.
inline constexpr std::size_t TEXT_LINE_SIZE = 2000;    // UpperCopy, LowerCopy, JoinLines, wrapping
inline constexpr std::size_t TEXT_RESULT_SIZE = 3000;  // GetField, TransliterateUmlauts, ReplaceAll
inline constexpr std::size_t NARROW_TEXT_SIZE = 1000;  // WideToNarrow

// In place; each returns its argument.
char* TrimBlanks(char* text);      // leading and trailing spaces and tabs go
char* CollapseSpaces(char* text);  // TrimBlanks, then runs of spaces become one
// A leading quote: the text becomes what follows it up to the next quote.
// Then a trailing quote goes. 'ab'cd' becomes ab.
char* Unquote(char* text);
char* CutAtSemicolon(char* text);  // ends the text at its first ';'
// The UTF-8 pairs of Ä Ö Ü ä ö ü ß become their single bytes.
char* Utf8UmlautsToLatin1(char* text);
// The single bytes of Ä Ö Ü ä ö ü ß become their UTF-8 pairs; the text grows
// by one byte per letter and the caller's buffer must hold it. The second
// form is given the buffer's size and cuts the text to fit, leaving out a
// letter whose pair no longer fits together with all that follows.
char* Latin1UmlautsToUtf8(char* text);
char* Latin1UmlautsToUtf8(char* text, std::size_t capacity);
// Replaces each token "(CHR " number ")" by the character with the low 8 bits
// of that number; a code of 0 ends the text there. Other parenthesised
// groups, and a group left open, stay as they are.
char* ExpandCharCodes(char* text);

// Copies into the operation's static buffer.
char* UpperCopy(const char* text);  // a-z upper-cased
char* LowerCopy(const char* text);  // A-Z lower-cased
// "<br>", CR LF, CR, TAB LF and LF each become one space; one trailing space
// of the result is removed.
char* JoinLines(const char* text);
// Ä Ö Ü ä ö ü become Ae Oe Ue ae oe ue; everything else is copied.
char* TransliterateUmlauts(const char* text);
// Every occurrence of search, left to right without overlap, replaced; an
// empty search gives a plain copy.
char* ReplaceAll(const char* text, const char* search, const char* replacement);
// A text longer than width gets a break after each space where the line so
// far plus the next word would exceed width; words are never split. The
// break is "<br>" with html, otherwise a newline.
char* WrapText(const char* text, bool html, unsigned width);
char* WrapTextWith(const char* text, char breakCharacter, unsigned width);
// Field number index (from 0) of the separated text, with ExpandCharCodes
// applied; the empty text for a negative index or one beyond the last field.
char* GetField(const char* text, std::int32_t index, char separator);
// The wide text in the ANSI code page, trimmed; "null" becomes the empty
// text, and so does a null pointer.
char* WideToNarrow(const platform::WideChar* text);

// 0 for the empty text, otherwise 1 + the number of separators.
int CountFields(const char* text, char separator);

// Copy, or append to the destination's text, keeping at most size - 1
// characters. 0 when the whole text fit, 1 when it was cut (always 1 for a
// size of 0, which writes nothing).
int CopyTruncated(char* destination, std::size_t size, const char* source);
int AppendTruncated(char* destination, std::size_t size, const char* source);

}  // namespace utillib
