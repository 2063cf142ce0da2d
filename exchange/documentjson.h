// A document as JSON, for technicians who script their work: every field,
// with banks naming their site by position in the site list.
#pragma once

#include "document/records.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

nlohmann::ordered_json DocumentToJson(const TBoardData& document);

struct JsonError {
    std::string Path; // e.g. "/banks/2/ptt/pagingCode"
    std::string Rule; // what the value must be
};

// Parses JSON text; a key given twice in one object is an error at its path,
// as is text that is not JSON.
std::optional<nlohmann::json> ParseDocumentJson(std::string_view text, JsonError& error);

// Builds `document` from JSON with every check the editors apply; on the
// first error `document` is left untouched and the error says where and why.
std::optional<JsonError> DocumentFromJson(const nlohmann::json& json, TBoardData& document);
