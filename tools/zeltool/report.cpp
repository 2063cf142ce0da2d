// zeltool report: the configuration sheet of a document, as HTML or as a
// PDF laid out by Qt; and the sheet writer that program --sheet shares.
#include "platform/environment.h"
#include "report/sheethtml.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"
#include "tools/zeltool/sheet.h"

#if ZEL_SHEET_PDF
#include "report/reportwriter.h"

#include <QGuiApplication>
#endif

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

// The PDF is laid out by Qt; a build without Qt (zeltool.exe) writes HTML.
constexpr bool kPdf = ZEL_SHEET_PDF;

#if ZEL_SHEET_PDF
std::unique_ptr<QGuiApplication>& SheetApplication() {
    static std::unique_ptr<QGuiApplication> application;
    return application;
}
#endif

bool IsHtmlName(const std::string& output) {
    const std::string extension = std::filesystem::path(output).extension().string();
    return output == "-" || extension == ".html" || extension == ".htm";
}

} // namespace

void CloseSheetWriter() {
#if ZEL_SHEET_PDF
    SheetApplication().reset();
#endif
}

std::string SheetNameProblem(const std::string& output) {
    if (IsHtmlName(output) || (kPdf && std::filesystem::path(output).extension() == ".pdf"))
        return {};
    return output + (kPdf ? ": the sheet is written as .pdf or .html"
                          : ": this build writes the sheet as .html");
}

int WriteSheet(const std::string& html, const std::string& output) {
    // Standard output takes the sheet as HTML.
    if (IsHtmlName(output))
        return WriteOutput(output, html);
    if (const std::string problem = SheetNameProblem(output); !problem.empty())
        return Fail(status::Usage, problem);
#if ZEL_SHEET_PDF
    // Laying out text needs the fonts of a GUI application, not a display;
    // one application serves every sheet of the run.
    auto& application = SheetApplication();
    if (!application) {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr)
            SetVariable("QT_QPA_PLATFORM", "offscreen");
        // Qt's notes about the session (no runtime directory, ...) are not
        // the user's business here; its errors still show.
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtCriticalMsg || type == QtFatalMsg)
                    std::cerr << "zeltool: " << message.toStdString() << "\n";
            });
        static int argc = 1;
        static char name[] = "zeltool";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    const QByteArray pdf = ReportPdf(html);
    return WriteOutput(output,
                       std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
#else
    return status::Usage;
#endif
}

Command AddReport(CLI::App& tool) {
    struct Options {
        std::string File;
        std::string Output;
        PasswordGate Gate;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand(
        "report", "Write a configuration sheet of a document for the customer's records");
    command->add_option("FILE", o->File, "Document")->required();
    command
        ->add_option("-o,--output", o->Output,
                     "OUT.pdf, OUT.html, or - for HTML on standard output")
        ->required();
    o->Gate.AddOption(command);
    return {
        command, [o] {
            if (const int same = RefuseSameFile(o->File, o->Output); same != status::Ok)
                return same;
            std::unique_ptr<TBoardData> document;
            if (const int loaded = LoadUnlocked(o->File, document, o->Gate); loaded != status::Ok)
                return loaded;
            return WriteSheet(ConfigurationSheetHtml(
                                  *document, {std::filesystem::path(o->File).filename().string(),
                                              ReportTimestamp(), std::nullopt}),
                              o->Output);
        }};
}
