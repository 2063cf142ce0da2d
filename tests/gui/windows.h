// Main windows on documents made for a test: the document is saved into a
// file of the test process's own and opened as File > Open opens it.
#pragma once

#include "app/zelwindow.h"
#include "document/zelfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

// A window on a document with sites of these names and `banks` banks named
// "Bank 1", "Bank 2", ..., on the sites in turn.
inline std::unique_ptr<TZelWindow> WindowWithSitesAndBanks(const std::vector<std::string>& sites,
                                                           int banks) {
    TBoardData document;
    for (const auto& name : sites) {
        auto site = std::make_unique<TRfSite>();
        site->SetName(name);
        document.Sites.Append(site);
    }
    for (int i = 0; i < banks; ++i) {
        auto bank = std::make_unique<TBankData>();
        bank->Name.Set("Bank " + std::to_string(i + 1));
        bank->Site = &document.Sites[i % document.Sites.Count()];
        document.Banks.Append(bank);
    }
    // Tests run side by side: each process has files of its own.
    static int made = 0;
    const auto path =
        std::filesystem::path(testing::TempDir()) /
        ("window-" + std::to_string(getpid()) + "-" + std::to_string(++made) + ".zel");
    EXPECT_EQ(SaveDocument(document, path, 3), ZelResult::Ok);
    auto window = std::make_unique<TZelWindow>();
    window->OpenPath(QString::fromStdString(path.string()));
    return window;
}
