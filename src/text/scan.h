// Reply scanning: label search, field extraction and the value-reading
// pattern shared by every category's read routine.
//
// Replies are byte strings in the device's encoding (Shift-JIS, ASCII in
// practice). A zero byte ends the visible text, as it does on the device's
// side of the line, so every routine here looks only at the bytes before the
// first zero byte.
#pragma once

#include <cstddef>
#include <string>
#include <optional>
#include <string_view>

namespace setutily {

// The longest value a read routine keeps from one reply line.
inline constexpr std::size_t kMaxValueLength = 54;

// Folds the 26 letters A-Z to a-z and leaves every other byte as it is.
unsigned char FoldCase(unsigned char byte);

// The text up to (not including) the first zero byte.
std::string_view VisibleText(std::string_view text);

// 1-based position of pattern in text, or 0.
//   mode 0: first occurrence anywhere, letter case ignored;
//   mode 1: the pattern must be the text's first word (up to a space), case ignored;
//   mode 2: the whole text must equal the pattern, case ignored;
//   other:  the whole text must equal the pattern byte for byte.
// An empty pattern matches at position 1.
int FindText(std::string_view text, std::string_view pattern, int mode);

// Compares two texts through the case-folding table: 0 when equal, otherwise
// the difference of the folded bytes at the first mismatch.
int CompareNoCase(std::string_view a, std::string_view b);

// The delimiter of ExtractField index 0-7 (or 10-17): space . , / - : * CR.
char FieldDelimiter(int index);

// Copies source up to the first delimiter selected by index into dest and
// returns the number of bytes copied. Index 0-7: a missing delimiter copies to
// the end of the source. Index 10-17: a missing delimiter returns -1 and leaves
// dest untouched. An index outside both ranges returns -1.
// The copy never exceeds destSize - 1 bytes and is always zero-terminated
// (when destSize > 0); the returned length is the length actually copied.
int ExtractField(std::string_view source, char* dest, std::size_t destSize, int index);
int ExtractField(std::string_view source, std::string& dest, int index);

// Reads a decimal number the way reply values are read: leading white space,
// an optional sign, then digits up to the first other byte; 0 when there are
// no digits. A value beyond [min, max] is clamped to the nearer bound, so a
// long digit string can never wrap around into range, whatever the bounds
// (any long long values, given in either order).
long long ParseLeadingNumber(std::string_view text, long long min, long long max);

// The value that follows label in reply: found anywhere (first occurrence,
// case ignored), starting one byte after the label's end and running to the
// next carriage return or the end of the text, cut to cut bytes.
// A label that is missing yields an empty text.
std::string ReadTextValue(std::string_view reply, std::string_view label,
                          std::size_t cut = kMaxValueLength);

// As ReadTextValue, converted with ParseLeadingNumber into [min, max];
// a missing label yields 0 (clamped into the range).
long long ReadNumberValue(std::string_view reply, std::string_view label,
                          long long min = -2147483648LL, long long max = 2147483647LL);

// The value of a numbered list line "N: value": the text after the blank
// that follows the colon, up to the carriage return, cut to kMaxValueLength
// bytes, with leading and trailing white space removed. A missing line
// yields an empty text.
std::string ReadListEntry(std::string_view reply, int number);

// The rest of the line of list entry number in reply: the text after
// "number: " up to the carriage return (or the end), where "number: " stands
// at the start of a line, after blanks only. Such a text inside a longer
// number ("1: " within "11: ") is never taken. nullopt when there is none.
std::optional<std::string_view> FindListLine(std::string_view reply, int number);

// The lines of list entry number: from its "number: " line (found as by
// FindListLine) up to the next line that starts, after blanks, with any
// decimal number and ": ", or the end of the reply. Empty when there is no
// such entry. Labels searched in the block belong to that entry only.
std::string_view ListBlock(std::string_view reply, int number);

// Whether reply can be the page of a numbered list that command shows: it
// holds a list line ("N: " at a line start, after blanks), or nothing at
// all (an empty list) besides the echo of command on its first line and
// the prompt after its last line break.
bool CouldBeListPage(std::string_view reply, std::string_view command);

// Removes leading and trailing space, tab, CR, LF, VT and FF.
std::string_view TrimSpace(std::string_view text);

}  // namespace setutily
