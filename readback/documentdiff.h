// The differences between two documents, field by field, in the words of
// the editors: "bank 2 (Yard Crew): PTT number 5550142 → 5550143".
#pragma once

#include "document/records.h"
#include "readback/imagedecoder.h"
#include "readback/imagefields.h"

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

// Two images compared as the board sees them: both decoded, their sites
// named after `names` when it is given (a document of one side), then field
// by field. `Stretches` holds every differing stretch of bytes by the image
// field it lies in, for differences no document field shows.
struct ImageContentDiff {
    DecodedImage First;
    DecodedImage Second;
    std::vector<std::string> Fields;
    std::vector<ImageDifference> Stretches;
};
ImageContentDiff DiffImageContent(const TOptionImage& a, const TOptionImage& b,
                                  const TBoardData* names);
