// Text files as the program writes them: Windows-1252 bytes, lines ended by
// CR LF, created by emptying any file of the same name.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace calctopo {

// File names are core strings like every other text: Windows-1252 bytes, in
// the state and in the work-site file alike. These two functions are the only
// way between such a name and the file system, so "Relevés/été.cor" names the
// same file on a UTF-8 Linux file system and on Windows, where the path holds
// the wide name.

// The path the operating system knows by this Windows-1252 name.
std::filesystem::path NativePath(const std::string& name);
// The Windows-1252 name of a path. A character that Windows-1252 cannot hold
// becomes '?', so such a name no longer leads back to its file; bytes that are
// not UTF-8 in a Linux name are kept as Windows-1252 bytes.
std::string NameFromPath(const std::filesystem::path& path);

// A text file open for writing. Write and WriteLine are flushed at once, so a
// listing on disk is complete up to the last line written; Append and
// AppendLine hold their text until Flush, for a writer that makes many small
// writes and flushes once its piece is whole. Failures throw IoFailure.
class TextOutputFile {
  public:
    TextOutputFile() = default;
    TextOutputFile(const TextOutputFile&) = delete;
    TextOutputFile& operator=(const TextOutputFile&) = delete;
    ~TextOutputFile();

    // Creates (or empties) the file named by a Windows-1252 name; throws
    // IoFailure when it cannot.
    void Create(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Writes text as it stands / writes text and CR LF. Flushed at once,
    // after any text held before.
    void Write(std::string_view text);
    void WriteLine(std::string_view text);

    // Holds text as it stands / text and CR LF, to be written by Flush.
    void Append(std::string_view text);
    void AppendLine(std::string_view text);
    // Writes the text held and flushes it to the file; throws IoFailure when
    // that fails (the text held is then dropped). Nothing held: nothing done.
    void Flush();

    // Writes what is still held, as far as it can, and closes the file; a
    // file never opened is passed over.
    void Close();

  private:
    std::FILE* file_ = nullptr;
    std::string path_;
    std::string held_;
};

// The French text of a system error number (errno), in Windows-1252: the
// program's own wording for the failures a user meets (no rights, disk full,
// file too large...), the system's text, converted once from the locale's
// encoding, for the others.
std::string SystemErrorText(int errorNumber);
// " (text)" for a system error number, "" for 0.
std::string DescribeSystemError(int errorNumber);

// The largest text file the program reads, in bytes. The tables hold 250000
// observations and 10000 points, some 25 MB of lines; ten times that leaves
// room for comments. A larger file is no survey file (a disk image, a file
// chosen by mistake) and would fill the memory.
constexpr std::uintmax_t kMaxTextFileBytes = 256u * 1024u * 1024u;

// How a text file is written, as its byte-order mark tells.
enum class TextEncoding { Windows1252, Utf8, Utf16LittleEndian, Utf16BigEndian };

// Why a file was not read as text.
enum class TextReadProblem {
    None,
    CannotOpen,      // missing, a folder, no rights
    NotRegularFile,  // a device, a pipe, a socket: reading it could block or never end
    TooLarge,        // above kMaxTextFileBytes
    ReadFailed,      // opened, then the reading failed
    NotText,         // a NUL byte: a binary file, or UTF-16 without its mark
};

// A text file as read: its content in Windows-1252, and what was found.
struct TextFileContent {
    TextReadProblem problem = TextReadProblem::None;
    int systemError = 0;  // errno of CannotOpen and ReadFailed, 0 when unknown
    std::string text;     // Windows-1252, line ends as in the file
    TextEncoding encoding = TextEncoding::Windows1252;
    bool crOnlyLineEnds = false;    // CR and no LF anywhere: each CR ends a line
    std::size_t unconvertible = 0;  // characters with no Windows-1252 byte, read as '?'
    std::int32_t nulLine = 0;       // NotText: the line of the first NUL byte
};

// Reads a text file named by a Windows-1252 name: only a regular file, at
// most kMaxTextFileBytes; a UTF-8 or UTF-16 file with a byte-order mark is
// converted to Windows-1252; a file holding a NUL byte is not text.
TextFileContent ReadTextFile(const std::string& path);

// The lines of a text read by ReadTextFile, one after the other: LF ends a
// line and one CR before it is dropped; in a file of CR-only line ends each
// CR ends a line. An empty text is one empty line; a line end at the very end
// starts no further line.
class LineCursor {
  public:
    explicit LineCursor(const TextFileContent& content);
    // The next line; false after the last.
    bool Next(std::string_view& line);

  private:
    std::string_view text_;
    char end_;
    std::size_t position_ = 0;
    bool done_ = false;
};

// What the user is told when a file is not read (for the problems other than
// CannotOpen, which every reader words itself), Windows-1252.
std::string DescribeReadProblem(const TextFileContent& content, const std::string& fullName);

// What the user is told about a file that was read: its encoding, its line
// ends, the characters that became '?'. One sentence per finding, each
// saying what was done; none for a plain Windows-1252 file with LF or CR LF.
std::vector<std::string> DescribeTextNotices(const TextFileContent& content,
                                             const std::string& fullName);

// Reads a whole text file into lines (ReadTextFile, then LineCursor). Returns
// false when the file was not read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Writes content to path through a temporary file in the same folder renamed
// over the old file, so a failed write leaves the previous file whole and no
// temporary file behind. Throws IoFailure with a French message naming the
// file that failed (the temporary one when it could not be written).
void WriteFileReplacing(const std::string& path, const std::string& content);

}  // namespace calctopo
