// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <charconv>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>

#include "device_text.h"

namespace veltrane {

// JSON appended to a string the caller owns, value by value, with the commas
// placed for it: every JSON line the tools print is written through this.
// Texts and member names are device bytes (Latin-1) and always escaped, so a
// talker or a port name cannot break the line. It checks nothing about
// nesting; its callers are few and their tests compare whole lines.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : out_(out) {}

    JsonWriter& beginObject() { return open('{'); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginArray() { return open('['); }
    JsonWriter& endArray() { return close(']'); }

    JsonWriter& key(std::string_view latin1)
    {
        quoted(latin1);
        out_.push_back(':');
        pending_ = false;
        return *this;
    }

    JsonWriter& value(std::string_view latin1)
    {
        quoted(latin1);
        return *this;
    }
    JsonWriter& value(const char* latin1) { return value(std::string_view(latin1)); }
    JsonWriter& value(bool flag) { return raw(flag ? "true" : "false"); }
    JsonWriter& value(std::integral auto number)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        return raw({digits, static_cast<std::size_t>(end - digits)});
    }
    // null for a value not known.
    template <class Value>
    JsonWriter& value(const std::optional<Value>& known)
    {
        return known ? value(*known) : null();
    }
    JsonWriter& null() { return raw("null"); }
    // A value its caller already wrote as JSON, such as a number in the
    // caller's own format.
    JsonWriter& raw(std::string_view json)
    {
        comma();
        out_.append(json);
        pending_ = true;
        return *this;
    }

    template <class Value>
    JsonWriter& member(std::string_view name, const Value& known)
    {
        return key(name).value(known);
    }

private:
    // A value follows another at the same depth: a container's first value
    // and a member's value follow an opening or a key, never a value.
    void comma()
    {
        if (pending_) out_.push_back(',');
    }
    void quoted(std::string_view latin1)
    {
        comma();
        out_.push_back('"');
        appendJsonString(out_, latin1);
        out_.push_back('"');
        pending_ = true;
    }
    JsonWriter& open(char bracket)
    {
        comma();
        out_.push_back(bracket);
        pending_ = false;
        return *this;
    }
    JsonWriter& close(char bracket)
    {
        out_.push_back(bracket);
        pending_ = true;
        return *this;
    }

    std::string& out_;
    bool pending_ = false;
};

}  // namespace veltrane
