// Text taken from files, made safe for an HTML page.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

// &, <, >, " and ' as entities; bytes below 0x20 but tab and line ends as
// U+FFFD, so that no file can put markup or controls into a page.
std::string HtmlEscape(std::string_view text);

// The page's style and key script, shared by the steps page and a game's
// index page.
void WritePageHead(std::ostream& out, const std::string& title);
void WritePageFoot(std::ostream& out);
