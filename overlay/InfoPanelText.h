// The information panel's rich text and the user guide its buttons open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The user guide, shipped beside the program; there is no web site or mail address to send a
// player to.
inline constexpr std::string_view kUserGuideFileName = "README.txt";

// The user guide beside the program file `programPath` (UTF-8, "\\" or "/" between folders): the
// path up to its last separator followed by kUserGuideFileName. A path without a folder (or an
// empty one, when the program's path is not known) gives the bare file name, which the shell
// looks for in the current folder.
[[nodiscard]] std::string UserGuidePath(std::string_view programPath);

// The panel text as rich text in code page 1252, with the placeholders "<<HANDS>>" and
// "<<PLAYERS>>" still in it.
[[nodiscard]] std::string_view InfoPanelTemplate();

// The panel text with every placeholder replaced by its count as bare decimal digits.
[[nodiscard]] std::string InfoPanelText(uint32_t hands, int32_t players);

struct sHistoryFolder;  // overlay/HistoryFolderChoice.h

// The panel text of the counts, with one more paragraph: HistoryFolderLine of `folder`, its
// characters beyond ASCII as Unicode escapes and the rich text's own marks escaped.
[[nodiscard]] std::string InfoPanelText(uint32_t hands, int32_t players,
                                        const sHistoryFolder& folder);
