// Player names come from hand history files and cache files: arbitrary bytes, usually UTF-8,
// sometimes an 8-bit code page, occasionally damaged. These helpers put them into the tool's
// output formats without breaking them.
#pragma once

#include <string>
#include <string_view>

// A JSON string literal, quotes included. Valid UTF-8 is kept; any byte that is not part of a
// valid UTF-8 sequence is taken as a Latin-1 character, so the result is always valid JSON.
[[nodiscard]] std::string JsonString(std::string_view bytes);

// A CSV field: quoted (with doubled quotes) when it holds a comma, quote, line break or leading
// or trailing blank; otherwise unchanged.
[[nodiscard]] std::string CsvField(std::string_view bytes);

// The bytes with control characters and backslashes written as escapes ("\t" as \x09, "\" as
// \\), so that a name always stays on one line and inside its column.
[[nodiscard]] std::string PrintableText(std::string_view bytes);
