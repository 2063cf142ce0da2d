// zeltool diff: two configurations compared field by field.
#include "document/zelfile.h"
#include "platform/inputfile.h"
#include "radiolink/tarvodll.h"
#include "readback/documentdiff.h"
#include "readback/imagefields.h"
#include "tools/zeltool/board.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <algorithm>
#include <iostream>
#include <memory>

namespace {

// One side of a comparison: a document, an image file or a board.
struct Side {
    std::string Label;
    std::unique_ptr<TBoardData> Document; // when the side is a document
    TOptionImage Image{};
};

int LoadSide(const std::string& what, Side& side, PasswordGate& gate) {
    side.Label = what;
    if (what.starts_with("port:")) {
        const std::string number = what.substr(5);
        if (number.size() != 1 || number[0] < '1' || number[0] > '4')
            return Fail(status::Usage, what + ": use port:1 .. port:4");
        PrepareLibraryForReading(TProductData{});
        TarvoRadio radio;
        return ReadOrFail(radio, ChoosePort(number[0] - '0'), side.Image, what + ": ");
    }
    if (const int loaded = LoadDocumentOrImage(what, side.Document, side.Image);
        loaded != status::Ok)
        return loaded;
    return side.Document ? gate.Check(*side.Document, what) : status::Ok;
}

int Diff(const std::string& first, const std::string& second, PasswordGate& gate) {
    Side a;
    Side b;
    if (const int loaded = LoadSide(first, a, gate); loaded != status::Ok)
        return loaded;
    if (const int loaded = LoadSide(second, b, gate); loaded != status::Ok)
        return loaded;
    std::vector<std::string> lines;
    if (a.Document && b.Document) {
        lines = DiffDocuments(*a.Document, *b.Document, DiffScope::Everything);
    } else if (a.Image != b.Image) {
        // Compared as the board sees them, the sites named after the
        // document's where there is one.
        const ImageContentDiff diff =
            DiffImageContent(a.Image, b.Image, a.Document ? a.Document.get() : b.Document.get());
        lines = diff.Fields;
        for (const auto& [side, decoded] :
             {std::pair{&a, &diff.First}, std::pair{&b, &diff.Second}})
            if (!decoded->Clean()) {
                std::cout << side->Label << " holds bytes that no document makes:\n";
                for (const DecodeFinding* problem : decoded->Problems())
                    std::cout << "  " << problem->Text() << "\n";
            }
        if (lines.empty())
            for (const ImageDifference& difference : diff.Stretches)
                lines.push_back(difference.Field.Describe() + ": " + DescribeAddresses(difference) +
                                " differ");
    }
    for (const std::string& line : lines)
        std::cout << line << "\n";
    if (lines.empty()) {
        std::cout << "The same: " << first << " and " << second << "\n";
        return status::Ok;
    }
    return status::Differ;
}

} // namespace

Command AddDiff(CLI::App& tool) {
    struct Options {
        std::string First;
        std::string Second;
        PasswordGate Gate;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("diff", "List the differences between two configurations, "
                                                "field by field");
    for (auto* operand : {&o->First, &o->Second})
        command
            ->add_option(
                operand == &o->First ? "A" : "B", *operand,
                "A document (.zel), a 2256-byte image file, or port:N for the board on COMN")
            ->required();
    o->Gate.AddOption(command);
    return {command, [o] { return Diff(o->First, o->Second, o->Gate); }};
}
