// A field-by-field comparison of documents that follows bank sites by
// position.
#pragma once

#include "document/records.h"
#include "support/full_document.h"

#include <gtest/gtest.h>

#include <string>

namespace sample {

// Field-by-field equality of two documents; bank sites compare by position.
inline void ExpectSameDocument(const TBoardData& a, const TBoardData& b) {
    EXPECT_EQ(a.Global, b.Global);
    EXPECT_EQ(a.SpeedDial, b.SpeedDial);
    EXPECT_EQ(a.Product, b.Product);
    ASSERT_EQ(a.Sites.Count(), b.Sites.Count());
    for (int s = 0; s < a.Sites.Count(); ++s) {
        EXPECT_EQ(a.Sites[s].Name, b.Sites[s].Name);
        ASSERT_EQ(a.Sites[s].Channels.Count(), b.Sites[s].Channels.Count());
        for (int c = 0; c < a.Sites[s].Channels.Count(); ++c)
            EXPECT_EQ(a.Sites[s].Channels[c], b.Sites[s].Channels[c]) << s << "/" << c;
    }
    ASSERT_EQ(a.Banks.Count(), b.Banks.Count());
    for (int i = 0; i < a.Banks.Count(); ++i) {
        TBankData left = a.Banks[i];
        TBankData right = b.Banks[i];
        EXPECT_EQ(a.Sites.Find(left.Site), b.Sites.Find(right.Site)) << "bank " << i;
        left.Site = right.Site = nullptr;
        EXPECT_EQ(left, right) << "bank " << i;
    }
}

} // namespace sample
