// The information panel's rich text and the maker's addresses its buttons open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Opened by the "Visit" and "Check for Updates" buttons.
inline constexpr std::string_view kWebSiteAddress = "https://www.lanternquill.example/";
// Opened, after "mailto:", by the "Email Support" button.
inline constexpr std::string_view kSupportEmailAddress = "support@lanternquill.example";

// "mailto:" followed by the support address, ready for the shell.
[[nodiscard]] std::string SupportMailtoAddress();

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
