#include "utillib/values/text.h"

#include <cstring>
#include <vector>

#include "utillib/values/decimal.h"

namespace utillib {
namespace {

constexpr char CHAR_CODE_TOKEN[] = "(CHR ";
constexpr std::size_t CHAR_CODE_TOKEN_LENGTH = sizeof(CHAR_CODE_TOKEN) - 1;
constexpr unsigned char UTF8_UMLAUT_LEAD = 0xC3;
// A single-byte umlaut is its UTF-8 trail byte plus this.
constexpr unsigned char UMLAUT_TRAIL_OFFSET = 0x40;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The seven letters that the umlaut conversions touch, in single-byte form.
bool IsLatin1Umlaut(unsigned char c) {
  return c == 0xC4 || c == 0xD6 || c == 0xDC || c == 0xE4 || c == 0xF6 || c == 0xFC || c == 0xDF;
}

// Appends to a buffer of a fixed size and keeps it terminated; what does not
// fit is dropped.
class BoundedWriter {
 public:
  BoundedWriter(char* buffer, std::size_t size) : buffer_(buffer), size_(size) {
    buffer_[0] = '\0';
  }

  bool Full() const { return length_ + 1 >= size_; }
  std::size_t Length() const { return length_; }

  void Put(char c) {
    if (Full()) return;
    buffer_[length_++] = c;
    buffer_[length_] = '\0';
  }

  void Put(const char* text, std::size_t count) {
    const std::size_t room = size_ - 1 - length_;
    if (count > room) count = room;
    std::memcpy(buffer_ + length_, text, count);
    length_ += count;
    buffer_[length_] = '\0';
  }

  // Removes the last character.
  void Drop() {
    if (length_ > 0) buffer_[--length_] = '\0';
  }

  char* Result() const { return buffer_; }

 private:
  char* buffer_;
  std::size_t size_;
  std::size_t length_ = 0;
};

char* CaseCopy(const char* text, char* buffer, char from, char to) {
  BoundedWriter out(buffer, TEXT_LINE_SIZE);
  for (std::size_t i = 0; text[i] != '\0' && !out.Full(); ++i) {
    const char c = text[i];
    out.Put(c >= from && c <= static_cast<char>(from + 25) ? static_cast<char>(c - from + to) : c);
  }
  return out.Result();
}

// Copies text with breakText inserted where a line would grow beyond width.
char* Wrap(const char* text, const char* breakText, unsigned width, char* buffer) {
  BoundedWriter out(buffer, TEXT_LINE_SIZE);
  const std::size_t length = std::strlen(text);
  if (length <= width) {
    out.Put(text, length);
    return out.Result();
  }
  const std::size_t breakLength = std::strlen(breakText);
  std::size_t lineCount = 0;
  for (std::size_t i = 0; i < length && !out.Full(); ++i) {
    out.Put(text[i]);
    ++lineCount;
    if (text[i] != ' ') continue;
    // The next word runs to the next space, that space included.
    const char* word = text + i + 1;
    std::size_t wordLength = std::strcspn(word, " ");
    if (word[wordLength] == ' ') ++wordLength;
    if (lineCount + wordLength > width) {
      out.Put(breakText, breakLength);
      lineCount = 0;
    }
  }
  return out.Result();
}

// Expands the umlauts of text in place into UTF-8 pairs, keeping the result
// within capacity bytes.
char* ExpandUmlauts(char* text, std::size_t capacity) {
  if (capacity == 0) return text;
  // How much of the text fits once expanded.
  std::size_t sourceLength = 0;
  std::size_t resultLength = 0;
  while (text[sourceLength] != '\0') {
    const std::size_t width =
        IsLatin1Umlaut(static_cast<unsigned char>(text[sourceLength])) ? 2 : 1;
    if (resultLength + width > capacity - 1) break;
    resultLength += width;
    ++sourceLength;
  }
  // Expand from the end backwards, so that nothing is overwritten before it
  // is read.
  text[resultLength] = '\0';
  std::size_t write = resultLength;
  for (std::size_t read = sourceLength; read > 0; --read) {
    const auto c = static_cast<unsigned char>(text[read - 1]);
    if (IsLatin1Umlaut(c)) {
      text[--write] = static_cast<char>(c - UMLAUT_TRAIL_OFFSET);
      text[--write] = static_cast<char>(UTF8_UMLAUT_LEAD);
    } else {
      text[--write] = static_cast<char>(c);
    }
  }
  return text;
}

}  // namespace

char* TrimBlanks(char* text) {
  std::size_t start = 0;
  while (IsBlank(text[start])) ++start;
  std::size_t length = std::strlen(text + start);
  if (start > 0) std::memmove(text, text + start, length + 1);
  while (length > 0 && IsBlank(text[length - 1])) text[--length] = '\0';
  return text;
}

char* CollapseSpaces(char* text) {
  TrimBlanks(text);
  std::size_t write = 0;
  for (std::size_t read = 0; text[read] != '\0'; ++read) {
    if (text[read] == ' ' && write > 0 && text[write - 1] == ' ') continue;
    text[write++] = text[read];
  }
  text[write] = '\0';
  return text;
}

char* Unquote(char* text) {
  if (text[0] == '\'') {
    std::size_t i = 1;
    for (; text[i] != '\0' && text[i] != '\''; ++i) text[i - 1] = text[i];
    text[i - 1] = '\0';
  }
  const std::size_t length = std::strlen(text);
  if (length > 0 && text[length - 1] == '\'') text[length - 1] = '\0';
  return text;
}

char* CutAtSemicolon(char* text) {
  char* semicolon = std::strchr(text, ';');
  if (semicolon != nullptr) *semicolon = '\0';
  return text;
}

char* Utf8UmlautsToLatin1(char* text) {
  std::size_t write = 0;
  for (std::size_t read = 0; text[read] != '\0'; ++read) {
    const auto c = static_cast<unsigned char>(text[read]);
    if (c == UTF8_UMLAUT_LEAD) {
      const auto single = static_cast<unsigned char>(static_cast<unsigned char>(text[read + 1]) +
                                                     UMLAUT_TRAIL_OFFSET);
      if (text[read + 1] != '\0' && IsLatin1Umlaut(single)) {
        text[write++] = static_cast<char>(single);
        ++read;
        continue;
      }
    }
    text[write++] = static_cast<char>(c);
  }
  text[write] = '\0';
  return text;
}

char* Latin1UmlautsToUtf8(char* text) {
  return ExpandUmlauts(text, SIZE_MAX);
}

char* Latin1UmlautsToUtf8(char* text, std::size_t capacity) {
  return ExpandUmlauts(text, capacity);
}

char* ExpandCharCodes(char* text) {
  if (std::strstr(text, CHAR_CODE_TOKEN) == nullptr) return text;
  // The result never grows past the character being read: a group is held
  // where it stands in the text until it closes, and is then written at the
  // result's end, whole or as its one character. So the text is rewritten in
  // place, with no working copy and no limit on its length.
  std::size_t write = 0;
  std::size_t groupStart = 0;
  bool inGroup = false;
  for (std::size_t read = 0; text[read] != '\0'; ++read) {
    const char c = text[read];
    if (c == '(') {
      if (inGroup) {
        // A new group begins: the open one stays as it was.
        std::memmove(text + write, text + groupStart, read - groupStart);
        write += read - groupStart;
      }
      inGroup = true;
      groupStart = read;
    } else if (inGroup && c == ')') {
      inGroup = false;
      if (std::strncmp(text + groupStart, CHAR_CODE_TOKEN, CHAR_CODE_TOKEN_LENGTH) == 0) {
        // The number ends at the ')' at the latest.
        const std::int32_t code = ReadDecimal(text + groupStart + CHAR_CODE_TOKEN_LENGTH);
        const auto character = static_cast<char>(static_cast<std::uint8_t>(code));
        text[write] = character;
        if (character == '\0') return text;
        ++write;
      } else {
        const std::size_t groupLength = read + 1 - groupStart;
        std::memmove(text + write, text + groupStart, groupLength);
        write += groupLength;
      }
    } else if (!inGroup) {
      text[write++] = c;
    }
  }
  if (inGroup) {
    const std::size_t groupLength = std::strlen(text + groupStart);
    std::memmove(text + write, text + groupStart, groupLength);
    write += groupLength;
  }
  text[write] = '\0';
  return text;
}

char* UpperCopy(const char* text) {
  static char buffer[TEXT_LINE_SIZE];
  return CaseCopy(text, buffer, 'a', 'A');
}

char* LowerCopy(const char* text) {
  static char buffer[TEXT_LINE_SIZE];
  return CaseCopy(text, buffer, 'A', 'a');
}

char* JoinLines(const char* text) {
  static char buffer[TEXT_LINE_SIZE];
  BoundedWriter out(buffer, sizeof(buffer));
  std::size_t i = 0;
  while (text[i] != '\0' && !out.Full()) {
    std::size_t skip = 0;
    if (std::strncmp(text + i, "<br>", 4) == 0) {
      skip = 4;
    } else if (text[i] == '\r') {
      skip = text[i + 1] == '\n' ? 2 : 1;
    } else if (text[i] == '\t' && text[i + 1] == '\n') {
      skip = 2;
    } else if (text[i] == '\n') {
      skip = 1;
    }
    out.Put(skip > 0 ? ' ' : text[i]);
    i += skip > 0 ? skip : 1;
  }
  if (out.Length() > 0 && buffer[out.Length() - 1] == ' ') out.Drop();
  return out.Result();
}

char* TransliterateUmlauts(const char* text) {
  static char buffer[TEXT_RESULT_SIZE];
  BoundedWriter out(buffer, sizeof(buffer));
  for (std::size_t i = 0; text[i] != '\0' && !out.Full(); ++i) {
    switch (static_cast<unsigned char>(text[i])) {
      case 0xC4:
        out.Put("Ae", 2);
        break;
      case 0xD6:
        out.Put("Oe", 2);
        break;
      case 0xDC:
        out.Put("Ue", 2);
        break;
      case 0xE4:
        out.Put("ae", 2);
        break;
      case 0xF6:
        out.Put("oe", 2);
        break;
      case 0xFC:
        out.Put("ue", 2);
        break;
      default:
        out.Put(text[i]);
        break;
    }
  }
  return out.Result();
}

char* ReplaceAll(const char* text, const char* search, const char* replacement) {
  static char buffer[TEXT_RESULT_SIZE];
  BoundedWriter out(buffer, sizeof(buffer));
  const std::size_t textLength = std::strlen(text);
  const std::size_t searchLength = std::strlen(search);
  if (searchLength == 0 || searchLength > textLength) {
    out.Put(text, textLength);
    return out.Result();
  }
  const std::size_t replacementLength = std::strlen(replacement);
  // Knuth-Morris-Pratt: border[k] is the length of the longest proper
  // border of the first k + 1 search characters. The scan stays linear
  // whatever the texts.
  std::vector<std::size_t> border(searchLength, 0);
  for (std::size_t k = 1, matched = 0; k < searchLength; ++k) {
    while (matched > 0 && search[k] != search[matched]) matched = border[matched - 1];
    if (search[k] == search[matched]) ++matched;
    border[k] = matched;
  }
  // After an occurrence the scan starts afresh behind it, so occurrences
  // never overlap and the first one from the left always wins.
  std::size_t copied = 0;
  std::size_t matched = 0;
  for (std::size_t i = 0; i < textLength && !out.Full(); ++i) {
    while (matched > 0 && text[i] != search[matched]) matched = border[matched - 1];
    if (text[i] == search[matched]) ++matched;
    if (matched == searchLength) {
      const std::size_t start = i + 1 - searchLength;
      out.Put(text + copied, start - copied);
      out.Put(replacement, replacementLength);
      copied = i + 1;
      matched = 0;
    }
  }
  out.Put(text + copied, textLength - copied);
  return out.Result();
}

char* WrapText(const char* text, bool html, unsigned width) {
  static char buffer[TEXT_LINE_SIZE];
  return Wrap(text, html ? "<br>" : "\n", width, buffer);
}

char* WrapTextWith(const char* text, char breakCharacter, unsigned width) {
  static char buffer[TEXT_LINE_SIZE];
  const char breakText[2] = {breakCharacter, '\0'};
  return Wrap(text, breakText, width, buffer);
}

char* GetField(const char* text, std::int32_t index, char separator) {
  static char buffer[TEXT_RESULT_SIZE];
  BoundedWriter out(buffer, sizeof(buffer));
  std::int64_t count = 0;
  for (std::size_t i = 0; text[i] != '\0' && count <= index && !out.Full(); ++i) {
    if (text[i] == separator) {
      ++count;
    } else if (count == index) {
      out.Put(text[i]);
    }
  }
  return ExpandCharCodes(out.Result());
}

char* WideToNarrow(const platform::WideChar* text) {
  static char buffer[NARROW_TEXT_SIZE];
  buffer[0] = '\0';
  if (text != nullptr) platform::WideToAnsi(text, buffer, sizeof(buffer));
  TrimBlanks(buffer);
  if (std::strcmp(buffer, "null") == 0) buffer[0] = '\0';
  return buffer;
}

int CountFields(const char* text, char separator) {
  if (text[0] == '\0') return 0;
  int count = 1;
  for (std::size_t i = 0; text[i] != '\0'; ++i) {
    if (text[i] == separator) ++count;
  }
  return count;
}

int CopyTruncated(char* destination, std::size_t size, const char* source) {
  if (size == 0) return 1;
  const std::size_t length = strnlen(source, size);
  if (length < size) {
    std::memmove(destination, source, length + 1);
    return 0;
  }
  std::memmove(destination, source, size - 1);
  destination[size - 1] = '\0';
  return 1;
}

int AppendTruncated(char* destination, std::size_t size, const char* source) {
  if (size == 0) return 1;
  const std::size_t held = strnlen(destination, size);
  if (held == size) {
    destination[size - 1] = '\0';
    return 1;
  }
  return CopyTruncated(destination + held, size - held, source);
}

}  // namespace utillib
