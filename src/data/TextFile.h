// Text files as the program writes them: Windows-1252 bytes, lines ended by
// CR LF, created by emptying any file of the same name.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace calctopo {

// A text file open for writing. Every write is flushed at once, so a listing
// on disk is complete up to the last line written. Failures throw IoFailure.
class TextOutputFile {
  public:
    TextOutputFile() = default;
    TextOutputFile(const TextOutputFile&) = delete;
    TextOutputFile& operator=(const TextOutputFile&) = delete;
    ~TextOutputFile();

    // Creates (or empties) the file; throws IoFailure when it cannot.
    void Create(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Writes text as it stands / writes text and CR LF. Flushed at once.
    void Write(std::string_view text);
    void WriteLine(std::string_view text);

    // Closes the file; a file never opened is passed over.
    void Close();

  private:
    std::FILE* file_ = nullptr;
    std::string path_;
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
