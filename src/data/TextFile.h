// Text files as the program writes them: Windows-1252 bytes, lines ended by
// CR LF, created by emptying any file of the same name.
#pragma once

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

// Reads a whole text file into lines, splitting on LF and dropping one CR
// before it. An empty file gives one empty line. Returns false when the file
// cannot be opened or read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Writes content to path through a temporary file in the same folder renamed
// over the old file, so a failed write leaves the previous file whole.
// Throws IoFailure with a French message naming the file.
void WriteFileReplacing(const std::string& path, const std::string& content);

}  // namespace calctopo
