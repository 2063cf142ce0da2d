#include "tools/zeltool/common.h"

#include "app/core/settings.h"
#include "document/limits.h"
#include "document/windows1252.h"
#include "document/zelfile.h"
#include "platform/environment.h"
#include "platform/inputfile.h"
#include "platform/safefile.h"
#include "platform/terminal.h"
#include "programming/run.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

std::string ExitStatusHelp() {
    std::string help = "Exit codes:";
    for (const auto& [codes, text] : status::kTable)
        help += std::string(" ") + codes + " " + text + ";";
    help.back() = '.';
    return help + " diff exits 0 when the two are the same and 1 when they differ.";
}

std::atomic<bool> interrupted{false};

void CatchInterrupts() {
    StopOnInterrupt(interrupted);
}

int Fail(int code, const std::string& message) {
    std::cerr << "zeltool: " << message << "\n";
    return code;
}

int LoadOrFail(const std::string& path, std::unique_ptr<TBoardData>& document) {
    const ZelResult result = LoadDocument(path, document);
    if (result == ZelResult::Ok)
        return status::Ok;
    return Fail(status::CannotRead,
                "Unable to open file " + path + ": " + DescribeZelResult(result));
}

int WriteOutput(const std::string& path, std::string_view bytes) {
    if (path == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        return std::cout ? status::Ok : Fail(status::CannotWrite, "cannot write standard output");
    }
    const WriteResult written = WriteFileSafely(path, bytes);
    if (written == WriteResult::Ok)
        return status::Ok;
    return Fail(status::CannotWrite, "cannot write " + path + ": " + DescribeWriteResult(written));
}

int WriteOutput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    return WriteOutput(path, std::string_view(reinterpret_cast<const char*>(data), size));
}

int SaveOrFail(const TBoardData& document, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const ZelResult encoded =
        EncodeDocument(document, static_cast<std::uint16_t>(std::rand() % 32768), bytes);
    if (encoded != ZelResult::Ok)
        return Fail(status::CannotWrite, "cannot save " + path + ": " + DescribeZelResult(encoded));
    return WriteOutput(path, bytes.data(), bytes.size());
}

int RefuseSameFile(const std::string& input, const std::string& output) {
    std::error_code error;
    if (output != "-" && std::filesystem::equivalent(input, output, error))
        return Fail(status::Usage, output + " is the input file itself; choose another output");
    return status::Ok;
}

int BuildOrFail(const TBoardData& document, TOptionImage& image) {
    const int built = BuildImage(image, document);
    if (built == 0)
        return status::Ok;
    return Fail(status::InvalidData, BuildFailureMessage(built));
}

int LoadAndBuild(const std::string& path, TOptionImage& image) {
    std::unique_ptr<TBoardData> document;
    if (const int loaded = LoadOrFail(path, document); loaded != status::Ok)
        return loaded;
    return BuildOrFail(*document, image);
}

int LoadImageFile(const std::string& path, TOptionImage& image) {
    std::string bytes;
    const InputProblem problem = ReadWholeFile(path, kImageSize, bytes);
    if (problem != InputProblem::None && problem != InputProblem::TooLarge)
        return Fail(status::CannotRead, path + ": " + DescribeInputProblem(problem));
    if (problem == InputProblem::TooLarge || bytes.size() != kImageSize)
        return Fail(status::CannotRead, path + ": neither a document nor a " +
                                            std::to_string(kImageSize) + "-byte image");
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return status::Ok;
}

int LoadDocumentOrImage(const std::string& path, std::unique_ptr<TBoardData>& document,
                        TOptionImage& image) {
    if (LoadDocument(path, document) != ZelResult::Ok) {
        document.reset();
        return LoadImageFile(path, image);
    }
    if (const int built = BuildImage(image, *document); built != buildresult::Ok)
        return Fail(status::InvalidData, path + ": " + BuildFailureMessage(built));
    return status::Ok;
}

std::string Utf8(std::string_view text) {
    return DocumentTextToUtf8(text);
}

int PasswordGate::Check(const TBoardData& document, const std::string& path) {
    if (document.Product.Password.Empty())
        return status::Ok;
    if (!Given) {
        if (!IsTerminal(StandardStream::Input))
            return Fail(status::WrongPassword,
                        path + " is password protected; give its password with --password");
        std::cerr << "Password for " << path << ": " << std::flush;
        Given = ReadSecretLine();
    }
    const auto entry = Utf8ToDocumentText(*Given);
    if (!entry || entry->substr(0, limits::kPassword) != document.Product.Password.View())
        return Fail(status::WrongPassword, "Incorrect password for " + path);
    return status::Ok;
}

void PasswordGate::AddOption(CLI::App* command) {
    command
        ->add_option_function<std::string>(
            "--password", [this](const std::string& given) { Given = given; },
            "The document's password (asked for on a terminal when it is needed)")
        ->type_name("TEXT");
}

int LoadUnlocked(const std::string& path, std::unique_ptr<TBoardData>& document,
                 PasswordGate& gate) {
    if (const int loaded = LoadOrFail(path, document); loaded != status::Ok)
        return loaded;
    return gate.Check(*document, path);
}

std::string deviceOverride;
std::vector<std::string> commandArguments;

int ChoosePort(int option) {
    int port = option;
    if (port == 0) {
        TAppSettings settings;
        ReadAllSettings(ThisProgram(nullptr).parent_path() / "zel", settings);
        port = settings.Port;
    }
    // The radio communications server reads the mapping of each port as it
    // opens it; the override stands in for TARVO_COMn for this run only.
    if (!deviceOverride.empty())
        SetVariable(("TARVO_COM" + std::to_string(port)).c_str(), deviceOverride.c_str());
    return port;
}
