// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_interpreter.h"

#include "sentence_types.h"

namespace veltrane {

namespace {

std::string identifierOf(std::string_view text)
{
    std::string id(text.substr(0, 5));
    for (char& c : id)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return id;
}

}  // namespace

void SentenceInterpreter::process(std::string& sentence)
{
    if (sentence.empty() || sentence.front() != '$' || sentence == "$") return;
    sentence.erase(0, 1);
    try {
        if (!interpret(sentence)) fields_.set(Field::IsGps, kNo);
    } catch (...) {
        fields_.set(Field::IsGps, kNo);
    }
}

bool SentenceInterpreter::interpret(std::string_view text)
{
    const SentenceType* type = findSentenceType(identifierOf(text));
    if (type && type->read && !type->read(SentencePieces(text), fields_)) return false;
    if (type && type->recognised) {
        fields_.set(Field::IsGps, kYes);
        log_.insertFirst(clock_.now(), text);
    }
    fields_.set(Field::Updated, formatTimestamp(clock_.now()));
    return true;
}

}  // namespace veltrane
