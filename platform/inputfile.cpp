#include "platform/inputfile.h"

#include <sstream>

const char* DescribeInputProblem(InputProblem problem) {
    switch (problem) {
    case InputProblem::None:
        return "read";
    case InputProblem::NotFound:
        return "no such file";
    case InputProblem::NoPermission:
        return "no permission to read it";
    case InputProblem::NotRegularFile:
        return "not a regular file";
    case InputProblem::TooLarge:
        return "the file is too large";
    case InputProblem::ReadFailed:
        return "the file could not be read";
    }
    return "unknown problem";
}

InputProblem ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes,
                           std::string& bytes) {
    RegularFile file(path);
    if (file.Problem() != InputProblem::None)
        return file.Problem();
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const long got = file.Read(buffer, sizeof buffer);
        if (got < 0)
            return InputProblem::ReadFailed;
        if (got == 0)
            return InputProblem::None;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes)
            return InputProblem::TooLarge;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::vector<std::string> ReadTextLines(const std::filesystem::path& path, std::size_t maxBytes) {
    std::vector<std::string> lines;
    std::string text;
    if (path.empty() || ReadWholeFile(path, maxBytes, text) != InputProblem::None)
        return lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}
