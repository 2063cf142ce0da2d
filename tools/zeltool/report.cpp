// zeltool report: the configuration sheet of a document, as HTML or as a
// PDF laid out by Qt.
#include "platform/environment.h"
#include "report/reportwriter.h"
#include "report/sheethtml.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

int Report(const std::string& file, const std::string& output, PasswordGate& gate, int argc,
           char** argv) {
    std::unique_ptr<TBoardData> document;
    if (const int loaded = LoadUnlocked(file, document, gate); loaded != status::Ok)
        return loaded;
    const std::string extension = std::filesystem::path(output).extension().string();
    const std::string html = ConfigurationSheetHtml(
        *document, {std::filesystem::path(file).filename().string(), ReportTimestamp()});
    // Standard output takes the sheet as HTML.
    if (output == "-" || extension == ".html" || extension == ".htm")
        return WriteOutput(output, html);
    if (extension != ".pdf")
        return Fail(status::Usage, output + ": the sheet is written as .pdf or .html");
    // Laying out text needs the fonts of a GUI application, not a display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        SetVariable("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the session (no runtime directory, ...) are not the
    // user's business here; its errors still show.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "zeltool: " << message.toStdString() << "\n";
    });
    QGuiApplication application(argc, argv);
    const QByteArray pdf = ReportPdf(html);
    return WriteOutput(output,
                       std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
}

} // namespace

Command AddReport(CLI::App& tool, int argc, char** argv) {
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
    return {command, [o, argc, argv] {
                if (const int same = RefuseSameFile(o->File, o->Output); same != status::Ok)
                    return same;
                return Report(o->File, o->Output, o->Gate, argc, argv);
            }};
}
