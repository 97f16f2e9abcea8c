#include "data/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <system_error>

#include "data/Failures.h"
#include "data/MessagesComp.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"

namespace calctopo {

namespace {

namespace fs = std::filesystem;

// The program's wording of the system errors a user meets with files.
struct ErrorWording {
    int number;
    const char* utf8;
};

const ErrorWording kErrorWordings[] = {
    {EACCES, "Permission non accordée"},
    {EPERM, "Opération non permise"},
    {ENOENT, "Aucun fichier ou dossier de ce nom"},
    {ENOSPC, "Plus de place sur le disque"},
#ifdef EDQUOT
    {EDQUOT, "Quota de disque dépassé"},
#endif
    {EFBIG, "Fichier trop volumineux"},
    {EISDIR, "C'est un dossier"},
    {ENOTDIR, "Un élément du chemin n'est pas un dossier"},
    {EROFS, "Disque en lecture seule"},
    {ENAMETOOLONG, "Nom de fichier trop long"},
    {EEXIST, "Le fichier existe déjà"},
    {EIO, "Erreur matérielle d'entrée-sortie"},
    {EMFILE, "Trop de fichiers ouverts"},
    {ENFILE, "Trop de fichiers ouverts"},
    {ELOOP, "Trop de liens symboliques"},
    {EBUSY, "Fichier ou périphérique occupé"},
#ifdef ETXTBSY
    {ETXTBSY, "Fichier en cours d'utilisation"},
#endif
    {EXDEV, "Déplacement entre deux disques impossible"},
    {ENOMEM, "Mémoire insuffisante"},
    {EINVAL, "Argument invalide"},
    {ENXIO, "Périphérique absent"},
    {ENODEV, "Périphérique absent"},
    {EAGAIN, "Ressource momentanément indisponible"},
};

// A text of the C library (strerror) in the encoding of the current locale
// (UTF-8, Latin-9, the Windows code page...), to Windows-1252, decoded once.
// A byte that does not decode is kept as a Windows-1252 byte.
std::string LocaleTextToCp1252(const char* text) {
    std::wstring wide;
    std::mbstate_t state{};
    const std::size_t size = std::strlen(text);
    std::size_t i = 0;
    while (i < size) {
        wchar_t character = 0;
        const std::size_t used = std::mbrtowc(&character, text + i, size - i, &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
            used == 0) {
            wide += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
            state = std::mbstate_t{};
            ++i;
            continue;
        }
        wide += character;
        i += used;
    }
    return WideToCp1252(wide);
}

// The errno value behind a file-system error code (Windows codes included).
int ErrnoOf(const std::error_code& error) {
    return error.default_error_condition().value();
}

// fopen by path: the narrow native name on POSIX, the wide one on Windows,
// where a narrow name would go through the ANSI code page and lose characters.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// The line of the text at a byte position, counting the line ends before it.
std::int32_t LineAt(const std::string& text, std::size_t position, char lineEnd) {
    const auto ends = std::count(text.begin(), text.begin() + static_cast<long>(position), lineEnd);
    return static_cast<std::int32_t>(std::min<std::ptrdiff_t>(ends, INT32_MAX - 1)) + 1;
}

// Reads the bytes of a regular file, at most kMaxTextFileBytes.
void ReadBytes(const fs::path& native, TextFileContent& content, std::string& bytes) {
    std::error_code error;
    const fs::file_status status = fs::status(native, error);
    if (error || !fs::exists(status) || fs::is_directory(status)) {
        content.problem = TextReadProblem::CannotOpen;
        content.systemError = error ? ErrnoOf(error) : (fs::exists(status) ? EISDIR : ENOENT);
        return;
    }
    // A device or a pipe could block the program or never end (/dev/zero).
    if (!fs::is_regular_file(status)) {
        content.problem = TextReadProblem::NotRegularFile;
        return;
    }
    const std::uintmax_t size = fs::file_size(native, error);
    if (!error && size > kMaxTextFileBytes) {
        content.problem = TextReadProblem::TooLarge;
        return;
    }
    errno = 0;
    std::FILE* file = OpenFile(native, "rb");
    if (file == nullptr) {
        content.problem = TextReadProblem::CannotOpen;
        content.systemError = errno;
        return;
    }
    if (!error) {
        bytes.reserve(static_cast<std::size_t>(size));
    }
    char buffer[65536];
    std::size_t got = 0;
    errno = 0;
    // A file that grows while it is read stops at the limit all the same.
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
        if (bytes.size() > kMaxTextFileBytes) {
            content.problem = TextReadProblem::TooLarge;
            break;
        }
    }
    if (content.problem == TextReadProblem::None && std::ferror(file) != 0) {
        content.problem = TextReadProblem::ReadFailed;
        content.systemError = errno;
    }
    std::fclose(file);
}

// Decodes the bytes by their byte-order mark into content.text.
void Decode(std::string& bytes, TextFileContent& content) {
    const auto starts = [&bytes](std::string_view mark) {
        return bytes.size() >= mark.size() &&
               std::string_view(bytes).substr(0, mark.size()) == mark;
    };
    if (starts("\xEF\xBB\xBF")) {
        content.encoding = TextEncoding::Utf8;
        content.text = Utf8ToCp1252(std::string_view(bytes).substr(3), &content.unconvertible);
    } else if (starts("\xFF\xFE")) {
        content.encoding = TextEncoding::Utf16LittleEndian;
        content.text =
            Utf16ToCp1252(std::string_view(bytes).substr(2), false, &content.unconvertible);
    } else if (starts("\xFE\xFF")) {
        content.encoding = TextEncoding::Utf16BigEndian;
        content.text =
            Utf16ToCp1252(std::string_view(bytes).substr(2), true, &content.unconvertible);
    } else {
        content.text = std::move(bytes);
    }
}

}  // namespace

std::string SystemErrorText(int errorNumber) {
    for (const ErrorWording& wording : kErrorWordings) {
        if (wording.number == errorNumber) {
            return Utf8ToCp1252(wording.utf8);
        }
    }
    // A rarer error: its number, and the system's text in the user's language.
    return TextOf(texts::kSystemError, errorNumber) +
           LocaleTextToCp1252(std::strerror(errorNumber));
}

std::string DescribeSystemError(int errorNumber) {
    return errorNumber == 0 ? std::string() : " (" + SystemErrorText(errorNumber) + ")";
}

std::filesystem::path NativePath(const std::string& name) {
    const std::string utf8 = Cp1252ToUtf8(name);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string NameFromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
}

TextOutputFile::~TextOutputFile() {
    Close();
}

void TextOutputFile::Create(const std::string& path) {
    Close();
    errno = 0;
    file_ = OpenFile(NativePath(path), "wb");
    if (file_ == nullptr) {
        throw IoFailure(
            TextOf(texts::kCannotCreateFile, EchoedName(path), DescribeSystemError(errno)));
    }
    path_ = path;
}

void TextOutputFile::Write(std::string_view text) {
    Append(text);
    Flush();
}

void TextOutputFile::WriteLine(std::string_view text) {
    AppendLine(text);
    Flush();
}

void TextOutputFile::Append(std::string_view text) {
    if (file_ != nullptr) {
        held_ += text;
    }
}

void TextOutputFile::AppendLine(std::string_view text) {
    if (file_ != nullptr) {
        held_ += text;
        held_ += "\r\n";
    }
}

void TextOutputFile::Flush() {
    if (file_ == nullptr || held_.empty()) {
        return;
    }
    errno = 0;
    const bool written = std::fwrite(held_.data(), 1, held_.size(), file_) == held_.size();
    held_.clear();
    if (!written || std::fflush(file_) != 0) {
        throw IoFailure(
            TextOf(texts::kFileWriteError, EchoedName(path_), DescribeSystemError(errno)));
    }
}

void TextOutputFile::Close() {
    if (file_ != nullptr) {
        // Every writer flushes its own text: anything still held was left by
        // a writer interrupted before its Flush.
        std::fwrite(held_.data(), 1, held_.size(), file_);
        held_.clear();
        std::fclose(file_);
        file_ = nullptr;
    }
}

TextFileContent ReadTextFile(const std::string& path) {
    TextFileContent content;
    std::string bytes;
    ReadBytes(NativePath(path), content, bytes);
    if (content.problem != TextReadProblem::None) {
        return content;
    }
    Decode(bytes, content);
    content.crOnlyLineEnds = content.text.find('\n') == std::string::npos &&
                             content.text.find('\r') != std::string::npos;
    const std::size_t nul = content.text.find('\0');
    if (nul != std::string::npos) {
        content.problem = TextReadProblem::NotText;
        content.nulLine = LineAt(content.text, nul, content.crOnlyLineEnds ? '\r' : '\n');
        content.text.clear();
    }
    return content;
}

LineCursor::LineCursor(const TextFileContent& content)
    : text_(content.text), end_(content.crOnlyLineEnds ? '\r' : '\n') {}

bool LineCursor::Next(std::string_view& line) {
    if (done_) {
        return false;
    }
    const std::size_t end = text_.find(end_, position_);
    if (end == std::string_view::npos) {
        // The text after the last line end is a last line, unless the text
        // ended with a line end (an empty text still reads as one empty line).
        done_ = true;
        if (position_ < text_.size() || position_ == 0) {
            line = text_.substr(position_);
            return true;
        }
        return false;
    }
    std::size_t stop = end;
    if (end_ == '\n' && stop > position_ && text_[stop - 1] == '\r') {
        --stop;
    }
    line = text_.substr(position_, stop - position_);
    position_ = end + 1;
    return true;
}

std::string DescribeReadProblem(const TextFileContent& content, const std::string& fullName) {
    const std::string name = EchoedName(fullName);
    switch (content.problem) {
        case TextReadProblem::None:
            return std::string();
        case TextReadProblem::CannotOpen:
            return TextOf(texts::kCannotOpenForReading, name,
                          DescribeSystemError(content.systemError));
        case TextReadProblem::NotRegularFile:
            return TextOf(texts::kNotRegularFileNotRead, name);
        case TextReadProblem::TooLarge:
            return TextOf(texts::kFileTooLarge, name, static_cast<int>(kMaxTextFileBytes >> 20));
        case TextReadProblem::ReadFailed:
            return TextOf(texts::kFileReadError, name, DescribeSystemError(content.systemError));
        case TextReadProblem::NotText:
            return TextOf(texts::kFileNotText, name, content.nulLine);
    }
    return std::string();
}

std::vector<std::string> DescribeTextNotices(const TextFileContent& content,
                                             const std::string& fullName) {
    std::vector<std::string> notices;
    const std::string name = EchoedName(fullName);
    if (content.encoding != TextEncoding::Windows1252) {
        const char* encoding = content.encoding == TextEncoding::Utf8 ? "UTF-8" : "UTF-16";
        notices.push_back(TextOf(texts::kFileEncodingNotice, name, encoding));
    }
    if (content.unconvertible > 0) {
        notices.push_back(TextOf(texts::kFileUnconvertibleNotice, name, content.unconvertible));
    }
    if (content.crOnlyLineEnds) {
        notices.push_back(TextOf(texts::kFileCrOnlyNotice, name));
    }
    return notices;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    const TextFileContent content = ReadTextFile(path);
    if (content.problem != TextReadProblem::None) {
        return false;
    }
    LineCursor cursor(content);
    std::string_view line;
    while (cursor.Next(line)) {
        lines.emplace_back(line);
    }
    return true;
}

void WriteFileReplacing(const std::string& path, const std::string& content) {
    const fs::path target = NativePath(path);
    fs::path temporary = target;
    temporary += ".tmp~";
    const std::string temporaryName = NameFromPath(temporary);
    // Whatever fails, the file under `path` is as it was: the message says so.
    const std::string untouched = TextOf(texts::kFileLeftUnchanged, EchoedName(path));
    {
        errno = 0;
        std::FILE* file = OpenFile(temporary, "wb");
        if (file == nullptr) {
            throw IoFailure(TextOf(texts::kCannotCreateFile, EchoedName(temporaryName),
                                   DescribeSystemError(errno)) +
                            untouched);
        }
        errno = 0;
        const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
        const bool flushed = written && std::fflush(file) == 0;
        int error = errno;
        const bool closed = std::fclose(file) == 0;
        if (error == 0) {
            error = errno;
        }
        if (!written || !flushed || !closed) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw IoFailure(TextOf(texts::kFileWriteError, EchoedName(temporaryName),
                                   DescribeSystemError(error)) +
                            untouched);
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw IoFailure(TextOf(texts::kCannotReplaceFile, EchoedName(path),
                               DescribeSystemError(ErrnoOf(error))));
    }
}

}  // namespace calctopo
