// Files the program reads. Every input that must be a file is opened without
// blocking and refused when it is not a regular file, so that a FIFO, a
// terminal or a device named by mistake never hangs the program or feeds it
// without end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

enum class InputProblem {
    None,
    NotFound,
    NoPermission,
    NotRegularFile, // a directory, FIFO, device, socket
    TooLarge,       // more bytes than the reader takes
    ReadFailed,
};

// What went wrong, in a few words ("not a regular file").
const char* DescribeInputProblem(InputProblem problem);

class RegularFile {
  public:
    explicit RegularFile(const std::filesystem::path& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    InputProblem Problem() const { return problem_; }
    // Up to `size` bytes; 0 at the end of the file, -1 on an error.
    long Read(void* buffer, std::size_t size);

  private:
    std::intptr_t handle_ = -1; // a descriptor, or a handle on Windows
    InputProblem problem_ = InputProblem::None;
};

// The whole file, when it holds at most `maxBytes` bytes.
InputProblem ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string& bytes);

// The lines of a small text file (at most `maxBytes`), without their line
// ends (LF or CRLF); none when it cannot be read.
std::vector<std::string> ReadTextLines(const std::filesystem::path& path, std::size_t maxBytes);
