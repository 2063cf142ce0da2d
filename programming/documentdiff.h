// The differences between two documents, field by field, in the words of
// the editors: "bank 2 (Yard Crew): PTT number 5550142 → 5550143".
#pragma once

#include "document/records.h"

#include <string>
#include <vector>

enum class DiffScope {
    // Every field, site names and the password included.
    Everything,
    // What an option-board image carries: for documents decoded from images,
    // whose site names and password are stand-ins.
    ImageContent,
};

std::vector<std::string> DiffDocuments(const TBoardData& a, const TBoardData& b,
                                       DiffScope scope = DiffScope::Everything);
