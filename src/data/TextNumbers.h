// Numbers and text, independent of the locale.
//
// Number fields of the input files follow one strict grammar: an optional sign,
// digits with an optional '.', or '.' followed by digits, and an optional
// exponent (E or e, optional sign, digits). "nan", "inf", hexadecimal, a decimal
// comma and a value that overflows a double are not numbers. A value too small
// for a double reads as zero.
//
// Every string of the core is Windows-1252 bytes; the conversions to and from
// UTF-8 are for the edges (the window, the terminal, the sources' literals).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calctopo {

// Parses a whole field as a real; nullopt when it is not a valid number.
std::optional<double> ParseReal(std::string_view text);

// Parses a whole field as a 32-bit signed integer (optional sign, digits);
// nullopt when it is not one.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// Fixed point with `decimals` decimals (no point when 0), rounded as C's printf
// rounds, right-aligned in `width` characters; a wider number is written in full.
std::string FormatFixed(double value, int decimals, int width = 0);

// printf-style formatting for %d, %s and their widths only (no floating
// formats: those go through FormatFixed, which does not depend on the locale).
#if defined(__GNUC__)
#define CALCTOPO_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define CALCTOPO_PRINTF_FORMAT
#endif
std::string Format(const char* format, ...) CALCTOPO_PRINTF_FORMAT;

// text right-aligned in `width` characters with blanks on the left; a longer
// text is kept whole.
std::string PadLeft(std::string_view text, std::size_t width);

// Windows-1252 bytes to UTF-8. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the code points of the same value.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252; a character with no Windows-1252 byte becomes '?'
// (counted in *replaced when given). Invalid UTF-8 bytes are taken as
// Windows-1252 bytes as they stand.
std::string Utf8ToCp1252(std::string_view text, std::size_t* replaced = nullptr);

// UTF-16 bytes (little- or big-endian, without the byte-order mark) to
// Windows-1252; a character with no Windows-1252 byte, an unpaired surrogate
// or an odd last byte becomes '?' (counted in *replaced when given).
std::string Utf16ToCp1252(std::string_view bytes, bool bigEndian, std::size_t* replaced = nullptr);

// Wide characters (UTF-32, or UTF-16 where wchar_t has 16 bits) to
// Windows-1252; a character with no Windows-1252 byte becomes '?'.
std::string WideToCp1252(std::wstring_view text);

// UTF-16 (the wide strings of Windows: command-line arguments, file names) to
// UTF-8. A surrogate without its pair becomes U+FFFD, which Utf8ToCp1252 then
// turns into '?' like any other character Windows-1252 cannot hold.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace calctopo
