// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <string>
#include <string_view>

namespace veltrane {

// Device bytes (read as Latin-1) as UTF-8 text that is safe to show anywhere:
// a backslash is doubled, CR, LF and tab become "\r", "\n" and "\t", and every
// other control character (C0, DEL and the C1 range 0x80-0x9f, which some
// terminals act on) becomes "\xhh". A line ending stays visible and nothing
// in the text can act on a terminal or a label. Callers still show the result
// as plain text, never as markup.
std::string escapeDeviceText(std::string_view latin1);
void appendEscapedDeviceText(std::string& out, std::string_view latin1);

// The same bytes as the body of a JSON string: UTF-8, with JSON's own escapes.
void appendJsonString(std::string& out, std::string_view latin1);

// What a person typed or the system named (a file name, an argument), in
// single quotes and safe to show: UTF-8 as UTF-8, a backslash doubled, CR, LF
// and tab as "\r", "\n" and "\t", and every other control character
// (C0, DEL, C1) and every byte that is not valid UTF-8 as "\xhh".
std::string quotedUserText(std::string_view utf8);
// The same without the quotes.
void appendEscapedUserText(std::string& out, std::string_view utf8);

}  // namespace veltrane
